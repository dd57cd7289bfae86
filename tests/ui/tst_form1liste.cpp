#include "start/fenster.h"
#include "highscore/highscore.h"
#include "testservices.h"
#include "ui/form1.h"

#include <QAction>
#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {
QByteArray eintraege(const QStringList &namen)
{
    QByteArray bytes;
    for (int i = 0; i < namen.size(); ++i)
        bytes += Highscore::kodiereZeile(namen[i], i % 16);
    return bytes;
}

// How far the list can show its entries: the visible width plus the
// horizontal scroll range.
int sichtbareBreite(QListWidget *liste)
{
    return liste->viewport()->width() + liste->horizontalScrollBar()->maximum();
}
}

class TestForm1Liste : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    // A long name anywhere in the list widens it so that it can be scrolled to in full; short names need
    // no scrolling; rows keep the height of one line of the list's font.
    void breiteUndHoehe_data();
    void breiteUndHoehe();
    // A rebuild after the long name is gone shrinks the scroll range again.
    void neuAufbauVergisstBreite();

private:
    Form1 *zeige()
    {
        Form1 *haupt = Fenster::zeige<Form1>();
        QCoreApplication::processEvents();
        return haupt;
    }

    std::unique_ptr<TestUmgebung> m_u;
};

void TestForm1Liste::init()
{
    m_u = std::make_unique<TestUmgebung>();
}

void TestForm1Liste::cleanup()
{
    schliesseAlleFenster();
    m_u.reset();
}

void TestForm1Liste::breiteUndHoehe_data()
{
    QTest::addColumn<int>("anzahl");
    QTest::addColumn<int>("langeAnStelle"); // -1: no long name
    QTest::newRow("short names") << 30 << -1;
    QTest::newRow("long name first") << 30 << 0;
    QTest::newRow("long name in the middle") << 30 << 17;
    QTest::newRow("long name last") << 30 << 29;
    QTest::newRow("full list, long name") << 1000 << 555;
}

void TestForm1Liste::breiteUndHoehe()
{
    QFETCH(int, anzahl);
    QFETCH(int, langeAnStelle);
    const QString lang = QStringLiteral("Maximiliane-Kunigunde Wolkenstein-Trostberg von Hohenwaldeck");
    QStringList namen;
    for (int i = 0; i < anzahl; ++i)
        namen << (i == langeAnStelle ? lang : QStringLiteral("S%1").arg(i));
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), eintraege(namen));

    Form1 *haupt = zeige();
    haupt->menuHighscore->trigger();
    QCoreApplication::processEvents();
    QListWidget *liste = haupt->lstHighscore;
    QCOMPARE(liste->count(), anzahl);

    const QFontMetrics fm(liste->font());
    int breiteste = 0;
    QListWidgetItem *laengster = nullptr;
    for (int i = 0; i < liste->count(); ++i) {
        const int b = fm.horizontalAdvance(liste->item(i)->text());
        if (b > breiteste) {
            breiteste = b;
            laengster = liste->item(i);
        }
    }
    if (langeAnStelle < 0) {
        QCOMPARE(liste->horizontalScrollBar()->maximum(), 0);
    } else {
        QVERIFY(laengster->text().contains(lang));
        QVERIFY2(sichtbareBreite(liste) >= breiteste,
                 qPrintable(QStringLiteral("%1 < %2").arg(sichtbareBreite(liste)).arg(breiteste)));
        QVERIFY(liste->horizontalScrollBar()->maximum() > 0);
    }
    const int zeile = liste->visualItemRect(liste->item(0)).height();
    QVERIFY(zeile >= fm.height());
    QVERIFY(zeile <= fm.height() + 8);
    for (int i = 1; i < liste->count(); ++i)
        QCOMPARE(liste->visualItemRect(liste->item(i)).top(), liste->visualItemRect(liste->item(0)).top() + i * zeile);
}

void TestForm1Liste::neuAufbauVergisstBreite()
{
    const QString lang = QStringLiteral("Maximiliane-Kunigunde Wolkenstein-Trostberg von Hohenwaldeck");
    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), eintraege({QStringLiteral("a"), lang}));
    Form1 *haupt = zeige();
    haupt->menuHighscore->trigger();
    QCoreApplication::processEvents();
    QVERIFY(haupt->lstHighscore->horizontalScrollBar()->maximum() > 0);

    m_u->schreibeDatei(QStringLiteral("highscore.dtt"), eintraege({QStringLiteral("a"), QStringLiteral("b")}));
    haupt->menuHighscore->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(haupt->lstHighscore->count(), 2);
    QCOMPARE(haupt->lstHighscore->horizontalScrollBar()->maximum(), 0);
}

QTEST_MAIN(TestForm1Liste)
#include "tst_form1liste.moc"
