#include "ui/linkziel.h"

#include "basis/appinfo.h"
#include "basis/farben.h"
#include "basis/services.h"
#include "basis/twips.h"

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QUrl>

namespace {
const QLatin1String kMailto("mailto:");
}

namespace LinkZiel {
QUrl alsUrl(const QString &ziel)
{
    if (ziel.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QLatin1String("https://") + ziel);
    return QUrl(ziel);
}

QString fehlertext(const QString &ziel)
{
    if (ziel.startsWith(kMailto, Qt::CaseInsensitive)) {
        const QString adresse = ziel.mid(kMailto.size());
        return QStringLiteral("Das E-Mail-Programm konnte nicht geöffnet werden, um eine Nachricht an %1 "
                              "zu schreiben.\r\nBitte schreiben Sie Ihre Nachricht von Hand an %1.")
            .arg(adresse);
    }
    return QStringLiteral("Die Internetseite %1 konnte nicht geöffnet werden.\r\n"
                          "Bitte geben Sie die Adresse %1 selbst in Ihren Webbrowser ein.")
        .arg(ziel);
}

bool oeffne(const QString &ziel)
{
    if (Services::urls().open(alsUrl(ziel)))
        return true;
    // The box waits until the click is over and has no owner: the splash
    // window may close on its timer while the box is open, and that must
    // take neither the box nor the control that was clicked with it.
    const QString text = fehlertext(ziel);
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [text] { Services::meldung(nullptr, AppInfo::titel(), text); });
    return false;
}

QCursor handZeiger()
{
    // Told that it reads a PNG, the reader goes straight to Qt's own
    // decoder; left to find out, it first loads every image format plugin
    // to ask each of them, which costs the splash window milliseconds.
    static const QImage bild = [] {
        QImageReader leser(QStringLiteral(":/res/cursors/hand.png"), "png");
        leser.setAutoDetectImageFormat(false);
        return leser.read();
    }();
    return QCursor(QPixmap::fromImage(bild), 12, 1);
}
}

namespace LinkZiel {
void richteEin(QWidget *control, double breite, double hoehe, const QColor &hintergrund,
               const QString &tooltip)
{
    control->resize(Twips::rechteck(0, 0, breite, hoehe).size());
    control->setAutoFillBackground(true);
    QPalette pal = control->palette();
    pal.setColor(QPalette::Window, hintergrund);
    control->setPalette(pal);
    // The child has no tooltip of its own, so resting on it shows this one.
    control->setToolTip(tooltip);
    control->setAttribute(Qt::WA_NoMousePropagation);
}

QLabel *textLabel(QWidget *control, const QString &text, double breite, double hoehe)
{
    auto *label = new QLabel(text, control);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFont(Schriften::schrift(QStringLiteral("Arial"), 9.75, false, false, true));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(pal);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::setzeGeometrie(label, 0, 0, breite, hoehe);
    return label;
}
}
