#include "basis/appinfo.h"

#include "basis/services.h"

namespace AppInfo {
QString versionszeile(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString anwendungsverzeichnis() { return Services::appDirectory().path(); }
QString einstellungsdatei() { return anwendungsverzeichnis() + QLatin1String("/Kreidolin.ini"); }
QString highscoredatei() { return anwendungsverzeichnis() + QLatin1String("/highscore.dtt"); }
QString highscoreAusgang() { return anwendungsverzeichnis() + QLatin1String("/highscore-ausgang.dtt"); }
QString standardDatenbank() { return anwendungsverzeichnis() + QLatin1String("/Fragen.mdb"); }
}
