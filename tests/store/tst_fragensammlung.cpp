#include "store/connection.h"
#include "store/recordset.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QTest>

// The default question collection: its source data/fragen.tsv (with the
// subject of each question) and the Fragen.mdb the build made of it.
class TestFragensammlung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    // At least 40 questions on every level, none of its subjects above a quarter
    // of it, and the built file holds every line of the source.
    void stufenUndFaecher();
    // No field empty or padded; no question twice; the three answers of a
    // question differ, and no two questions offer the same three answers.
    void keineDoppelten();

private:
    struct Zeile {
        int stufe;
        QString fach;
        QStringList felder; // Frage, Loesung, Antwort1, Antwort2
    };
    QVector<Zeile> m_zeilen;
};

void TestFragensammlung::initTestCase()
{
    QFile quelle(QStringLiteral(KREIDOLIN_SOURCE_DIR "/data/fragen.tsv"));
    QVERIFY(quelle.open(QIODevice::ReadOnly));
    const QStringList zeilen = QString::fromUtf8(quelle.readAll()).split(QLatin1Char('\n'));
    for (int n = 1; n < zeilen.size(); ++n) {
        if (zeilen[n].isEmpty() || zeilen[n].startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = zeilen[n].split(QLatin1Char('\t'));
        QCOMPARE(f.size(), 6);
        m_zeilen.append({f[0].toInt(), f[1], f.mid(2)});
    }
}

void TestFragensammlung::stufenUndFaecher()
{
    QHash<int, int> jeStufe;
    QHash<QPair<int, QString>, int> jeFach;
    for (const Zeile &z : m_zeilen) {
        ++jeStufe[z.stufe];
        ++jeFach[{z.stufe, z.fach}];
    }
    for (int stufe = 1; stufe <= 15; ++stufe)
        QVERIFY2(jeStufe.value(stufe) >= 40, qPrintable(QStringLiteral("Stufe %1: %2").arg(stufe).arg(jeStufe.value(stufe))));
    for (auto it = jeFach.cbegin(); it != jeFach.cend(); ++it)
        QVERIFY2(it.value() * 4 <= jeStufe.value(it.key().first),
                 qPrintable(QStringLiteral("Stufe %1, %2: %3").arg(it.key().first).arg(it.key().second).arg(it.value())));

    auto verbindung = std::make_shared<Connection>();
    verbindung->setConnectionString(Connection::connectionStringFor(QStringLiteral(KREIDOLIN_BUILT_FRAGEN)));
    QVERIFY(!verbindung->open().isError());
    Recordset rs;
    QVERIFY(!rs.open(QStringLiteral("select * from fragen"), verbindung, Recordset::CursorType::Keyset,
                     Recordset::LockType::ReadOnly)
                 .isError());
    QCOMPARE(rs.recordCount(), m_zeilen.size());
}

void TestFragensammlung::keineDoppelten()
{
    QSet<QString> fragen;
    QSet<QStringList> antwortsaetze;
    for (const Zeile &z : m_zeilen) {
        for (const QString &feld : z.felder)
            QVERIFY2(!feld.isEmpty() && feld == feld.trimmed(), qPrintable(z.felder.join(QLatin1Char('|'))));
        const QString frage = z.felder[0].toLower();
        QVERIFY2(!fragen.contains(frage), qPrintable(frage));
        fragen.insert(frage);
        QStringList antworten = z.felder.mid(1);
        for (QString &a : antworten)
            a = a.toLower();
        antworten.sort();
        antworten.removeDuplicates();
        QVERIFY2(antworten.size() == 3, qPrintable(z.felder[0]));
        QVERIFY2(!antwortsaetze.contains(antworten), qPrintable(z.felder[0]));
        antwortsaetze.insert(antworten);
    }
}

QTEST_GUILESS_MAIN(TestFragensammlung)
#include "tst_fragensammlung.moc"
