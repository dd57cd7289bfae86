#include "basis/twips.h"
#include "testservices.h"
#include "ui/linkamsel.h"

#include <QImage>
#include <QTest>

namespace {
// Pixels of the lettering's dark green (#1f5130), give or take the edges.
int gruenePunkte(const QImage &bild)
{
    int n = 0;
    for (int y = 0; y < bild.height(); ++y) {
        for (int x = 0; x < bild.width(); ++x) {
            const QColor c = bild.pixelColor(x, y);
            n += qAbs(c.red() - 0x1f) < 24 && qAbs(c.green() - 0x51) < 24 && qAbs(c.blue() - 0x30) < 24;
        }
    }
    return n;
}
}

class TestLogo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The logo shows its green lettering at its design size and, drawn from the vector picture, at any other.
    void zeigtSchrift_data();
    void zeigtSchrift();
};

void TestLogo::zeigtSchrift_data()
{
    QTest::addColumn<double>("faktor");
    QTest::newRow("design size") << 1.0;
    QTest::newRow("twice as large") << 2.0;
    QTest::newRow("smaller") << 0.7;
}

void TestLogo::zeigtSchrift()
{
    QFETCH(double, faktor);
    TestUmgebung umgebung;
    LinkAmsel link;
    auto *logo = link.findChild<QWidget *>(QStringLiteral("imgLogo"));
    QVERIFY(logo);
    QCOMPARE(logo->size(), Twips::rechteck(0, 0, 3540, 825).size());
    const QSize groesse = (QSizeF(logo->size()) * faktor).toSize();
    link.resize(groesse);
    logo->resize(groesse);
    const QImage bild = logo->grab().toImage();
    QCOMPARE(bild.size(), groesse);
    // "Kreidolin" in bold covers a good part of the right two thirds.
    const int gruen = gruenePunkte(bild);
    QVERIFY2(gruen > groesse.width() * groesse.height() / 20, qPrintable(QString::number(gruen)));
}

QTEST_MAIN(TestLogo)
#include "tst_logo.moc"
