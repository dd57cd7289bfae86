// The computer room: thirty PCs ending their games into one highscore list
// on a PostgreSQL server at the same moment, and a game's start from the
// server's largest collection.

#include "bench.h"
#include "buehne.h"
#include "pgcluster.h"

#include "highscore/ablage.h"
#include "store/fragenquelle.h"
#include "store/connection.h"
#include "store/recordset.h"

#include <QFile>
#include <QProcess>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {
using namespace Bench;

constexpr int kClients = 30;
constexpr int kEintraege = 100;

// The cluster of this run, with a password file for the pupil's login.
PgCluster &cluster(Kontext &k)
{
    static PgCluster pg(true);
    if (!pg.grund().isEmpty())
        qFatal("no PostgreSQL cluster: %s", qPrintable(pg.grund()));
    QFile pgpass(pg.pgpass());
    pgpass.open(QIODevice::WriteOnly | QIODevice::Truncate);
    pgpass.write("*:*:*:schueler:geheim\n");
    pgpass.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    Q_UNUSED(k);
    return pg;
}

void fragen(PgCluster &pg, int n)
{
    // Texts as long as the shipped ones, spread evenly over the levels.
    // Thirty PCs behind one address here: the flood limit is the room's, lifted as README says for NAT.
    if (!pg.psql(QStringLiteral("TRUNCATE fragen RESTART IDENTITY; TRUNCATE highscore;"
                                "UPDATE highscore_regel SET je_minute = 1000000;"
                                "INSERT INTO fragen (\"Frage\",\"Loesung\",\"Antwort1\",\"Antwort2\",\"Stufe\") "
                                "SELECT 'Frage ' || i || repeat(' mit einem Text von sechzig Zeichen', 1), "
                                "'Lösung ' || i, 'Falsch ' || i, 'Anders ' || i, 1 + i % 15 "
                                "FROM generate_series(1, %1) i").arg(n)))
        qFatal("the questions could not be written");
}

int spielStart(const QString &adresse)
{
    Recordset rs;
    if (Fragenquelle::oeffne(rs, adresse, Fragenquelle::Zugriff::Spielen) || rs.moveFirst())
        return -1;
    return rs.recordCount();
}

Ergebnis anhaengen(Kontext &k)
{
    PgCluster &pg = cluster(k);
    fragen(pg, 15);
    Buehne buehne(k.ordner() + QStringLiteral("/server"));
    const ServerAdresse adresse = *Serveradresse::zerlege(pg.adresse(QStringLiteral("schueler")));
    std::mutex m;
    std::condition_variable los;
    int bereit = 0;
    std::vector<std::vector<double>> zeiten(kClients);
    std::vector<std::thread> clients;
    int fehler = 0;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            // Each client plays first: its own connection, the questions read.
            const bool gespielt = spielStart(Serveradresse::text(adresse)) == 15;
            {
                std::unique_lock<std::mutex> lock(m);
                fehler += gespielt ? 0 : 1;
                if (++bereit == kClients)
                    los.notify_all();
                los.wait(lock, [&] { return bereit == kClients; });
            }
            for (int i = 0; i < kEintraege; ++i) {
                const HighscoreAblage::Zeile z =
                    HighscoreAblage::neueZeile(QStringLiteral("PC%1 Spiel %2").arg(c).arg(i), i % 16);
                const double start = jetztMs();
                const HighscoreAblage::Ergebnis e = HighscoreAblage::anhaengen(adresse, z);
                zeiten[c].push_back(jetztMs() - start);
                if (e.fehler || !e.hinweis.isEmpty()) {
                    std::lock_guard<std::mutex> lock(m);
                    ++fehler;
                }
            }
            HighscoreAblage::schliesse();
        });
    }
    for (std::thread &t : clients)
        t.join();
    QVector<double> alle;
    for (const auto &z : zeiten)
        alle += QVector<double>(z.begin(), z.end());
    std::sort(alle.begin(), alle.end());
    QString zaehlung;
    pg.psql(QStringLiteral("SELECT count(*), count(DISTINCT name) FROM highscore"), &zaehlung);
    const QStringList z = zaehlung.split(QLatin1Char('|'));
    Ergebnis e;
    e.wert = median(alle);
    e.weitere.push_back({QStringLiteral("  99th percentile of one append"), {alle[alle.size() * 99 / 100], 0}});
    e.weitere.push_back({QStringLiteral("  lines arrived of 3,000 (each once; errors %1)").arg(fehler),
                         {z.value(1).toDouble(), 0, QStringLiteral("lines")}});
    if (fehler || z.value(0) != QLatin1String("3000") || z.value(1) != QLatin1String("3000"))
        qWarning("highscore lines lost or doubled: %s, %d errors", qPrintable(zaehlung), fehler);
    return e;
}

Ergebnis laden(Kontext &k)
{
    PgCluster &pg = cluster(k);
    fragen(pg, Recordset::kMaxRows);
    const QString adresse = pg.adresse(QStringLiteral("schueler"));
    Ergebnis e;
    e.zielFaktor = 2;
    imWechsel(9, e, [&] { return dauer([&] {
                              if (spielStart(adresse) != Recordset::kMaxRows)
                                  qFatal("the game did not start from the server");
                          }); },
              [&] { return dauer([&] {
                        QProcess p;
                        p.setStandardOutputFile(QProcess::nullDevice());
                        p.start(pg.psqlProgramm(), {QStringLiteral("-XAt"), QStringLiteral("-h"),
                                                    QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                                                    QString::number(pg.port()), QStringLiteral("-U"),
                                                    QStringLiteral("schueler"), QStringLiteral("-d"),
                                                    QStringLiteral("kreidolin"), QStringLiteral("-c"),
                                                    QStringLiteral("SELECT * FROM fragen")});
                        if (!p.waitForFinished() || p.exitCode() != 0)
                            qFatal("psql could not read the questions");
                    }); });
    return e;
}

const Anmeldung a1(QStringLiteral("server: 30 clients append 100 highscore lines each at once, one append"), anhaengen);
const Anmeldung a2(QStringLiteral("server: game start, its 32,767 questions read (floor: psql reads them)"), laden);
}
