#pragma once

#include "store/serveradresse.h"
#include "store/storeerror.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVector>

struct TableData;
struct TableRow;
class Zeilenspeicher;

// The program's statements on a PostgreSQL server, through Qt's PSQL
// driver. Every value goes in bound to a placeholder, never into the text.
namespace Server {
// Opens the driver connection called name (reusing it when it is open on
// the same address). Without a password libpq reads the user's password
// file; only a server that asks for one gets the one the user typed in this
// run, asked at most once per address.
StoreError verbinde(const QString &name, const ServerAdresse &adresse);
// The address leads to a question collection: the connection is made and
// the table fragen can be read.
StoreError pruefe(const ServerAdresse &adresse);
// Forgets the passwords of this run (for tests: "the next start").
void vergissPasswoerter();

// A refused statement in the program's words: no permission (was says to
// do what, "Fragen zu ändern"), the connection lost, or the server's reason.
StoreError fehler(const QSqlError &e, const ServerAdresse &adresse, const QString &was);

// The server's first line of a refusal, without its severity.
QString grund(const QSqlError &e);

// Runs sql with the values bound in order (without values, as it stands),
// given up when the server does not answer within a few seconds. Only a
// statement that may run twice (wiederholbar: a read, or one the server
// takes once by its key) is tried again on a connection opened anew when the
// server dropped the old one: any other may have committed already.
StoreError fuehreAus(QSqlQuery &query, const QString &name, const ServerAdresse &adresse, const QString &sql,
                     const QVector<QVariant> &werte, const QString &was, bool wiederholbar = false);

// The question table, addressed by its whole-number column "ID". vorherSpalten
// and vorher are the row as it was read: a change or deletion of a row that
// differs from it on the server is refused (Art::Konflikt). A change whose
// commit was cut off is looked up on the server after a reconnect and
// reported as it came out; it is never sent twice blindly.
StoreError liesTabelle(const QString &name, const ServerAdresse &adresse, const QString &tabelle, TableData &out,
                       Zeilenspeicher *zeilen, int maxRows);
StoreError liesZeile(const QString &name, const ServerAdresse &adresse, const QString &tabelle, qint64 id,
                     TableRow &zeile, bool &da);
StoreError fuegeEin(const QString &name, const ServerAdresse &adresse, const QString &tabelle,
                    const QStringList &spalten, const QVector<QVariant> &werte, TableRow &gespeichert);
StoreError aendere(const QString &name, const ServerAdresse &adresse, const QString &tabelle, qint64 id,
                   const QStringList &spalten, const QVector<QVariant> &werte, const QStringList &vorherSpalten,
                   const QVector<QVariant> &vorher);
StoreError loesche(const QString &name, const ServerAdresse &adresse, const QString &tabelle, qint64 id,
                   const QStringList &vorherSpalten, const QVector<QVariant> &vorher);
}
