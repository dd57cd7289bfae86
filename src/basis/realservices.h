#pragma once

#include "basis/services.h"

#include <random>

// The services as the installed program uses them.

class RealMessageBoxes : public MessageBoxes {
public:
    QMessageBox::StandardButton zeige(QWidget *parent, const Meldung &meldung) override;
    // The box as zeige() shows it, not yet shown.
    static QMessageBox *baue(QWidget *parent, const Meldung &meldung);
};

class RealRandomNumbers : public RandomNumbers {
public:
    void seedFromClock() override;
    float next() override;

private:
    std::mt19937 m_engine{5489u};
};

class RealFileDialogs : public FileDialogs {
public:
    QString openFileName(QWidget *parent, const QString &directory, const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &directory, const QString &filter) override;
};

class RealUrlOpener : public UrlOpener {
public:
    bool open(const QUrl &url) override;
};

class RealPasswoerter : public Passwoerter {
public:
    std::optional<QString> frage(const QString &wofuer) override;
};

// The folder of the program file when it can be written; otherwise the
// per-user data folder, into which the installed default collection is
// copied once.
class RealAppDirectory : public AppDirectory {
public:
    RealAppDirectory();
    explicit RealAppDirectory(const QString &programDir);
    QString path() const override { return m_path; }

private:
    QString m_path;
};

// Installs all real services (they live until the program ends).
void installRealServices();
