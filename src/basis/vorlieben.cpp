#include "basis/vorlieben.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
QString g_datei;

bool lies(const char *schluessel)
{
    return QSettings(Vorlieben::datei(), QSettings::IniFormat).value(QLatin1String(schluessel), false).toBool();
}

int zahl(const char *schluessel, int vorgabe, int kleinste, int groesste)
{
    bool ok = false;
    const int wert = QSettings(Vorlieben::datei(), QSettings::IniFormat)
                         .value(QLatin1String(schluessel), vorgabe)
                         .toInt(&ok);
    return ok && wert >= kleinste && wert <= groesste ? wert : vorgabe;
}

void schreibe(const char *schluessel, bool an)
{
    QSettings(Vorlieben::datei(), QSettings::IniFormat).setValue(QLatin1String(schluessel), an);
}
}

namespace Vorlieben {
bool projektor() { return lies("Projektor"); }
void setzeProjektor(bool an) { schreibe("Projektor", an); }
bool vorlesen() { return lies("Vorlesen"); }
void setzeVorlesen(bool an) { schreibe("Vorlesen", an); }
int klassePort() { return zahl("Klasse/Port", 8080, 0, 65535); }
QString klasseAdresse()
{
    return QSettings(datei(), QSettings::IniFormat).value(QStringLiteral("Klasse/Adresse")).toString().trimmed();
}
int klasseSekunden() { return zahl("Klasse/Sekunden", 20, 5, 600); }
int klasseGeraete() { return zahl("Klasse/Geraete", 60, 1, 1000); }

QString datei()
{
    if (g_datei.isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QLatin1String("/Kreidolin/klassenzimmer.ini");
    return g_datei;
}

void setDatei(const QString &pfad) { g_datei = pfad; }
}
