// Builds the default question collection Fragen.mdb from its reviewable text
// source data/fragen.tsv (UTF-8, one question per line:
// Stufe, Fach, Frage, Loesung, Antwort1, Antwort2, separated by tabs).

#include "store/questionfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: kreidolin_mkfragen fragen.tsv Fragen.mdb\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(source.errorString()));
        return 1;
    }
    const QStringList lines = QString::fromUtf8(source.readAll()).split(QLatin1Char('\n'));
    QVector<FrageZeile> rows;
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = QString(lines[n]).remove(QLatin1Char('\r'));
        if (n == 0 || line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        bool ok = false;
        const int stufe = f.value(0).toInt(&ok);
        if (f.size() != 6 || !ok || stufe < 1 || stufe > 15) {
            std::fprintf(stderr, "%s:%d: expected Stufe 1-15 and six tab-separated fields\n", argv[1], n + 1);
            return 1;
        }
        rows.append({f[2], f[3], f[4], f[5], stufe, QVariant()});
    }
    if (const StoreError e = QuestionFile::erzeuge(QString::fromLocal8Bit(argv[2]), rows)) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    std::printf("%lld questions written to %s\n", static_cast<long long>(rows.size()), argv[2]);
    return 0;
}
