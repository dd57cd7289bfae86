// The default question collection: its source data/fragen.tsv (with the
// subject of each question) and the Fragen.mdb the build made of it.

#include "testservices.h"

#include <QHash>
#include <QSet>

class TestFragensammlung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // At least 40 questions on every level, no subject above a quarter of it, every line in the built file;
    // no field empty or padded, no question twice, three different answers, no answer set twice.
    void sammlung();
};

void TestFragensammlung::sammlung()
{
    QFile quelle(QStringLiteral(KREIDOLIN_SOURCE_DIR "/data/fragen.tsv"));
    QVERIFY(quelle.open(QIODevice::ReadOnly));
    QHash<QString, int> anzahl; // per level, and per level and subject
    QSet<QString> fragen;
    QSet<QStringList> antwortsaetze;
    for (const QString &zeile : QString::fromUtf8(quelle.readAll()).split(QLatin1Char('\n')).mid(1)) {
        if (zeile.isEmpty() || zeile.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = zeile.split(QLatin1Char('\t'));
        QCOMPARE(f.size(), 6);
        ++anzahl[f[0]];
        ++anzahl[f[0] + QLatin1Char('\t') + f[1]];
        for (const QString &feld : f.mid(2))
            QVERIFY2(!feld.isEmpty() && feld == feld.trimmed(), qPrintable(zeile));
        QVERIFY2(!fragen.contains(f[2].toLower()), qPrintable(f[2]));
        fragen.insert(f[2].toLower());
        QStringList antworten{f[3].toLower(), f[4].toLower(), f[5].toLower()};
        antworten.sort();
        antworten.removeDuplicates();
        QVERIFY2(antworten.size() == 3 && !antwortsaetze.contains(antworten), qPrintable(f[2]));
        antwortsaetze.insert(antworten);
    }
    for (int stufe = 1; stufe <= 15; ++stufe)
        QVERIFY2(anzahl.value(QString::number(stufe)) >= 40, qPrintable(QString::number(stufe)));
    for (auto it = anzahl.cbegin(); it != anzahl.cend(); ++it)
        QVERIFY2(!it.key().contains(QLatin1Char('\t')) || it.value() * 4 <= anzahl.value(it.key().section(QLatin1Char('\t'), 0, 0)), qPrintable(it.key()));
    Recordset rs;
    QVERIFY(!oeffne(rs, QStringLiteral(KREIDOLIN_BUILT_FRAGEN), false));
    QCOMPARE(rs.recordCount(), fragen.size());
}

QTEST_GUILESS_MAIN(TestFragensammlung)
#include "tst_fragensammlung.moc"
