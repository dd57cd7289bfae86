#include "store/questionfile.h"

#include "store/sqlitegrund.h"

#include <QAtomicInt>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <filesystem>

namespace {
StoreError fehler(const QString &pfad, const QString &grund)
{
    return StoreError(QStringLiteral("Die Fragendatenbank %1 kann nicht geschrieben werden: %2").arg(pfad, grund));
}

StoreError fehler(const QString &pfad, const QSqlError &e)
{
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return fehler(pfad, ok ? sqliteGrund(code, e.databaseText()) : e.text());
}

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

StoreError schreibeInto(const QString &name, const QString &datei, const QString &pfad,
                        const QVector<FrageZeile> &zeilen, const QuestionFile::SechsteSpalte &sechste)
{
    const QString id = quoteIdentifier(sechste.name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(datei);
    if (!db.open())
        return fehler(pfad, db.lastError());
    QSqlQuery q(db);
    const QString idSpalte = sechste.autoNummer ? id + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT") : id;
    QStringList spalten;
    for (const QString &name : Fragentabelle::spalten())
        spalten << quoteIdentifier(name)
                       + (name == Fragentabelle::name(Fragentabelle::Spalte::Stufe) ? QStringLiteral(" INTEGER")
                                                                                     : QStringLiteral(" TEXT"));
    const QString tabelle = quoteIdentifier(Fragentabelle::tabelle());
    if (!q.exec(QStringLiteral("CREATE TABLE %1 (%2, %3)").arg(tabelle, spalten.join(QStringLiteral(", ")), idSpalte)))
        return fehler(pfad, q.lastError());
    if (!db.transaction())
        return fehler(pfad, db.lastError());
    QStringList namen;
    for (const QString &name : Fragentabelle::spalten())
        namen << quoteIdentifier(name);
    q.prepare(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?, ?, ?, ?, ?)")
                  .arg(tabelle, namen.join(QStringLiteral(", ")), id));
    for (const FrageZeile &z : zeilen) {
        q.addBindValue(z.frage);
        q.addBindValue(z.loesung);
        q.addBindValue(z.antwort1);
        q.addBindValue(z.antwort2);
        q.addBindValue(z.stufe);
        q.addBindValue(z.id);
        if (!q.exec()) {
            const QSqlError grund = q.lastError();
            db.rollback();
            return fehler(pfad, grund);
        }
    }
    if (!db.commit())
        return fehler(pfad, db.lastError());
    return {};
}
}

namespace QuestionFile {
StoreError erzeuge(const QString &pfad, const QVector<FrageZeile> &zeilen)
{
    return erzeuge(pfad, zeilen, SechsteSpalte());
}

StoreError erzeuge(const QString &pfad, const QVector<FrageZeile> &zeilen, const SechsteSpalte &sechste)
{
    static QAtomicInt counter;
    const QString name = QStringLiteral("kreidolin-neu-%1").arg(counter.fetchAndAddRelaxed(1));
    const QString temp = pfad + QStringLiteral(".neu");
    QFile::remove(temp);
    StoreError e = schreibeInto(name, temp, pfad, zeilen, sechste);
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
    if (!e) {
        // Replaces the target in one step where the system allows it.
        std::error_code ec;
        std::filesystem::rename(QFile::encodeName(temp).toStdString(), QFile::encodeName(pfad).toStdString(), ec);
        if (ec)
            e = fehler(pfad, QStringLiteral("Die fertige Datei lässt sich nicht an ihren Platz bringen (Fehler %1).")
                                 .arg(ec.value()));
    }
    QFile::remove(temp);
    // What SQLite keeps beside a file it could not finish.
    QFile::remove(temp + QStringLiteral("-journal"));
    return e;
}
}
