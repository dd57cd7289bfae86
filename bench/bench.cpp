#include "bench.h"

#include "store/questionfile.h"

#include <QFileInfo>
#include <QProcess>

namespace Bench {
QVector<Fall> &alle()
{
    static QVector<Fall> faelle;
    return faelle;
}

namespace {
// Texts as long as those of the shipped collection: questions of about 60
// characters, answers of about 10.
FrageZeile zeile(int i, int stufe)
{
    return {QStringLiteral("Frage %1 der Stufe %2: Wie viel ergibt %1 plus %2 im Kopf?").arg(i).arg(stufe),
            QStringLiteral("%1 Punkte").arg(i + stufe), QStringLiteral("%1 Punkte").arg(i + stufe + 1),
            QStringLiteral("%1 Punkte").arg(i + stufe + 10), stufe, QVariant()};
}

QString schreibe(const QString &pfad, const QVector<FrageZeile> &zeilen)
{
    if (const StoreError e = QuestionFile::erzeuge(pfad, zeilen))
        qFatal("%s", qPrintable(e.text()));
    return pfad;
}
}

QString Kontext::fragen(int n)
{
    const QString pfad = m_ordner + QStringLiteral("/fragen_%1.mdb").arg(n);
    if (QFileInfo::exists(pfad))
        return pfad;
    QVector<FrageZeile> zeilen;
    zeilen.reserve(n);
    for (int i = 0; i < n; ++i)
        zeilen.append(zeile(i, i % 15 + 1));
    return schreibe(pfad, zeilen);
}

QString Kontext::fragenEineDerStufe2(int n)
{
    const QString pfad = m_ordner + QStringLiteral("/fragen_%1_eine_stufe2.mdb").arg(n);
    if (QFileInfo::exists(pfad))
        return pfad;
    QVector<FrageZeile> zeilen;
    zeilen.reserve(n);
    for (int i = 0; i < n; ++i)
        zeilen.append(zeile(i, i == n / 2 ? 2 : 1));
    return schreibe(pfad, zeilen);
}

double sqliteLesen(const QString &pfad)
{
    return dauer([&] {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(QStringLiteral("sqlite3"), {pfad, QStringLiteral("select * from fragen")});
        if (!p.waitForFinished() || p.exitCode() != 0)
            qFatal("sqlite3 could not read %s", qPrintable(pfad));
    });
}
}
