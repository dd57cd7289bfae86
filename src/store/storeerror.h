#pragma once

#include <QString>

// What a store operation reports to its caller: no error, or a text that
// says what went wrong. Storage never shows anything itself.
class StoreError {
public:
    // What the caller may do about it: a server that cannot be reached may be
    // tried again later; a row another user changed meanwhile is read anew.
    enum class Art { Allgemein, Verbindung, Konflikt };

    StoreError() = default;
    explicit StoreError(QString text, Art art = Art::Allgemein) : m_text(std::move(text)), m_error(true), m_art(art) {}

    bool isError() const { return m_error; }
    explicit operator bool() const { return m_error; }
    const QString &text() const { return m_text; }
    Art art() const { return m_art; }

private:
    QString m_text;
    bool m_error = false;
    Art m_art = Art::Allgemein;
};
