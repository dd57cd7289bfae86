#include "start/fenster.h"
#include "basis/twips.h"
#include "testservices.h"
#include "ui/form4.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace {
Form4 *oeffneInfo()
{
    Form4 *info = Fenster::zeige<Form4>();
    if (!QTest::qWaitForWindowExposed(info))
        qFatal("info window not exposed");
    return info;
}

QLabel *label(QWidget *w, const char *name) { return w->findChild<QLabel *>(QLatin1String(name)); }
}

class TestForm4 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { schliesseAlleFenster(); }
    // The authors' list: "- " and a name per line, lines joined by CR LF, no line end after the last.
    void autorenListe();
    // After loading: caption, size, icon, version line, authors, and both labels sized to their text.
    void nachDemLaden();
    // Enter, Escape, Alt+S and the button close the window; other keys do not.
    void schliessen_data();
    void schliessen();
    // Opening it twice gives one window; after closing, the next opening builds a new one.
    void nurEinmal();
};

void TestForm4::autorenListe()
{
    QCOMPARE(::autorenListe({QStringLiteral("A"), QStringLiteral("B b")}), QStringLiteral("- A\r\n- B b"));
    QCOMPARE(::autorenListe({}), QString());
}

void TestForm4::nachDemLaden()
{
    TestUmgebung umgebung;
    Form4 *info = oeffneInfo();
    QCOMPARE(info->objectName(), QStringLiteral("Form4"));
    QCOMPARE(info->windowTitle(), QStringLiteral("Kreidolin - Informationen"));
    QCOMPARE(info->size(), Twips::rechteck(0, 0, 5535, 5385).size());
    QCOMPARE(info->minimumSize(), info->maximumSize());
    QVERIFY(!info->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!info->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!info->windowIcon().isNull());
    // Centred on the screen, give or take the frame the system puts around it.
    const QPoint abstand = info->frameGeometry().center() - info->screen()->availableGeometry().center();
    QVERIFY(qAbs(abstand.x()) <= Twips::kRahmenPx && qAbs(abstand.y()) <= Twips::kRahmenPx + Twips::kTitelPx);

    QCOMPARE(label(info, "lblVersion")->text(), QStringLiteral("Version 1.0.0"));
    QCOMPARE(label(info, "Label2")->text(),
             QStringLiteral("- Team Kreidolin (Spiel)\r\n- Team Kreidolin (Fragen)\r\n"
                            "- Team Kreidolin (Editor)\r\n- Team Kreidolin (Grafik)"));
    // Sized to the text: the version fits on one line, the authors on four.
    QLabel *version = label(info, "lblVersion");
    QCOMPARE(version->size(), version->sizeHint());
    QCOMPARE(version->pos(), QPoint(Twips::zuPixelX(420), Twips::zuPixelY(1500)));
    QLabel *autoren = label(info, "Label2");
    const QFontMetrics fm(autoren->font());
    QVERIFY(autoren->height() >= 4 * fm.height());
    QVERIFY(autoren->height() < 5 * fm.height());
    QVERIFY(autoren->width() >= fm.horizontalAdvance(QStringLiteral("- Team Kreidolin (Editor)")));
}

void TestForm4::schliessen_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("aufFenster"); // sent to the window itself rather than to the focused button
    QTest::addColumn<bool>("schliesst");
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << false << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << false << true;
    QTest::newRow("Enter, no focus") << int(Qt::Key_Return) << 0 << true << true;
    QTest::newRow("Escape, no focus") << int(Qt::Key_Escape) << 0 << true << true;
    QTest::newRow("Alt+S") << int(Qt::Key_S) << int(Qt::AltModifier) << false << true;
    QTest::newRow("S alone") << int(Qt::Key_S) << 0 << false << false;
    QTest::newRow("F1") << int(Qt::Key_F1) << 0 << false << false;
    QTest::newRow("Alt+X") << int(Qt::Key_X) << int(Qt::AltModifier) << false << false;
}

void TestForm4::schliessen()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, aufFenster);
    QFETCH(bool, schliesst);
    TestUmgebung umgebung;
    QPointer<Form4> info = oeffneInfo();
    info->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(info));
    if (aufFenster)
        QTest::keyClick(info.data(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    else
        QTest::keyClick(info->windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    // The access key presses the button visibly, so its click comes a moment later.
    if (schliesst) {
        QTRY_VERIFY(!Fenster::offen<Form4>());
        QTRY_VERIFY(info.isNull());
    } else {
        QTest::qWait(250);
        QVERIFY(Fenster::offen<Form4>());
    }
}

void TestForm4::nurEinmal()
{
    TestUmgebung umgebung;
    QPointer<Form4> erstes = oeffneInfo();
    QCOMPARE(Fenster::zeige<Form4>(), erstes.data());
    int anzahl = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        anzahl += w->objectName() == QLatin1String("Form4");
    QCOMPARE(anzahl, 1);

    QTest::mouseClick(erstes->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!Fenster::offen<Form4>());
    QTRY_VERIFY(erstes.isNull());
    Form4 *zweites = oeffneInfo();
    QCOMPARE(label(zweites, "lblVersion")->text(), QStringLiteral("Version 1.0.0"));
}

QTEST_MAIN(TestForm4)
#include "tst_form4.moc"
