// Kreidolin's benchmark: times what a pupil or teacher waits for, next to the
// floors measured in the same run, and prints a table of medians.
//
//   build/bench/kreidolin_bench [filter]

#include "bench.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString filter = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QTemporaryDir dir;
    Bench::Kontext kontext(dir.path());
    std::printf("%-58s %12s %12s %8s\n", "measurement", "median", "floor", "ratio");
    for (const Bench::Fall &fall : Bench::alle()) {
        if (!filter.isEmpty() && !fall.name.contains(filter))
            continue;
        const Bench::Ergebnis e = fall.messen(kontext);
        if (e.boden > 0)
            std::printf("%-58s %10.3f %s %10.3f %s %7.2fx\n", qPrintable(fall.name), e.wert, qPrintable(e.einheit),
                        e.boden, qPrintable(e.einheit), e.wert / e.boden);
        else
            std::printf("%-58s %10.3f %s %12s %8s\n", qPrintable(fall.name), e.wert, qPrintable(e.einheit), "", "");
        std::fflush(stdout);
    }
    return 0;
}
