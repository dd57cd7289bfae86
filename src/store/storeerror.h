#pragma once

#include <QString>

// What a store operation reports to its caller: no error, or a text that
// says what went wrong. Storage never shows anything itself.
class StoreError {
public:
    StoreError() = default;
    explicit StoreError(QString text) : m_text(std::move(text)), m_error(true) {}

    bool isError() const { return m_error; }
    explicit operator bool() const { return m_error; }
    const QString &text() const { return m_text; }

private:
    QString m_text;
    bool m_error = false;
};
