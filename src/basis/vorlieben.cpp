#include "basis/vorlieben.h"

#include <QSettings>
#include <QStandardPaths>

namespace {
QString g_datei;

bool lies(const char *schluessel)
{
    return QSettings(Vorlieben::datei(), QSettings::IniFormat).value(QLatin1String(schluessel), false).toBool();
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

QString datei()
{
    if (g_datei.isEmpty())
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QLatin1String("/Kreidolin/klassenzimmer.ini");
    return g_datei;
}

void setDatei(const QString &pfad) { g_datei = pfad; }
}
