#include "highscore/ablage.h"

#include "store/dateiersatz.h"
#include "store/server.h"
#include "store/settingsfile.h"

#include "basis/appinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSysInfo>
#include <QThread>
#include <QUrl>
#include <QUuid>

#include <unistd.h>

namespace {
constexpr int kSperrFrist = 10000;

// The settings line decides: a server address, or the file as always.
struct Ort {
    bool server = false;
    std::optional<ServerAdresse> adresse;
    QString grund;
};

Ort ort()
{
    Ort o;
    const std::optional<QString> zeile = SettingsFile::lies(AppInfo::einstellungsdatei());
    o.server = zeile && Serveradresse::istServer(*zeile);
    if (o.server)
        o.adresse = Serveradresse::zerlege(*zeile, &o.grund);
    return o;
}

StoreError ungueltig(const Ort &o)
{
    return StoreError(QStringLiteral("Die Serveradresse in der Einstellungsdatei ist ungültig: %1").arg(o.grund));
}

// One connection per thread: the benchmark's clients each hold their own.
QString verbindungsName()
{
    return QStringLiteral("kreidolin-highscore-%1").arg(reinterpret_cast<quintptr>(QThread::currentThread()), 0, 16);
}

// What became of a line sent: taken (or there already), refused for what it
// holds (inhalt: it will never be taken and must not block the lines after
// it), or not taken for another reason and worth sending again.
struct Versand {
    StoreError fehler;
    bool inhalt = false;
};

// The server's own check, made here first so that nothing it would refuse
// is sent: a NUL would even cut the statement the driver writes.
QString inhaltsFehler(const HighscoreAblage::Zeile &z)
{
    if (z.punkte < 0 || z.punkte > 15)
        return QStringLiteral("Die Punktzahl %1 liegt nicht zwischen 0 und 15.").arg(z.punkte);
    if (z.name.size() > HighscoreAblage::kNameLaenge)
        return QStringLiteral("Der Name ist länger als %1 Zeichen.").arg(HighscoreAblage::kNameLaenge);
    for (const QChar c : z.name) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() <= 0x9f))
            return QStringLiteral("Der Name enthält ein Steuerzeichen.");
    }
    return {};
}

Versand sende(const QString &verbindung, const ServerAdresse &a, const HighscoreAblage::Zeile &z)
{
    const QString was = QStringLiteral("Highscore-Einträge zu speichern");
    if (const QString grund = inhaltsFehler(z); !grund.isEmpty())
        return {StoreError(grund), true};
    QSqlQuery q;
    // The server takes each key once: sending again after a lost answer
    // enters nothing twice.
    const StoreError e = Server::fuehreAus(q, verbindung, a, QStringLiteral("SELECT highscore_eintragen(?, ?, ?)"),
                                           {z.schluessel, z.name, z.punkte}, was, true);
    if (q.lastError().nativeErrorCode() == QLatin1String("KR001"))
        return {StoreError(Server::grund(q.lastError())), true};
    return {e, false};
}

QString abgelehntPfad()
{
    return QFileInfo(AppInfo::highscoreAusgang()).dir().filePath(QStringLiteral("highscore-abgelehnt.dtt"));
}

StoreError sperrFehler(const QString &pfad)
{
    return StoreError(QStringLiteral("Die Datei %1 kann nicht beschrieben werden: ein anderes Programm hält sie "
                                     "gesperrt.").arg(pfad));
}

// Appended in place and synced: the line is the only copy of the entry.
StoreError legeAb(const QString &pfad, const QByteArray &zeile)
{
    QLockFile sperre(pfad + QStringLiteral(".lock"));
    sperre.setStaleLockTime(kSperrFrist / 2);
    if (!sperre.tryLock(kSperrFrist))
        return sperrFehler(pfad);
    QFile datei(pfad);
    // Only this program writes the file, and only under the lock: a last
    // line without its end is the rest of a write a crash broke off.
    if (!datei.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)
        || !Highscore::kuerzeAufZeilenende(datei) || datei.write(zeile + '\n') != zeile.size() + 1
        || ::fsync(datei.handle()) != 0)
        return StoreError(
            QStringLiteral("Die Datei %1 kann nicht beschrieben werden: %2").arg(pfad, datei.errorString()));
    return {};
}

StoreError legeAb(const HighscoreAblage::Zeile &z) { return legeAb(AppInfo::highscoreAusgang(), HighscoreAblage::kodiere(z)); }

// A line the list will never take is kept apart, with the reason, so that
// the outbox moves on and nothing is lost.
StoreError legeBeiseite(const QByteArray &zeile, const QString &grund)
{
    return legeAb(abgelehntPfad(), zeile + '\t' + QUrl::toPercentEncoding(grund));
}
}

namespace HighscoreAblage {
Zeile neueZeile(const QString &name, int punkte)
{
    return {QUuid::createUuid().toString(QUuid::WithoutBraces), name, punkte, QDateTime::currentDateTimeUtc(),
            QSysInfo::machineHostName()};
}

QByteArray kodiere(const Zeile &z)
{
    return z.schluessel.toLatin1() + '\t' + QByteArray::number(z.punkte) + '\t'
        + z.wann.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\t' + QUrl::toPercentEncoding(z.pc) + '\t'
        + QUrl::toPercentEncoding(z.name);
}

std::optional<Zeile> zerlege(const QByteArray &zeile)
{
    const QList<QByteArray> felder = zeile.split('\t');
    if (felder.size() != 5 || felder[1].isEmpty() || felder[1].size() > 9)
        return std::nullopt;
    for (const char c : felder[1]) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    const QUuid schluessel = QUuid::fromString(QLatin1String(felder[0]));
    const QDateTime wann = QDateTime::fromString(QString::fromLatin1(felder[2]), Qt::ISODateWithMs);
    if (schluessel.isNull() || !wann.isValid())
        return std::nullopt;
    return Zeile{schluessel.toString(QUuid::WithoutBraces), QUrl::fromPercentEncoding(felder[4]), felder[1].toInt(),
                 wann.toUTC(), QUrl::fromPercentEncoding(felder[3])};
}

int liefereAus(const QString &verbindung, const ServerAdresse &a, StoreError *fehler)
{
    const QString pfad = AppInfo::highscoreAusgang();
    if (!QFile::exists(pfad))
        return 0;
    QLockFile sperre(pfad + QStringLiteral(".lock"));
    sperre.setStaleLockTime(kSperrFrist / 2);
    QFile datei(pfad);
    if (!sperre.tryLock(kSperrFrist) || !datei.open(QIODevice::ReadOnly)) {
        if (fehler)
            *fehler = sperrFehler(pfad);
        return 0;
    }
    QByteArray rest;
    int gesendet = 0;
    bool halt = false;
    QByteArray alles = datei.readAll();
    alles.truncate(alles.lastIndexOf('\n') + 1); // a line broken off is no entry
    for (const QByteArray &z : alles.split('\n')) {
        if (z.isEmpty())
            continue;
        // A line that is no entry is kept, never thrown away; the others go
        // in order until the first the server does not take.
        const std::optional<Zeile> zeile = zerlege(z);
        Versand v;
        if (!halt && zeile && !(v = sende(verbindung, a, *zeile)).fehler) {
            ++gesendet;
            continue;
        }
        if (v.inhalt && !legeBeiseite(z, v.fehler.text())) {
            ++gesendet;
            continue;
        }
        if (v.fehler && fehler)
            *fehler = v.fehler;
        halt = halt || v.fehler;
        rest += z + '\n';
    }
    datei.close();
    // Should the PC go down before this, the lines go again next time, and
    // the server takes each key once.
    QString grund;
    if (gesendet > 0 && !(rest.isEmpty() ? QFile::remove(pfad) : DateiErsatz::ersetze(pfad, rest, &grund)) && fehler)
        *fehler = StoreError(QStringLiteral("Die Datei %1 kann nicht beschrieben werden: %2").arg(pfad, grund));
    return gesendet;
}

Highscore::Lesung lies(const ServerAdresse &a)
{
    Highscore::Lesung lesung;
    const QString name = verbindungsName();
    if ((lesung.fehler = Server::verbinde(name, a)))
        return lesung;
    liefereAus(name, a);
    QSqlQuery q;
    // No more lines than the list shows (one more tells it to empty), each
    // name cut on the server: a huge row in the table costs this PC nothing.
    if ((lesung.fehler = Server::fuehreAus(
             q, name, a,
             QStringLiteral("SELECT left(name, %1), punkte FROM highscore ORDER BY nr LIMIT %2")
                 .arg(kNameLaenge)
                 .arg(Highscore::kLeerGrenze + 1),
             {}, QStringLiteral("die Highscoreliste zu lesen"), true)))
        return lesung;
    while (q.next())
        lesung.eintraege.append({q.value(0).toString(), q.value(1).toInt()});
    if (q.lastError().isValid())
        lesung.fehler = Server::fehler(q.lastError(), a, QStringLiteral("die Highscoreliste zu lesen"));
    return lesung;
}

Ergebnis anhaengen(const ServerAdresse &a, const Zeile &zeile)
{
    const QString name = verbindungsName();
    Versand v;
    if (const QString grund = inhaltsFehler(zeile); !grund.isEmpty())
        v = {StoreError(grund), true};
    if (!v.inhalt)
        v.fehler = Server::verbinde(name, a);
    // What waits in the outbox goes first, so the list keeps the order of
    // the games.
    if (!v.inhalt && !v.fehler) {
        StoreError vorige;
        liefereAus(name, a, &vorige);
        v.fehler = vorige;
    }
    if (!v.inhalt && !v.fehler)
        v = sende(name, a, zeile);
    if (!v.fehler)
        return {};
    if (v.inhalt) {
        const QString text = QStringLiteral("Die Highscoreliste nimmt den Eintrag nicht an: ") + v.fehler.text();
        if (const StoreError ab = legeBeiseite(kodiere(zeile), v.fehler.text()))
            return {StoreError(text + QStringLiteral("\r\n") + ab.text()), {}};
        return {StoreError(text + QStringLiteral("\r\nEr wurde in der Datei %1 beiseitegelegt.").arg(abgelehntPfad())), {}};
    }
    // Any other refusal (no connection, a refused login, too many lines at
    // once) says nothing against the line: it waits on this PC.
    if (const StoreError ab = legeAb(zeile))
        return {StoreError(v.fehler.text() + QStringLiteral("\r\n") + ab.text()), {}};
    return {{}, v.fehler.text() + QStringLiteral("\r\nDer Eintrag wurde auf diesem PC aufbewahrt und wird in die "
                                                "Highscoreliste nachgetragen, sobald der Server ihn annimmt.")};
}

StoreError leere(const ServerAdresse &a)
{
    const QString name = verbindungsName();
    if (const StoreError e = Server::verbinde(name, a))
        return e;
    // The server empties only a list above the limit; a pupil's login may
    // so keep the rule, but not empty the list at will.
    QSqlQuery q;
    return Server::fuehreAus(q, name, a, QStringLiteral("SELECT highscore_leeren()"), {},
                             QStringLiteral("die Highscoreliste zu leeren"), true);
}

Highscore::Lesung lies()
{
    const Ort o = ort();
    if (!o.server)
        return Highscore::lies(AppInfo::highscoredatei());
    if (!o.adresse)
        return {{}, ungueltig(o)};
    return lies(*o.adresse);
}

Ergebnis anhaengen(const QString &name, int punkte)
{
    const Ort o = ort();
    if (!o.server)
        return {Highscore::anhaengen(AppInfo::highscoredatei(), name, punkte), {}};
    if (!o.adresse)
        return {ungueltig(o), {}};
    return anhaengen(*o.adresse, neueZeile(name, punkte));
}

StoreError leere()
{
    const Ort o = ort();
    if (!o.server)
        return Highscore::leere(AppInfo::highscoredatei());
    if (!o.adresse)
        return ungueltig(o);
    return leere(*o.adresse);
}

void schliesse()
{
    const QString name = verbindungsName();
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
}
}
