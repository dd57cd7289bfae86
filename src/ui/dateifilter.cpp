#include "ui/dateifilter.h"

#include <QStringList>

namespace DateiFilter {
QString zuQt(const QString &filter)
{
    const QStringList teile = filter.split(QLatin1Char('|'));
    QStringList eintraege;
    for (int i = 0; i < teile.size(); i += 2) {
        const QString beschreibung = teile[i].trimmed();
        QString muster = teile.value(i + 1).trimmed();
        muster.replace(QLatin1Char(';'), QLatin1Char(' '));
        muster = muster.simplified();
        if (beschreibung.isEmpty() && muster.isEmpty())
            continue;
        if (muster.isEmpty() || beschreibung.contains(QLatin1Char('(') + muster + QLatin1Char(')')))
            eintraege << beschreibung;
        else if (beschreibung.isEmpty())
            eintraege << muster;
        else
            eintraege << beschreibung + QStringLiteral(" (") + muster + QLatin1Char(')');
    }
    return eintraege.join(QStringLiteral(";;"));
}
}
