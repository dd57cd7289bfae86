#include "store/connection.h"
#include "store/recordset.h"

#include <QHash>
#include <QSet>
#include <QTest>

// The default question collection as the build made it from data/fragen.tsv.
class TestFragensammlung : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    // At least 20 questions on every level 1..15, 300 or more in all.
    void anzahlJeStufe();
    // No field empty or padded with blanks; every level a whole number 1..15.
    void keineLeerenFelder();
    // No question twice; solution and wrong answers pairwise different.
    void keineDoppelten();

private:
    std::shared_ptr<Connection> m_verbindung;
    Recordset m_rs;
};

void TestFragensammlung::initTestCase()
{
    m_verbindung = std::make_shared<Connection>();
    m_verbindung->setConnectionString(Connection::connectionStringFor(QStringLiteral(KREIDOLIN_BUILT_FRAGEN)));
    QVERIFY(!m_verbindung->open().isError());
    QVERIFY(!m_rs.open(QStringLiteral("select * from fragen"), m_verbindung, Recordset::CursorType::Keyset,
                       Recordset::LockType::ReadOnly)
                 .isError());
    QCOMPARE(m_rs.fieldCount(), 6);
}

void TestFragensammlung::anzahlJeStufe()
{
    QHash<int, int> jeStufe;
    for (int i = 0; i < m_rs.recordCount(); ++i)
        ++jeStufe[m_rs.valueAt(i, 4).toInt()];
    for (int stufe = 1; stufe <= 15; ++stufe)
        QVERIFY2(jeStufe.value(stufe) >= 20, qPrintable(QStringLiteral("Stufe %1: %2").arg(stufe).arg(jeStufe.value(stufe))));
    QVERIFY(m_rs.recordCount() >= 300);
}

void TestFragensammlung::keineLeerenFelder()
{
    for (int i = 0; i < m_rs.recordCount(); ++i) {
        for (int spalte = 0; spalte < 4; ++spalte) {
            const QString text = m_rs.valueAt(i, spalte).toString();
            QVERIFY2(!text.isEmpty() && text == text.trimmed(), qPrintable(QStringLiteral("Zeile %1").arg(i + 1)));
        }
        const QVariant stufe = m_rs.valueAt(i, 4);
        QCOMPARE(stufe.typeId(), QMetaType::LongLong);
        QVERIFY(stufe.toInt() >= 1 && stufe.toInt() <= 15);
        QVERIFY(!m_rs.valueAt(i, 5).isNull());
    }
}

void TestFragensammlung::keineDoppelten()
{
    QSet<QString> fragen;
    for (int i = 0; i < m_rs.recordCount(); ++i) {
        const QString frage = m_rs.valueAt(i, 0).toString().toLower();
        QVERIFY2(!fragen.contains(frage), qPrintable(frage));
        fragen.insert(frage);
        QSet<QString> antworten;
        for (int spalte = 1; spalte <= 3; ++spalte)
            antworten.insert(m_rs.valueAt(i, spalte).toString().trimmed().toLower());
        QVERIFY2(antworten.size() == 3, qPrintable(m_rs.valueAt(i, 0).toString()));
    }
}

QTEST_GUILESS_MAIN(TestFragensammlung)
#include "tst_fragensammlung.moc"
