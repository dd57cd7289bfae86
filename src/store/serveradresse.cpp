#include "store/serveradresse.h"

#include <QRegularExpression>
#include <QUrl>

namespace {
const QString kSchema = QStringLiteral("postgresql://");
const QString kSchemaKurz = QStringLiteral("postgres://");

QString dekodiere(const QString &teil) { return QUrl::fromPercentEncoding(teil.toUtf8()); }

QString kodiere(const QString &teil) { return QString::fromLatin1(QUrl::toPercentEncoding(teil)); }

// Control characters have no place in a name, and a line end would cut the
// settings line in two.
bool sauber(const QString &teil)
{
    for (const QChar c : teil) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

std::optional<ServerAdresse> nein(QString *grund, const QString &text)
{
    if (grund)
        *grund = text;
    return std::nullopt;
}
}

namespace Serveradresse {
bool istServer(const QString &zeile)
{
    return zeile.startsWith(kSchema, Qt::CaseInsensitive) || zeile.startsWith(kSchemaKurz, Qt::CaseInsensitive);
}

std::optional<ServerAdresse> zerlege(const QString &zeile, QString *grund)
{
    if (!istServer(zeile))
        return nein(grund, QStringLiteral("Die Adresse beginnt nicht mit \"postgresql://\"."));
    const QString rest = zeile.mid(zeile.indexOf(QLatin1String("://")) + 3);
    const qsizetype schraeg = rest.indexOf(QLatin1Char('/'));
    if (schraeg < 0)
        return nein(grund, QStringLiteral("In der Adresse fehlt der Name der Datenbank."));
    QString anmeldung = rest.left(schraeg);
    const QString pfad = rest.mid(schraeg + 1);

    ServerAdresse a;
    const qsizetype at = anmeldung.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QString benutzer = anmeldung.left(at);
        if (benutzer.contains(QLatin1Char(':')))
            return nein(grund, QStringLiteral("Ein Passwort gehört nicht in die Einstellungsdatei."));
        a.benutzer = dekodiere(benutzer);
        anmeldung = anmeldung.mid(at + 1);
    }
    QString portText;
    if (anmeldung.startsWith(QLatin1Char('['))) {
        const qsizetype zu = anmeldung.indexOf(QLatin1Char(']'));
        if (zu < 0)
            return nein(grund, QStringLiteral("In der Adresse fehlt die schließende Klammer \"]\"."));
        a.host = anmeldung.mid(1, zu - 1);
        const QString danach = anmeldung.mid(zu + 1);
        if (!danach.isEmpty() && !danach.startsWith(QLatin1Char(':')))
            return nein(grund, QStringLiteral("Hinter \"]\" darf nur \":\" und die Portnummer stehen."));
        portText = danach.mid(1);
        if (danach.isEmpty())
            portText.clear();
        else if (portText.isEmpty())
            return nein(grund, QStringLiteral("Die Portnummer fehlt."));
    } else {
        const qsizetype doppel = anmeldung.lastIndexOf(QLatin1Char(':'));
        a.host = dekodiere(doppel >= 0 ? anmeldung.left(doppel) : anmeldung);
        if (doppel >= 0) {
            portText = anmeldung.mid(doppel + 1);
            if (portText.isEmpty())
                return nein(grund, QStringLiteral("Die Portnummer fehlt."));
        }
    }
    if (a.host.isEmpty())
        return nein(grund, QStringLiteral("In der Adresse fehlt der Server."));
    if (!portText.isEmpty()) {
        bool zahl = portText.size() <= 5;
        for (const QChar c : portText)
            zahl = zahl && c.isDigit() && c.unicode() < 0x80;
        const int port = zahl ? portText.toInt() : 0;
        if (port < 1 || port > 65535)
            return nein(grund, QStringLiteral("Die Portnummer \"%1\" ist keine Zahl von 1 bis 65535.").arg(portText));
        a.port = port;
    }

    const qsizetype frage = pfad.indexOf(QLatin1Char('?'));
    a.datenbank = dekodiere(frage >= 0 ? pfad.left(frage) : pfad);
    if (a.datenbank.isEmpty())
        return nein(grund, QStringLiteral("In der Adresse fehlt der Name der Datenbank."));
    if (frage >= 0) {
        for (const QString &angabe : pfad.mid(frage + 1).split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
            const qsizetype gleich = angabe.indexOf(QLatin1Char('='));
            const QString name = dekodiere(angabe.left(gleich)).toLower();
            if (name == QLatin1String("password"))
                return nein(grund, QStringLiteral("Ein Passwort gehört nicht in die Einstellungsdatei."));
            if (name != QLatin1String("user") || gleich < 0)
                return nein(grund, QStringLiteral("Die Angabe \"%1\" in der Adresse ist unbekannt; "
                                                  "erlaubt ist nur \"user=\".").arg(angabe));
            a.benutzer = dekodiere(angabe.mid(gleich + 1));
        }
    }
    if (!sauber(a.host) || !sauber(a.datenbank) || !sauber(a.benutzer))
        return nein(grund, QStringLiteral("Die Adresse enthält Steuerzeichen."));
    return a;
}

QString text(const ServerAdresse &a)
{
    // An IPv6 address goes in brackets; a folder (a local socket) and every
    // other character a URI reserves, percent-encoded.
    static const QRegularExpression ipv6(QStringLiteral("^[0-9A-Fa-f.]*:[0-9A-Fa-f:.]*$"));
    const QString host = ipv6.match(a.host).hasMatch() ? QLatin1Char('[') + a.host + QLatin1Char(']')
                                                        : kodiere(a.host);
    QString zeile =
        kSchema + host + QLatin1Char(':') + QString::number(a.port) + QLatin1Char('/') + kodiere(a.datenbank);
    if (!a.benutzer.isEmpty())
        zeile += QStringLiteral("?user=") + kodiere(a.benutzer);
    return zeile;
}

QString kurz(const ServerAdresse &a)
{
    return QStringLiteral("%1:%2/%3").arg(a.host).arg(a.port).arg(a.datenbank);
}
}
