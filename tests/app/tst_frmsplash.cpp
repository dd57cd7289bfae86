#include "basis/appinfo.h"
#include "start/fenster.h"
#include "ui/frmsplash.h"
#include "basis/services.h"
#include "ui/splashregeln.h"
#include "start/start.h"
#include "basis/twips.h"
#include "testservices.h"
#include "ui/form1.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {
frmSplash *oeffneSplash()
{
    frmSplash *splash = Fenster::zeige<frmSplash>();
    if (!QTest::qWaitForWindowExposed(splash))
        qFatal("splash window not exposed");
    return splash;
}

// A point, in window coordinates, where a click reaches exactly this widget
// (or, for the window itself, no child at all).
QPoint trefferPunkt(QWidget *fenster, QWidget *ziel)
{
    for (int y = 1; y < ziel->height() - 1; y += 2) {
        for (int x = 1; x < ziel->width() - 1; x += 2) {
            const QPoint p = ziel->mapTo(fenster, QPoint(x, y));
            QWidget *getroffen = fenster->childAt(p);
            if (getroffen == ziel || (ziel == fenster && !getroffen))
                return p;
        }
    }
    qFatal("no free point on %s", qPrintable(ziel->objectName()));
    return {};
}

void klick(QWidget *fenster, const QPoint &p)
{
    QTest::mouseClick(fenster->windowHandle(), Qt::LeftButton, Qt::NoModifier, p);
}

QWidget *kind(QWidget *fenster, const QString &pfad)
{
    QWidget *w = fenster;
    for (const QString &name : pfad.split(QLatin1Char('/')))
        w = w->findChild<QWidget *>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(pfad));
    return w;
}

bool splashZu() { return !Fenster::offen<frmSplash>(); }

// Records when windows are shown and closed, to check their order.
class Protokoll : public QObject {
public:
    Protokoll() { qApp->installEventFilter(this); }
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if ((e->type() == QEvent::Show || e->type() == QEvent::Close) && o->isWidgetType()
            && static_cast<QWidget *>(o)->isWindow())
            eintraege << o->objectName() + (e->type() == QEvent::Show ? QLatin1String(" gezeigt")
                                                                       : QLatin1String(" geschlossen"));
        return false;
    }
    QStringList eintraege;
};
}

class TestFrmSplash : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();
    // The class-project sentence: its parts in order, 206 characters with a four-character class.
    void autorenSatz();
    // The load positions at the design width are the ones the window has always had.
    void ladeLage();
    // The version line writes each number in decimal, without padding.
    void versionszeile_data();
    void versionszeile();
    // Keys that type a character close the splash; function, arrow and editing keys do not.
    void ergibtZeichen_data();
    void ergibtZeichen();
    // Words move to the next line whole; runs of blanks keep their width and vanish at a break.
    void setze();
    // After loading: size, kind of window, centred, texts, the timer running.
    void nachDemLaden();
    // Every control sits where the design and the load put it.
    void geometrie_data();
    void geometrie();
    // "des" begins the sentence's second line, and the two name links lie in its gaps of blanks.
    void linksInDenLuecken();
    // The program starts with the splash window and not yet with the main window.
    void programmStart();
    // Without input the timer leads to the main window.
    void timerSchliesst();
    // A click on the window, its frame or one of the five labels shows the main window and closes.
    void klickSchliesst_data();
    void klickSchliesst();
    // A click on the disclaimer or on a link control leaves the splash open; links open their target.
    void klickOhneSchliessen_data();
    void klickOhneSchliessen();
    // A key that types a character closes the window; other keys do not.
    void taste_data();
    void taste();
    // The key closes the window whichever of its controls has the focus.
    void tasteMitFokusImKind();
    // The main window is shown before the splash window closes.
    void reihenfolge();
    // After a link click the timer still closes the window.
    void timerNachLinkKlick();
};

void TestFrmSplash::cleanup()
{
    schliesseAlleFenster();
    Services::setSplashIntervalMs(60000);
}

void TestFrmSplash::autorenSatz()
{
    const QString satz = Splash::autorenSatz(QStringLiteral("KR01"));
    QCOMPARE(satz.size(), 206);
    const QString erwartet = QStringLiteral("Programmiert im Rahmen eines Unterrichtsprojektes von Schülerinnen und "
                                            "Schülern der Klasse KR01 des")
        + QString(38, QLatin1Char(' ')) + QStringLiteral("in Kooperation mit der")
        + QString(44, QLatin1Char(' ')) + QStringLiteral(".  ");
    QCOMPARE(satz, erwartet);
}

void TestFrmSplash::ladeLage()
{
    const Splash::Lage lage = Splash::ladeLage(9840);
    QCOMPARE(lage.lblTitel, 1492.5);
    QCOMPARE(lage.lblErklaerung, 1852.5);
    QCOMPARE(lage.LinkAmsel1, 3082.5);
    QCOMPARE(lage.lblAmsel2, 3082.5);
    QCOMPARE(lage.lblversion, 3052.5);
    QCOMPARE(lage.MailMorlon1Left, 3082.5);
    QCOMPARE(lage.MailMorlon1Top, 5895.0);
    // A wider client area moves the centred controls by half the difference.
    QCOMPARE(Splash::ladeLage(10840).lblTitel, 1992.5);
}

void TestFrmSplash::versionszeile_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("zeile");
    QTest::newRow("1.0.0") << 1 << 0 << 0 << "Version 1.0.0";
    QTest::newRow("1.12.105") << 1 << 12 << 105 << "Version 1.12.105";
    QTest::newRow("largest") << 65535 << 65535 << 65535 << "Version 65535.65535.65535";
}

void TestFrmSplash::versionszeile()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, zeile);
    QCOMPARE(AppInfo::versionszeile(major, minor, revision), zeile);
}

void TestFrmSplash::ergibtZeichen_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("zeichen");
    QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << "\r" << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << "\x1b" << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << " " << true;
    QTest::newRow("letter") << int(Qt::Key_A) << "a" << true;
    QTest::newRow("digit") << int(Qt::Key_7) << "7" << true;
    QTest::newRow("umlaut") << int(Qt::Key_unknown) << QString::fromUtf8("ä") << true;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << "\b" << true;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << "\t" << true;
    QTest::newRow("F1") << int(Qt::Key_F1) << "" << false;
    QTest::newRow("Left") << int(Qt::Key_Left) << "" << false;
    QTest::newRow("Shift") << int(Qt::Key_Shift) << "" << false;
    QTest::newRow("Delete with control text") << int(Qt::Key_Delete) << "\x7f" << false;
    QTest::newRow("Insert") << int(Qt::Key_Insert) << "" << false;
}

void TestFrmSplash::ergibtZeichen()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, zeichen);
    QCOMPARE(Splash::ergibtZeichen(key, text), zeichen);
}

void TestFrmSplash::setze()
{
    // Each character 10 wide, each blank 5.
    const auto breite = [](const QString &w) { return 10.0 * w.size(); };
    const auto zeilen = Splash::setze(QStringLiteral("ab cd   ef"), 60, 5, breite);
    QCOMPARE(zeilen.size(), 2);
    QCOMPARE(zeilen[0].size(), 2);
    QCOMPARE(zeilen[0][1].x, 25.0);
    QCOMPARE(zeilen[1][0].text, QStringLiteral("ef"));
    QCOMPARE(zeilen[1][0].x, 0.0);
    // Blanks inside a line keep their width, also in a run.
    const auto eine = Splash::setze(QStringLiteral("a    b"), 1000, 4, breite);
    QCOMPARE(eine.size(), 1);
    QCOMPARE(eine[0][1].x, 10.0 + 4 * 4);
    // A word wider than the line stands alone.
    const auto lang = Splash::setze(QStringLiteral("x abcdefghij y"), 50, 5, breite);
    QCOMPARE(lang.size(), 3);
    QCOMPARE(lang[1][0].text, QStringLiteral("abcdefghij"));
}

void TestFrmSplash::nachDemLaden()
{
    TestUmgebung umgebung;
    frmSplash *splash = oeffneSplash();
    QCOMPARE(splash->objectName(), QStringLiteral("frmSplash"));
    QCOMPARE(splash->size(), QSize(Twips::zuPixelX(9840), Twips::zuPixelY(7125)));
    QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(splash->windowType(), Qt::SplashScreen);
    const QPoint mitte = splash->screen()->availableGeometry().center();
    QVERIFY((splash->geometry().center() - mitte).manhattanLength() <= 2);

    auto text = [splash](const char *name) { return splash->findChild<QLabel *>(QLatin1String(name))->text(); };
    QCOMPARE(text("lblTitel"), QStringLiteral("Kreidolin"));
    QCOMPARE(text("lblErklaerung"), QStringLiteral("Ein Quiz für alle Altersstufen\r\r"));
    QCOMPARE(text("lblversion"), QStringLiteral("Version 1.0.0"));
    QCOMPARE(text("lblAutoren"), Splash::autorenSatz(QStringLiteral("KR01")));
    QCOMPARE(text("lblAmsel2"), QStringLiteral("Kreidolin-Projektgruppe, Tafelweg 15\r99999 Kreidestadt\r"
                                               "z. Hd. Dr. Kreidolin-Team"));
    QCOMPARE(text("lblAmsel3"),
             QStringLiteral("Die Autoren haben nach bestem Wissen und Gewissen programmiert, übernehmen aber "
                            "keine Gewähr für eventuelle Fehler. Anregungen und Verbesserungsvorschläge bitte an:"));

    auto *timer = splash->findChild<QTimer *>(QStringLiteral("Timer1"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 60000);
}

void TestFrmSplash::geometrie_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("twips");
    QTest::newRow("Frame1") << "Frame1" << QRectF(120, 120, 9615, 6855);
    QTest::newRow("lblTitel") << "lblTitel" << QRectF(1492.5, 240, 6855, 855);
    QTest::newRow("lblErklaerung") << "lblErklaerung" << QRectF(1852.5, 1200, 6135, 1215);
    QTest::newRow("lblversion") << "lblversion" << QRectF(3052.5, 2400, 3735, 495);
    // Wider than designed, see linksInDenLuecken.
    QTest::newRow("lblAutoren") << "lblAutoren" << QRectF(240, 3000, 9135, 495);
    QTest::newRow("LinkAmsel21") << "LinkAmsel21" << QRectF(600, 3240, 2175, 255);
    QTest::newRow("LinkLindenhain1") << "LinkLindenhain1" << QRectF(4860, 3240, 2475, 315);
    QTest::newRow("lblAmsel3") << "lblAmsel3" << QRectF(240, 3480, 9135, 615);
    QTest::newRow("LinkAmsel1") << "LinkAmsel1" << QRectF(3082.5, 4140, 3675, 1155);
    QTest::newRow("lblAmsel2") << "lblAmsel2" << QRectF(3082.5, 5160, 3615, 735);
    QTest::newRow("MailMorlon1") << "MailMorlon1" << QRectF(3082.5, 5895, 3015, 495);
}

void TestFrmSplash::geometrie()
{
    QFETCH(QString, name);
    QFETCH(QRectF, twips);
    TestUmgebung umgebung;
    frmSplash *splash = oeffneSplash();
    QWidget *w = kind(splash, name);
    if (name != QLatin1String("Frame1"))
        QCOMPARE(w->parentWidget()->objectName(), QStringLiteral("Frame1"));
    QCOMPARE(w->geometry(), Twips::rechteck(twips.x(), twips.y(), twips.width(), twips.height()));
}

void TestFrmSplash::linksInDenLuecken()
{
    TestUmgebung umgebung;
    frmSplash *splash = oeffneSplash();
    auto *autoren = splash->findChild<QLabel *>(QStringLiteral("lblAutoren"));
    const QFontMetricsF fm(autoren->font());
    const auto zeilen = Splash::setze(autoren->text(), autoren->width(), 60.0 / Twips::proPixelX(),
                                      [&fm](const QString &w) { return fm.horizontalAdvance(w); });
    QCOMPARE(zeilen.size(), 2);
    QCOMPARE(zeilen[0].last().text, QStringLiteral("KR01"));
    const Splash::Zeile &zweite = zeilen[1];
    QStringList woerter;
    for (const Splash::Wort &w : zweite)
        woerter << w.text;
    QCOMPARE(woerter, QStringList({"des", "in", "Kooperation", "mit", "der", "."}));

    const double zeilenOben = autoren->y() + fm.lineSpacing();
    auto pruefe = [&](const char *link, int vorher, int nachher) {
        QWidget *w = splash->findChild<QWidget *>(QLatin1String(link));
        const double links = w->x() - autoren->x();
        const double rechts = links + w->width();
        const double endeVorher = zweite[vorher].x + fm.horizontalAdvance(zweite[vorher].text);
        QVERIFY2(endeVorher < links, link);
        QVERIFY2(rechts <= zweite[nachher].x, link);
        QVERIFY2(qAbs(w->y() - zeilenOben) <= 2, link);
    };
    pruefe("LinkAmsel21", 0, 1);     // "des" | link | "in"
    pruefe("LinkLindenhain1", 4, 5); // "der" | link | "."
}

void TestFrmSplash::programmStart()
{
    TestUmgebung umgebung;
    Start::ersterFenster();
    frmSplash *splash = Fenster::offen<frmSplash>();
    QVERIFY(splash);
    QVERIFY(splash->isVisible());
    QVERIFY(!Fenster::offen<Form1>());
}

void TestFrmSplash::timerSchliesst()
{
    TestUmgebung umgebung;
    Services::setSplashIntervalMs(50);
    QPointer<frmSplash> splash = oeffneSplash();
    QCOMPARE(splash->findChild<QTimer *>(QStringLiteral("Timer1"))->interval(), 50);
    QTRY_VERIFY(splashZu());
    QVERIFY(Fenster::offen<Form1>());
    QVERIFY(Fenster::offen<Form1>()->isVisible());
    QTRY_VERIFY(splash.isNull());
}

void TestFrmSplash::klickSchliesst_data()
{
    QTest::addColumn<QString>("ziel");
    QTest::newRow("window margin") << "";
    QTest::newRow("Frame1") << "Frame1";
    QTest::newRow("lblTitel") << "lblTitel";
    QTest::newRow("lblErklaerung") << "lblErklaerung";
    QTest::newRow("lblversion") << "lblversion";
    QTest::newRow("lblAutoren") << "lblAutoren";
    QTest::newRow("lblAmsel2") << "lblAmsel2";
}

void TestFrmSplash::klickSchliesst()
{
    QFETCH(QString, ziel);
    TestUmgebung umgebung;
    QPointer<frmSplash> splash = oeffneSplash();
    QWidget *w = ziel.isEmpty() ? splash.data() : kind(splash, ziel);
    QPointer<QTimer> timer = splash->findChild<QTimer *>(QStringLiteral("Timer1"));
    klick(splash, trefferPunkt(splash, w));
    QVERIFY(splashZu());
    QVERIFY(Fenster::offen<Form1>());
    QVERIFY(timer.isNull() || !timer->isActive());
    QTRY_VERIFY(splash.isNull());
    QVERIFY(umgebung.urls.geoeffnet.isEmpty());
}

void TestFrmSplash::klickOhneSchliessen_data()
{
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("url"); // empty: nothing opened
    QTest::newRow("disclaimer") << "lblAmsel3" << "";
    QTest::newRow("logo") << "LinkAmsel1/imgLogo" << "https://www.kreidolin.example";
    QTest::newRow("maker's name") << "LinkAmsel21/Label1" << "https://www.kreidolin.example";
    QTest::newRow("partner's name") << "LinkLindenhain1/Label1" << "https://www.fragenwerkstatt.example";
    QTest::newRow("e-mail") << "MailMorlon1/Label1" << "mailto:team@kreidolin.example";
    QTest::newRow("beside the logo") << "LinkAmsel1" << "";
    QTest::newRow("below the e-mail address") << "MailMorlon1" << "";
    QTest::newRow("logo where the address reaches under it") << "LinkAmsel1&lblAmsel2" << "";
    QTest::newRow("partner's name where the disclaimer reaches under it") << "LinkLindenhain1&lblAmsel3" << "";
}

void TestFrmSplash::klickOhneSchliessen()
{
    QFETCH(QString, ziel);
    QFETCH(QString, url);
    TestUmgebung umgebung;
    frmSplash *splash = oeffneSplash();
    // "a&b": the middle of where the boxes of a and b overlap.
    const QStringList teile = ziel.split(QLatin1Char('&'));
    QRect feld;
    if (teile.size() == 2) {
        QWidget *a = kind(splash, teile[0]), *b = kind(splash, teile[1]);
        feld = QRect(a->mapTo(splash, QPoint()), a->size()) & QRect(b->mapTo(splash, QPoint()), b->size());
        QVERIFY(!feld.isEmpty());
    }
    klick(splash, teile.size() == 2 ? feld.center() : trefferPunkt(splash, kind(splash, ziel)));
    QCoreApplication::processEvents();
    QVERIFY(!splashZu());
    QVERIFY(!Fenster::offen<Form1>());
    QVERIFY(splash->findChild<QTimer *>(QStringLiteral("Timer1"))->isActive());
    if (url.isEmpty()) {
        QVERIFY(umgebung.urls.geoeffnet.isEmpty());
    } else {
        QCOMPARE(umgebung.urls.geoeffnet.size(), 1);
        QCOMPARE(umgebung.urls.geoeffnet.first().toString(), url);
    }
    QVERIFY(umgebung.meldungen.gezeigt.isEmpty());
}

void TestFrmSplash::taste_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("schliesst");
    QTest::newRow("Enter") << int(Qt::Key_Return) << "\r" << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << "\x1b" << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << " " << true;
    QTest::newRow("letter") << int(Qt::Key_K) << "k" << true;
    QTest::newRow("umlaut") << int(Qt::Key_unknown) << QString::fromUtf8("ß") << true;
    QTest::newRow("F1") << int(Qt::Key_F1) << "" << false;
    QTest::newRow("F12") << int(Qt::Key_F12) << "" << false;
    QTest::newRow("Down") << int(Qt::Key_Down) << "" << false;
    QTest::newRow("Left") << int(Qt::Key_Left) << "" << false;
    QTest::newRow("Control") << int(Qt::Key_Control) << "" << false;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << "\t" << true;
    QTest::newRow("Ctrl+letter") << (Qt::Key_K | Qt::ControlModifier).toCombined() << "\x0b" << true;
    QTest::newRow("Alt+letter") << (Qt::Key_K | Qt::AltModifier).toCombined() << "k" << false;
    QTest::newRow("AltGr sign") << (Qt::ControlModifier | Qt::AltModifier | Qt::Key_At).toCombined() << "@" << true;
}

void TestFrmSplash::taste()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, schliesst);
    TestUmgebung umgebung;
    frmSplash *splash = oeffneSplash();
    QTest::sendKeyEvent(QTest::Click, splash->windowHandle(), Qt::Key(key & ~Qt::KeyboardModifierMask), text,
                        Qt::KeyboardModifiers(key & Qt::KeyboardModifierMask));
    QCOMPARE(splashZu(), schliesst);
    QCOMPARE(Fenster::offen<Form1>() != nullptr, schliesst);
}

void TestFrmSplash::tasteMitFokusImKind()
{
    TestUmgebung umgebung;
    frmSplash *splash = oeffneSplash();
    auto *hinweis = splash->findChild<QLabel *>(QStringLiteral("lblAmsel3"));
    hinweis->setFocusPolicy(Qt::StrongFocus);
    splash->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(splash));
    hinweis->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), hinweis);
    QTest::keyClick(splash->windowHandle(), Qt::Key_Right);
    QVERIFY(!splashZu());
    QTest::keyClick(splash->windowHandle(), Qt::Key_X);
    QVERIFY(splashZu());
    QVERIFY(Fenster::offen<Form1>());
}

void TestFrmSplash::reihenfolge()
{
    TestUmgebung umgebung;
    frmSplash *splash = oeffneSplash();
    Protokoll protokoll;
    splash->lblTitel_Click();
    splash->Timer1_Timer(); // a late tick changes nothing
    QCOMPARE(protokoll.eintraege, QStringList({"Form1 gezeigt", "frmSplash geschlossen"}));
}

void TestFrmSplash::timerNachLinkKlick()
{
    TestUmgebung umgebung;
    Services::setSplashIntervalMs(300);
    frmSplash *splash = oeffneSplash();
    klick(splash, trefferPunkt(splash, kind(splash, QStringLiteral("MailMorlon1/Label1"))));
    QVERIFY(!splashZu());
    QCOMPARE(umgebung.urls.geoeffnet.size(), 1);
    QTRY_VERIFY(splashZu());
    QVERIFY(Fenster::offen<Form1>());
}

QTEST_MAIN(TestFrmSplash)
#include "tst_frmsplash.moc"
