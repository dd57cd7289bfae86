// Feeds bytes as a question collection to the program's real Access path:
// told as an Access file by its first bytes, read by the child process
// kreidolin-mdb under its time and resource limits, its stream parsed here.
// Whatever the file, the program gets a table or a reason, in time; a crash
// or a stall of the child is only ever an error. (libmdb runs in the child,
// outside the fuzzer's view: this is a survival test more than a guided one.)

#include "pruefe.h"
#include "store/connection.h"
#include "store/jetleser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <memory>

namespace {
// Lives until the process ends: destroyed among the exit handlers it would
// outlive parts of Qt it needs.
QCoreApplication *g_app = nullptr;
int g_argc = 0;
std::unique_ptr<QTemporaryDir> g_ordner;
constexpr int kZeitlimit = 3000;
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    g_argc = *argc;
    g_app = new QCoreApplication(g_argc, *argv);
    g_ordner = std::make_unique<QTemporaryDir>();
    JetLeser::setProgramm(QStringLiteral(KREIDOLIN_MDB_PROGRAMM));
    JetLeser::setZeitlimit(kZeitlimit);
    return 0;
}

namespace {
QByteArray liesVorlage(const char *name)
{
    QFile f(QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/") + QLatin1String(name));
    pruefe(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

// The file the input stands for. Byte 0 chooses: 0 takes the rest as the
// file itself; 1 to 3 take a genuine collection and change it as the rest
// says: a length to cut it to (u32, 0 keeps it whole), then any number of
// patches (u32 offset, u8 count, the bytes). A short input can so damage
// any page of a file much larger than itself.
QByteArray datei(const QByteArray &roh)
{
    static const QByteArray vorlagen[] = {liesVorlage("fragen_jet4.mdb"), liesVorlage("fragen_jet4_v2003.mdb"),
                                          liesVorlage("fragen_jet4_fivecols.mdb")};
    if (roh.isEmpty())
        return vorlagen[0];
    const int art = static_cast<quint8>(roh.at(0)) % 4;
    if (art == 0)
        return roh.mid(1);
    QByteArray d = vorlagen[art - 1];
    qsizetype i = 1;
    if (roh.size() >= i + 4) {
        const quint32 laenge = qFromLittleEndian<quint32>(roh.constData() + i) % static_cast<quint32>(d.size() + 1);
        if (laenge > 0)
            d.truncate(laenge);
        i += 4;
    }
    while (roh.size() >= i + 5 && !d.isEmpty()) {
        const qsizetype ort = qFromLittleEndian<quint32>(roh.constData() + i) % static_cast<quint32>(d.size());
        const int anzahl = static_cast<quint8>(roh.at(i + 4));
        i += 5;
        const QByteArray teil = roh.mid(i, anzahl);
        i += teil.size();
        d.replace(ort, qMin<qsizetype>(teil.size(), d.size() - ort), teil.left(d.size() - ort));
    }
    return d;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t laenge)
{
    // Only what the program takes for an Access file reaches the reader.
    static const QByteArray kopf = QByteArray("\x00\x01\x00\x00Standard Jet DB\x00\x01", 21);
    QByteArray bytes = datei(eingabe(daten, laenge));
    if (bytes.size() < kopf.size())
        bytes = kopf;
    else
        bytes.replace(0, kopf.size(), kopf);
    const QString pfad = g_ordner->filePath(QStringLiteral("Fragen.mdb"));
    {
        QFile f(pfad);
        pruefe(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
    }
    Connection c;
    c.setConnectionString(Connection::connectionStringFor(pfad));
    pruefe(!c.open() && c.kind() == Connection::Kind::Jet);
    QDeadlineTimer frist(kZeitlimit + 5000);
    TableData t;
    const StoreError e = c.readTable(QStringLiteral("fragen"), t, 32767);
    pruefe(!frist.hasExpired());
    if (e)
        pruefe(!e.text().isEmpty() && t.rows.isEmpty());
    else
        pruefe(t.rows.size() <= 32767 && !t.writable);
    for (const TableRow &r : std::as_const(t.rows))
        pruefe(r.values.size() == t.columns.size());
    return 0;
}
