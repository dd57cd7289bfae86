#pragma once

#include <QMessageBox>
#include <QString>

#include <optional>

class QUrl;
class QWidget;

// One modal message box as the program asks for it. Texts of several lines
// are joined with CR LF, as the program has always written them.
struct Meldung {
    QString titel;
    QString text;
    QMessageBox::StandardButtons knoepfe = QMessageBox::Ok;
    QMessageBox::StandardButton vorgabe = QMessageBox::NoButton;
    QMessageBox::Icon symbol = QMessageBox::NoIcon;
    // Above 1 the box is drawn that much larger, for a window enlarged on
    // a projector; it stays centred on its window.
    double massstab = 1.0;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box modally and returns the button that closed it.
    virtual QMessageBox::StandardButton zeige(QWidget *parent, const Meldung &meldung) = 0;
};

class RandomNumbers {
public:
    virtual ~RandomNumbers() = default;
    virtual void seedFromClock() = 0;
    // Uniform in [0, 1); never 1.
    virtual float next() = 0;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Returns the chosen file's full path, or an empty string when cancelled.
    virtual QString openFileName(QWidget *parent, const QString &directory, const QString &filter) = 0;
    // The name to save under, or an empty string when cancelled.
    virtual QString saveFileName(QWidget *, const QString &, const QString &) { return QString(); }
};

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool open(const QUrl &url) = 0;
};

class AppDirectory {
public:
    virtual ~AppDirectory() = default;
    // The folder that holds Kreidolin.ini, highscore.dtt and the default Fragen.mdb.
    virtual QString path() const = 0;
};

// Reads texts aloud in German for pupils who cannot read well yet. Starting
// an engine may take seconds; it happens out of sight, and what is to be said
// meanwhile is said once it is ready.
class Sprachausgabe {
public:
    virtual ~Sprachausgabe() = default;
    // False once it is known that nothing can be spoken; grund() then says why.
    virtual bool verfuegbar() = 0;
    virtual QString grund() const = 0;
    // Replaces whatever is being said.
    virtual void sage(const QString &text) = 0;
    virtual void stopp() = 0;
};

class Passwoerter {
public:
    virtual ~Passwoerter() = default;
    // Asks for the password of a server login (wofuer names user and
    // server); nothing when the user cancels.
    virtual std::optional<QString> frage(const QString &wofuer) = 0;
};

// The services every window uses. main() installs the real ones; tests and
// benchmarks install their own. The objects are not owned.
namespace Services {
MessageBoxes &messages();
RandomNumbers &random();
FileDialogs &fileDialogs();
UrlOpener &urls();
const AppDirectory &appDirectory();
int splashIntervalMs();
// Without one installed, a silent one that says why.
Sprachausgabe &sprache();
// May be missing (a companion tool, the benchmark): then nobody is asked.
Passwoerter *passwoerter();

void setMessages(MessageBoxes *service);
void setRandom(RandomNumbers *service);
void setFileDialogs(FileDialogs *service);
void setUrls(UrlOpener *service);
void setAppDirectory(AppDirectory *service);
void setSplashIntervalMs(int ms);
void setSprache(Sprachausgabe *service);
void setPasswoerter(Passwoerter *service);

// Shortcut for the common case of a box with an OK button only.
QMessageBox::StandardButton meldung(QWidget *parent, const QString &titel, const QString &text);
}
