#include "basis/farben.h"
#include "basis/twips.h"
#include "testservices.h"
#include "ui/linkamsel.h"
#include "ui/linkamsel2.h"
#include "ui/linklindenhain.h"
#include "ui/linkziel.h"
#include "ui/mailmorlon.h"

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QTest>
#include <QUrl>
#include <QWindow>

#include <memory>

namespace {
// A plain window that hosts one control at (10, 10).
struct Gastgeber {
    explicit Gastgeber(const QString &art)
    {
        fenster = std::make_unique<QWidget>();
        fenster->resize(400, 200);
        if (art == QLatin1String("LinkAmsel"))
            control = new LinkAmsel(fenster.get());
        else if (art == QLatin1String("LinkAmsel2"))
            control = new LinkAmsel2(fenster.get());
        else if (art == QLatin1String("LinkLindenhain"))
            control = new LinkLindenhain(fenster.get());
        else
            control = new MailMorlon(fenster.get());
        control->move(10, 10);
        fenster->show();
        if (!QTest::qWaitForWindowExposed(fenster.get()))
            qFatal("host window not exposed");
        kind = control->findChild<QWidget *>(art == QLatin1String("LinkAmsel") ? QStringLiteral("imgLogo")
                                                                                : QStringLiteral("Label1"));
    }

    void klickAuf(QWidget *w, QPoint lokal = QPoint(5, 5))
    {
        QTest::mouseClick(fenster->windowHandle(), Qt::LeftButton, Qt::NoModifier, w->mapTo(fenster.get(), lokal));
    }

    std::unique_ptr<QWidget> fenster;
    QWidget *control = nullptr;
    QWidget *kind = nullptr;
};
}

class TestLinkLabels : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { schliesseAlleFenster(); }
    // Each control: its size, its child, its tooltip, and the target a click on the child hands over.
    void steuerelemente_data();
    void steuerelemente();
    // A "www." target is opened as a web address; other targets pass unchanged.
    void alsUrl_data();
    void alsUrl();
    // The text links are Arial 9.75 pt, underlined and blue.
    void textAussehen_data();
    void textAussehen();
    // LinkLindenhain shows its name on the active-border colour, the others on the button face.
    void hintergrund_data();
    void hintergrund();
    // The pointing hand is 32 x 32 with its hot spot at (12, 1), shown over each link.
    void handZeiger();
    // A click beside the child, or one that ends outside the child, opens nothing and reaches no host.
    void klickDaneben();
    // A double click opens the target once, not twice.
    void doppelklick();
    // A target the desktop cannot open is named in a message titled Kreidolin.
    void fehlschlag_data();
    void fehlschlag();
};

void TestLinkLabels::steuerelemente_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QSizeF>("groesse");
    QTest::addColumn<QSizeF>("kindGroesse");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("url");
    QTest::newRow("LinkAmsel") << "LinkAmsel" << QSizeF(3600, 855) << QSizeF(3540, 825) << ""
                               << "www.kreidolin.example" << "https://www.kreidolin.example";
    QTest::newRow("LinkAmsel2") << "LinkAmsel2" << QSizeF(2280, 285) << QSizeF(2295, 255) << "Kreidolin-Projekts"
                                << "www.kreidolin.example" << "https://www.kreidolin.example";
    QTest::newRow("LinkLindenhain") << "LinkLindenhain" << QSizeF(2655, 300) << QSizeF(2655, 255)
                                    << "Kreidolin-Fragenwerkstatt" << "www.fragenwerkstatt.example"
                                    << "https://www.fragenwerkstatt.example";
    QTest::newRow("MailMorlon") << "MailMorlon" << QSizeF(3030, 315) << QSizeF(3015, 255)
                                << "team@kreidolin.example" << "mailto: team@kreidolin.example"
                                << "mailto:team@kreidolin.example";
}

void TestLinkLabels::steuerelemente()
{
    QFETCH(QString, art);
    QFETCH(QSizeF, groesse);
    QFETCH(QSizeF, kindGroesse);
    QFETCH(QString, text);
    QFETCH(QString, tooltip);
    QFETCH(QString, url);
    TestUmgebung umgebung;
    Gastgeber g(art);
    QCOMPARE(g.control->objectName(), art);
    QCOMPARE(g.control->size(), Twips::rechteck(0, 0, groesse.width(), groesse.height()).size());
    QVERIFY(g.kind);
    QCOMPARE(g.kind->geometry(), Twips::rechteck(0, 0, kindGroesse.width(), kindGroesse.height()));
    if (auto *label = qobject_cast<QLabel *>(g.kind))
        QCOMPARE(label->text(), text);
    QCOMPARE(g.control->toolTip(), tooltip);

    g.klickAuf(g.kind);
    QCOMPARE(umgebung.urls.geoeffnet.size(), 1);
    QCOMPARE(umgebung.urls.geoeffnet.first().toString(), url);
    QVERIFY(umgebung.meldungen.gezeigt.isEmpty());
}

void TestLinkLabels::alsUrl_data()
{
    QTest::addColumn<QString>("ziel");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("schema");
    QTest::newRow("web") << "www.kreidolin.example" << "https://www.kreidolin.example" << "https";
    QTest::newRow("web, capitals") << "WWW.Kreidolin.example" << "https://www.kreidolin.example" << "https";
    QTest::newRow("mail") << "mailto:team@kreidolin.example" << "mailto:team@kreidolin.example" << "mailto";
    QTest::newRow("full address stays") << "https://x.example/a" << "https://x.example/a" << "https";
}

void TestLinkLabels::alsUrl()
{
    QFETCH(QString, ziel);
    QFETCH(QString, url);
    QFETCH(QString, schema);
    const QUrl u = LinkZiel::alsUrl(ziel);
    QVERIFY(u.isValid());
    QCOMPARE(u.toString(), url);
    QCOMPARE(u.scheme(), schema);
}

void TestLinkLabels::textAussehen_data()
{
    QTest::addColumn<QString>("art");
    QTest::newRow("LinkAmsel2") << "LinkAmsel2";
    QTest::newRow("LinkLindenhain") << "LinkLindenhain";
    QTest::newRow("MailMorlon") << "MailMorlon";
}

void TestLinkLabels::textAussehen()
{
    QFETCH(QString, art);
    TestUmgebung umgebung;
    Gastgeber g(art);
    auto *label = qobject_cast<QLabel *>(g.kind);
    QVERIFY(label);
    QCOMPARE(label->font().family(), QStringLiteral("Arial"));
    QCOMPARE(label->font().pointSizeF(), 9.75);
    QVERIFY(label->font().underline());
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    // The text is drawn in blue: some pixel of the rendered label is pure blue.
    const QImage bild = label->grab().toImage();
    bool blau = false;
    for (int y = 0; y < bild.height() && !blau; ++y)
        for (int x = 0; x < bild.width() && !blau; ++x)
            blau = bild.pixelColor(x, y) == QColor(0, 0, 255);
    QVERIFY(blau);
}

void TestLinkLabels::hintergrund_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QColor>("farbe");
    QTest::newRow("LinkAmsel") << "LinkAmsel" << Farben::schaltflaeche();
    QTest::newRow("LinkAmsel2") << "LinkAmsel2" << Farben::schaltflaeche();
    QTest::newRow("LinkLindenhain") << "LinkLindenhain" << Farben::aktiverRahmen();
    QTest::newRow("MailMorlon") << "MailMorlon" << Farben::schaltflaeche();
}

void TestLinkLabels::hintergrund()
{
    QFETCH(QString, art);
    QFETCH(QColor, farbe);
    TestUmgebung umgebung;
    Gastgeber g(art);
    QVERIFY(g.control->autoFillBackground());
    QCOMPARE(g.control->palette().color(QPalette::Window), farbe);
    QVERIFY(!g.kind->autoFillBackground());
}

void TestLinkLabels::handZeiger()
{
    const QCursor hand = LinkZiel::handZeiger();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.pixmap().size(), QSize(32, 32));
    QCOMPARE(hand.hotSpot(), QPoint(12, 1));
    // The fingertip is the picture's topmost pixel.
    const QImage bild = hand.pixmap().toImage();
    QVERIFY(qAlpha(bild.pixel(12, 1)) > 0);
    for (int x = 0; x < 32; ++x)
        QCOMPARE(qAlpha(bild.pixel(x, 0)), 0);

    TestUmgebung umgebung;
    for (const char *art : {"LinkAmsel", "LinkAmsel2", "LinkLindenhain", "MailMorlon"}) {
        Gastgeber g{QString::fromLatin1(art)};
        QCOMPARE(g.kind->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(g.kind->cursor().hotSpot(), QPoint(12, 1));
    }
    // LinkLindenhain shows the hand over its whole surface.
    Gastgeber lindenhain(QStringLiteral("LinkLindenhain"));
    QCOMPARE(lindenhain.control->cursor().shape(), Qt::BitmapCursor);
}

void TestLinkLabels::klickDaneben()
{
    TestUmgebung umgebung;
    Gastgeber g(QStringLiteral("MailMorlon"));
    int hostKlicks = 0;
    struct Zaehler : QObject {
        int *n;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::MouseButtonRelease || e->type() == QEvent::MouseButtonPress)
                ++*n;
            return false;
        }
    } zaehler;
    zaehler.n = &hostKlicks;
    g.fenster->installEventFilter(&zaehler);

    // Below the label, on the control's own surface.
    g.klickAuf(g.control, QPoint(5, g.control->height() - 2));
    // Pressed on the label, released outside it.
    const QPoint innen = g.kind->mapTo(g.fenster.get(), QPoint(5, 5));
    const QPoint aussen = g.fenster->rect().bottomRight() - QPoint(5, 5);
    QTest::mousePress(g.fenster->windowHandle(), Qt::LeftButton, Qt::NoModifier, innen);
    QTest::mouseRelease(g.fenster->windowHandle(), Qt::LeftButton, Qt::NoModifier, aussen);
    QVERIFY(umgebung.urls.geoeffnet.isEmpty());
    QCOMPARE(hostKlicks, 0);
}

void TestLinkLabels::doppelklick()
{
    TestUmgebung umgebung;
    Gastgeber g(QStringLiteral("LinkAmsel2"));
    const QPoint p = g.kind->mapTo(g.fenster.get(), QPoint(5, 5));
    QTest::mouseDClick(g.fenster->windowHandle(), Qt::LeftButton, Qt::NoModifier, p);
    QCOMPARE(umgebung.urls.geoeffnet.size(), 1);
    // The next single click counts again.
    g.klickAuf(g.kind);
    QCOMPARE(umgebung.urls.geoeffnet.size(), 2);
}

void TestLinkLabels::fehlschlag_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QString>("adresse");
    QTest::newRow("web") << "LinkLindenhain" << "www.fragenwerkstatt.example";
    QTest::newRow("logo") << "LinkAmsel" << "www.kreidolin.example";
    QTest::newRow("mail") << "MailMorlon" << "team@kreidolin.example";
}

void TestLinkLabels::fehlschlag()
{
    QFETCH(QString, art);
    QFETCH(QString, adresse);
    TestUmgebung umgebung;
    umgebung.urls.ergebnis = false;
    Gastgeber g(art);
    g.klickAuf(g.kind);
    QCOMPARE(umgebung.urls.geoeffnet.size(), 1);
    QTRY_COMPARE(umgebung.meldungen.gezeigt.size(), 1);
    const Meldung &m = umgebung.meldungen.gezeigt.first();
    QCOMPARE(m.titel, QStringLiteral("Kreidolin"));
    QVERIFY2(m.text.contains(adresse), qPrintable(m.text));
    QVERIFY(m.text.contains(QStringLiteral("nicht geöffnet")));
    QVERIFY(!m.text.contains(QStringLiteral("mailto")));
    QVERIFY(g.fenster->isVisible());
}

QTEST_MAIN(TestLinkLabels)
#include "tst_linklabels.moc"
