#include "ui/splashregeln.h"

namespace Splash {
QString autorenSatz(const QString &klasse)
{
    return QStringLiteral("Programmiert im Rahmen eines Unterrichtsprojektes von Schülerinnen und "
                          "Schülern der Klasse ")
        + klasse + QStringLiteral(" des") + QString(38, QLatin1Char(' '))
        + QStringLiteral("in Kooperation mit der") + QString(44, QLatin1Char(' ')) + QStringLiteral(".  ");
}

QString erklaerung() { return QStringLiteral("Ein Quiz für alle Altersstufen\r\r"); }

QString anschrift(const QStringList &zeilen) { return zeilen.join(QLatin1Char('\r')); }

Lage ladeLage(double innenBreite)
{
    Lage lage{};
    lage.lblTitel = (innenBreite - kTitelBreite) / 2;
    lage.lblErklaerung = (innenBreite - kErklaerungBreite) / 2;
    lage.LinkAmsel1 = (innenBreite - kLogoBreite) / 2;
    lage.lblAmsel2 = lage.LinkAmsel1;
    lage.lblversion = (innenBreite - kVersionBreite) / 2;
    lage.MailMorlon1Left = lage.lblAmsel2;
    lage.MailMorlon1Top = kAnschriftTop + kAnschriftHoehe;
    return lage;
}

bool ergibtZeichen(int key, const QString &text, Qt::KeyboardModifiers tasten)
{
    if (text.isEmpty())
        return false;
    if (tasten.testFlag(Qt::AltModifier) && !tasten.testFlag(Qt::ControlModifier))
        return false;
    switch (key) {
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_unknown: // composed characters such as ä arrive without a key code
        return true;
    default:
        // The remaining special keys (Delete, Insert, keypad navigation)
        // carry control text on some systems but type nothing.
        return key < Qt::Key_Escape;
    }
}

QVector<Zeile> setze(const QString &text, double breite, double blankBreite,
                     const std::function<double(const QString &)> &wortBreite)
{
    QVector<Zeile> zeilen(1);
    double x = 0;
    int i = 0;
    while (i < text.size()) {
        if (text.at(i) == QLatin1Char(' ')) {
            x += blankBreite;
            ++i;
            continue;
        }
        int ende = i;
        while (ende < text.size() && text.at(ende) != QLatin1Char(' '))
            ++ende;
        const QString wort = text.mid(i, ende - i);
        const double w = wortBreite(wort);
        if (!zeilen.last().isEmpty() && x + w > breite) {
            zeilen.append(Zeile());
            x = 0;
        }
        zeilen.last().append(Wort{x, wort});
        x += w;
        i = ende;
    }
    return zeilen;
}
}
