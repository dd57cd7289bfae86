#include "bench.h"

#include "store/questionfile.h"

#include <QFileInfo>

namespace Bench {
QVector<Fall> &alle()
{
    static QVector<Fall> faelle;
    return faelle;
}

QString Kontext::fragen(int n)
{
    const QString pfad = m_ordner + QStringLiteral("/fragen_%1.mdb").arg(n);
    if (QFileInfo::exists(pfad))
        return pfad;
    QVector<FrageZeile> zeilen;
    zeilen.reserve(n);
    for (int i = 0; i < n; ++i) {
        const int stufe = i % 15 + 1;
        zeilen.append({QStringLiteral("Frage %1 der Stufe %2: Was ergibt %1 + %2?").arg(i).arg(stufe),
                       QString::number(i + stufe), QString::number(i + stufe + 1), QString::number(i + stufe + 10),
                       stufe, QVariant()});
    }
    QuestionFile::erzeuge(pfad, zeilen);
    return pfad;
}
}
