// Builds the default question collection Fragen.mdb from its reviewable text
// source data/fragen.tsv (UTF-8, one question per line:
// Stufe, Fach, Frage, Loesung, Antwort1, Antwort2, separated by tabs).

#include "austausch/pruefung.h"
#include "store/fragentabelle.h"
#include "store/questionfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSet>
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
    // The collection pupils meet first is held to the rules of the collection
    // check, and to a few more: no padded field, no set of answers twice, at
    // least 40 questions on every level, no subject above a quarter of one.
    Austausch::Tabelle tabelle;
    QHash<QString, int> anzahl; // per level, and per level and subject
    QSet<QStringList> antwortsaetze;
    const auto fehler = [&](int n, const QString &text) {
        std::fprintf(stderr, "%s:%d: %s\n", argv[1], n, qPrintable(text));
        return 1;
    };
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = QString(lines[n]).remove(QLatin1Char('\r'));
        if (n == 0 || line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        const int stufe = Fragentabelle::stufe(f.value(0));
        if (f.size() != 6 || !stufe)
            return fehler(n + 1, QStringLiteral("expected a level %1-%2 and six tab-separated fields")
                                     .arg(Fragentabelle::kErsteStufe)
                                     .arg(Fragentabelle::kLetzteStufe));
        for (const QString &feld : f.mid(2)) {
            if (feld != feld.trimmed())
                return fehler(n + 1, QStringLiteral("a field begins or ends with blanks"));
        }
        QStringList antworten{f[3].toLower(), f[4].toLower(), f[5].toLower()};
        antworten.sort();
        antworten.removeDuplicates();
        if (antworten.size() != 3 || antwortsaetze.contains(antworten))
            return fehler(n + 1, QStringLiteral("two answers alike, or the same three answers as another question"));
        antwortsaetze.insert(antworten);
        ++anzahl[QString::number(stufe)];
        ++anzahl[QString::number(stufe) + QLatin1Char('\t') + f[1]];
        tabelle << QStringList{f[2], f[3], f[4], f[5], QString::number(stufe)};
        rows.append({f[2], f[3], f[4], f[5], stufe, QVariant()});
    }
    if (const Pruefung::Ergebnis e = Pruefung::pruefe(tabelle); !e.befunde.isEmpty())
        return fehler(0, e.bericht());
    for (auto it = anzahl.cbegin(); it != anzahl.cend(); ++it) {
        const QString stufe = it.key().section(QLatin1Char('\t'), 0, 0);
        if (it.key() == stufe ? it.value() < 40 : it.value() * 4 > anzahl.value(stufe))
            return fehler(0, QStringLiteral("level or subject out of balance: ") + it.key());
    }
    if (const StoreError e = QuestionFile::erzeuge(QString::fromLocal8Bit(argv[2]), rows)) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    std::printf("%lld questions written to %s\n", static_cast<long long>(rows.size()), argv[2]);
    return 0;
}
