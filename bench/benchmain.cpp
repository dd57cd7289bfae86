// Kreidolin's benchmark: times what a pupil or teacher waits for, next to the
// floors measured in the same run, and prints a table of medians.
//
//   build/bench/kreidolin_bench [filter]
//
// The floors: a bare Qt window (the toolkit), the sqlite3 program reading the
// same table (the storage), mdb-export for Access files. The ratio to the
// floor is the figure to watch: the machine's load moves both alike.

#include "bench.h"
#include "kind.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Rows of one kind stand together, in the order a user meets them.
int gruppe(const QString &name)
{
    static const QStringList reihe = {QStringLiteral("start:"),  QStringLiteral("main window:"),
                                      QStringLiteral("highscore:"), QStringLiteral("game:"),
                                      QStringLiteral("editor:"), QStringLiteral("memory:"),
                                      QStringLiteral("store:"),  QStringLiteral("jet:"),
                                      QStringLiteral("server:")};
    for (int i = 0; i < reihe.size(); ++i) {
        if (name.startsWith(reihe[i]))
            return i;
    }
    return static_cast<int>(reihe.size());
}

QString zahl(double wert, const QString &einheit)
{
    return QString::number(wert, 'f', wert >= 100 ? 1 : 3) + QLatin1Char(' ') + einheit;
}

// The offscreen platform's notes (no raise(), no runtime folder) would drown
// the table; real warnings still come through.
void meldungen(QtMsgType typ, const QMessageLogContext &kontext, const QString &text)
{
    if (typ == QtDebugMsg || typ == QtInfoMsg || text.contains(QLatin1String("does not support raise"))
        || text.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(typ, kontext, text)));
    if (typ == QtFatalMsg)
        std::abort();
}

void druckeZeile(const QString &name, const Bench::Ergebnis &e)
{
    QString boden, verhaeltnis, ziel, urteil;
    if (e.boden > 0) {
        boden = zahl(e.boden, e.einheit);
        verhaeltnis = QString::number(e.wert / e.boden, 'f', 2) + QLatin1Char('x');
    }
    if (e.zielFaktor > 0 && e.boden > 0) {
        ziel = QStringLiteral("<= %1x").arg(e.zielFaktor, 0, 'f', 1);
        urteil = e.wert <= e.zielFaktor * e.boden ? QStringLiteral("met") : QStringLiteral("MISSED");
    } else if (e.zielWert > 0) {
        ziel = QStringLiteral("< %1").arg(zahl(e.zielWert, e.einheit));
        urteil = e.wert < e.zielWert ? QStringLiteral("met") : QStringLiteral("MISSED");
    }
    std::printf("%-78s %13s %13s %8s %12s %6s\n", qPrintable(name), qPrintable(zahl(e.wert, e.einheit)),
                qPrintable(boden), qPrintable(verhaeltnis), qPrintable(ziel), qPrintable(urteil));
}
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(meldungen);
    if (argc > 1 && std::strcmp(argv[1], "--child") == 0)
        return Bench::kindLauf(argc, argv);

    QApplication app(argc, argv);
    const QString filter = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QVector<Bench::Fall> faelle = Bench::alle();
    std::stable_sort(faelle.begin(), faelle.end(),
                     [](const Bench::Fall &a, const Bench::Fall &b) { return gruppe(a.name) < gruppe(b.name); });

    QTemporaryDir dir;
    Bench::Kontext kontext(dir.path());
    std::printf("%-78s %13s %13s %8s %12s %6s\n", "measurement (medians)", "figure", "floor", "ratio", "target",
                "");
    for (const Bench::Fall &fall : faelle) {
        if (!filter.isEmpty() && !fall.name.contains(filter))
            continue;
        const Bench::Ergebnis e = fall.messen(kontext);
        druckeZeile(fall.name, e);
        for (const Bench::Zeile &z : e.weitere)
            druckeZeile(QStringLiteral("  ") + z.name, z.ergebnis);
        std::fflush(stdout);
    }
    return 0;
}
