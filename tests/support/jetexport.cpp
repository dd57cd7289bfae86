#include "jetexport.h"

#include <QFile>

namespace JetExport {

QVector<Zeile> lies(const QString &csvPfad)
{
    QFile datei(csvPfad);
    if (!datei.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(csvPfad));
    const QString text = QString::fromUtf8(datei.readAll());

    QVector<Zeile> zeilen;
    Zeile zeile;
    QString feld;
    bool zitiert = false;
    bool imZitat = false;
    const auto feldEnde = [&] {
        if (zitiert) {
            zeile.append(feld);
        } else if (feld.isEmpty()) {
            zeile.append(QVariant());
        } else {
            bool zahl = false;
            const qlonglong wert = feld.toLongLong(&zahl);
            zeile.append(zahl ? QVariant(wert) : QVariant(feld));
        }
        feld.clear();
        zitiert = false;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (imZitat) {
            if (ch == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                feld += ch;
                ++i;
            } else if (ch == QLatin1Char('"')) {
                imZitat = false;
            } else {
                feld += ch;
            }
        } else if (ch == QLatin1Char('"')) {
            imZitat = zitiert = true;
        } else if (ch == QLatin1Char(',')) {
            feldEnde();
        } else if (ch == QLatin1Char('\n')) {
            feldEnde();
            zeilen.append(zeile);
            zeile.clear();
        } else if (ch != QLatin1Char('\r')) {
            feld += ch;
        }
    }
    if (!feld.isEmpty() || zitiert || !zeile.isEmpty()) {
        feldEnde();
        zeilen.append(zeile);
    }
    if (!zeilen.isEmpty())
        zeilen.removeFirst();
    return zeilen;
}

QVector<Zeile> fragenJet4()
{
    return lies(QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/fragen_jet4.expected.csv"));
}

QString text(const QVariant &wert)
{
    return wert.isNull() ? QString() : wert.toString();
}

}
