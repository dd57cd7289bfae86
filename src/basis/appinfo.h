#pragma once

#include <QString>

// Title and version of the program.
namespace AppInfo {
inline const QString &titel()
{
    static const QString t = QStringLiteral("Kreidolin");
    return t;
}
constexpr int kMajor = KREIDOLIN_VERSION_MAJOR;
constexpr int kMinor = KREIDOLIN_VERSION_MINOR;
constexpr int kRevision = KREIDOLIN_VERSION_PATCH;

// "Version 1.0.0"
QString versionszeile(int major = kMajor, int minor = kMinor, int revision = kRevision);

// The files the program keeps in its application directory.
QString anwendungsverzeichnis();
QString einstellungsdatei();
QString highscoredatei();
// Highscore lines a server could not take yet, for the next connection.
QString highscoreAusgang();
QString standardDatenbank();

// Message box titles.
inline QString spielMeldungTitel() { return QStringLiteral("Kreidolin-Message"); }
}
