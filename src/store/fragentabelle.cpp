#include "store/fragentabelle.h"

namespace Fragentabelle {

QString tabelle()
{
    return QStringLiteral("fragen");
}

const QStringList &spalten()
{
    static const QStringList namen = {QStringLiteral("Frage"), QStringLiteral("Loesung"), QStringLiteral("Antwort1"),
                                      QStringLiteral("Antwort2"), QStringLiteral("Stufe")};
    return namen;
}

QString name(Spalte spalte)
{
    return spalten().at(static_cast<int>(spalte));
}

QString titel(Spalte spalte)
{
    switch (spalte) {
    case Spalte::Loesung:
        return QStringLiteral("Lösung");
    case Spalte::Antwort1:
        return QStringLiteral("Antwort 1");
    case Spalte::Antwort2:
        return QStringLiteral("Antwort 2");
    default:
        return name(spalte);
    }
}

namespace {
int imBereich(qint64 n)
{
    return n >= kErsteStufe && n <= kLetzteStufe ? static_cast<int>(n) : 0;
}

int ausText(QStringView t)
{
    t = t.trimmed();
    if (t.startsWith(QLatin1Char('+')))
        t = t.mid(1);
    const qsizetype trenner = t.indexOf(QLatin1Char('.')) >= 0 ? t.indexOf(QLatin1Char('.'))
                                                                : t.indexOf(QLatin1Char(','));
    if (trenner >= 0) {
        const QStringView rest = t.mid(trenner + 1);
        if (rest.isEmpty() || rest.count(QLatin1Char('0')) != rest.size())
            return 0;
        t = t.left(trenner);
    }
    if (t.isEmpty())
        return 0;
    int n = 0;
    for (const QChar c : t) {
        // Beyond the last level the reading stops, so no text can overflow.
        if (c < QLatin1Char('0') || c > QLatin1Char('9') || (n = n * 10 + (c.unicode() - '0')) > kLetzteStufe)
            return 0;
    }
    return imBereich(n);
}
}

int stufe(const QVariant &wert)
{
    if (wert.isNull())
        return 0;
    switch (wert.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return imBereich(wert.toLongLong());
    case QMetaType::ULongLong:
        return wert.toULongLong() <= static_cast<qulonglong>(kLetzteStufe) ? imBereich(wert.toLongLong()) : 0;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = wert.toDouble();
        for (int s = kErsteStufe; s <= kLetzteStufe; ++s) {
            if (d == static_cast<double>(s))
                return s;
        }
        return 0;
    }
    case QMetaType::QString:
        return ausText(wert.toString());
    case QMetaType::QByteArray:
        return ausText(QString::fromUtf8(wert.toByteArray()));
    default:
        return 0;
    }
}
}
