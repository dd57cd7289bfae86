#include "store/jetleser.h"

#include "store/connection.h"
#include "store/jetformat.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define KREIDOLIN_MIT_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KREIDOLIN_MIT_ASAN 1
#endif
#endif

namespace JetLeser {

namespace {
QString g_programm;
int g_zeitlimit = 20000;
qint64 g_speicher = qint64(1) << 30;

// More than any question table yields (32,767 rows of four full texts are
// about 100 MB at worst); a child that sends more is not reading a table.
constexpr qint64 kMaxAusgabe = qint64(256) << 20;

void begrenze(int resource, rlim_t wert)
{
    const rlimit r{wert, wert};
    setrlimit(resource, &r);
}

StoreError lesefehler(const QString &pfad, const QString &grund)
{
    return StoreError(QStringLiteral("Die Access-Datei %1 kann nicht gelesen werden: %2").arg(pfad, grund));
}
}

void setProgramm(const QString &pfad)
{
    g_programm = pfad;
}

QString programm()
{
    if (!g_programm.isEmpty())
        return g_programm;
    const QString dir = QCoreApplication::applicationDirPath();
    const QString daneben = dir + QStringLiteral("/kreidolin-mdb");
    const QString installiert =
        QDir::cleanPath(dir + QStringLiteral("/../libexec/kreidolin/kreidolin-mdb"));
    if (!QFileInfo(daneben).isExecutable() && QFileInfo(installiert).isExecutable())
        return installiert;
    return daneben;
}

void setZeitlimit(int ms)
{
    g_zeitlimit = ms;
}

int zeitlimit()
{
    return g_zeitlimit;
}

void setSpeicherlimit(qint64 bytes)
{
    g_speicher = bytes;
}

StoreError lies(const QString &pfad, const QString &tabelle, TableData &out, qint64 maxRows)
{
    out = TableData();
    const QString kind = programm();
    if (!QFileInfo(kind).isExecutable())
        return StoreError(QStringLiteral("Das Leseprogramm für Access-Dateien fehlt: %1").arg(kind));

    QProcess p;
    p.setProgram(kind);
    p.setArguments({QFileInfo(pfad).absoluteFilePath(), tabelle, QString::number(qMax<qint64>(maxRows, 0))});
    // libmdb writes a warning per damaged page: without bound, so unread.
    p.setStandardErrorFile(QProcess::nullDevice());
    p.setStandardInputFile(QProcess::nullDevice());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // These would switch libmdb's debugging on or its texts away from UTF-8.
    env.remove(QStringLiteral("MDBOPTS"));
    env.remove(QStringLiteral("MDBICONV"));
    p.setProcessEnvironment(env);
    const rlim_t cpu = static_cast<rlim_t>(g_zeitlimit / 1000 + 1);
    const rlim_t speicher = static_cast<rlim_t>(g_speicher);
    p.setChildProcessModifier([cpu, speicher] {
#ifndef KREIDOLIN_MIT_ASAN
        begrenze(RLIMIT_AS, speicher);
#else
        // AddressSanitizer reserves terabytes of address space for itself;
        // a sanitized reader could not even start under the limit.
        Q_UNUSED(speicher)
#endif
        begrenze(RLIMIT_CPU, cpu);
        begrenze(RLIMIT_CORE, 0);
        // The child only reads; it has no business writing any file.
        begrenze(RLIMIT_FSIZE, 0);
    });

    QDeadlineTimer frist(g_zeitlimit);
    p.start(QIODevice::ReadOnly);
    if (!p.waitForStarted(qMax<qint64>(frist.remainingTime(), 1)))
        return StoreError(QStringLiteral("Das Leseprogramm für Access-Dateien (%1) kann nicht gestartet werden: %2")
                              .arg(kind, p.errorString()));

    QByteArray daten;
    bool zuViel = false;
    while (p.state() != QProcess::NotRunning && !frist.hasExpired()) {
        p.waitForReadyRead(qMax<qint64>(frist.remainingTime(), 1));
        daten += p.readAllStandardOutput();
        if (daten.size() > kMaxAusgabe) {
            zuViel = true;
            break;
        }
    }
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(5000);
        if (zuViel)
            return lesefehler(pfad, QStringLiteral("sie liefert mehr Daten, als das Programm halten kann."));
        return lesefehler(pfad, QStringLiteral("das Lesen dauerte länger als %1 Sekunden und wurde abgebrochen.")
                                    .arg(g_zeitlimit / 1000.0));
    }
    daten += p.readAllStandardOutput();
    if (daten.size() > kMaxAusgabe)
        return lesefehler(pfad, QStringLiteral("sie liefert mehr Daten, als das Programm halten kann."));
    if (p.exitStatus() != QProcess::NormalExit)
        return lesefehler(pfad, QStringLiteral("die Datei ist beschädigt, das Lesen brach ab."));

    TableData gelesen;
    const JetFormat::Ergebnis e = JetFormat::lies(daten, gelesen, maxRows);
    if (p.exitCode() == 0 && e.vollstaendig) {
        out = std::move(gelesen);
        return {};
    }
    if (p.exitCode() != 1 || !e.gescheitert) {
        const QString grund = !e.formfehler.isEmpty()
            ? e.formfehler
            : QStringLiteral("das Leseprogramm endete mit dem Code %1.").arg(p.exitCode());
        return lesefehler(pfad, grund);
    }
    switch (e.code) {
    case JetFormat::Fehler::NichtLesbar:
        return StoreError(QStringLiteral("Die Datei %1 ist keine Fragendatenbank. %2").arg(pfad, e.meldung));
    case JetFormat::Fehler::KeineTabelle:
        return StoreError(QStringLiteral("Die Datenbank %1 enthält keine Tabelle %2.").arg(pfad, tabelle));
    case JetFormat::Fehler::ZuVieleZeilen:
        return StoreError(QStringLiteral("Die Tabelle %1 hat mehr als %2 Zeilen.").arg(tabelle).arg(maxRows));
    default:
        return lesefehler(pfad, e.meldung);
    }
}

}
