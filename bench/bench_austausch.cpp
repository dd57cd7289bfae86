// Importing a spreadsheet of as many questions as a game can load, beside
// the sqlite3 program's own .import of the same file.

#include "bench.h"

#include "austausch/sammlung.h"
#include "store/questionfile.h"

#include <QFile>
#include <QProcess>

namespace {
using namespace Bench;

QString tabelle(Kontext &k, int n)
{
    const QString pfad = k.ordner() + QStringLiteral("/import_%1.csv").arg(n);
    if (QFile::exists(pfad))
        return pfad;
    QByteArray text("\xEF\xBB\xBF" "Frage;Loesung;Antwort1;Antwort2;Stufe\r\n");
    for (int i = 0; i < n; ++i)
        text += QStringLiteral("Frage Nummer %1: Wie heißt die Hauptstadt von Land %1?;Stadt %1;Ort %1;Dorf %1;%2\r\n")
                    .arg(i).arg(i % 15 + 1).toUtf8();
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(pfad));
    return pfad;
}

// An empty collection to import into, fresh for each run.
QString leer(Kontext &k, const QString &name)
{
    const QString pfad = k.ordner() + QLatin1Char('/') + name;
    QFile::remove(pfad);
    if (QuestionFile::erzeuge(pfad, {}))
        qFatal("cannot make %s", qPrintable(pfad));
    return pfad;
}

Ergebnis importieren(Kontext &k, int n)
{
    const QString csv = tabelle(k, n);
    Ergebnis e;
    e.zielFaktor = 1.5;
    imWechsel(7, e,
              [&] {
                  const QString ziel = leer(k, QStringLiteral("import.mdb"));
                  return dauer([&] {
                      Austausch::Einlesen ein;
                      if (Sammlung::vorschau(csv, ziel, ein) || ein.angenommen.size() != n
                          || Sammlung::fuegeEin(ziel, ein.angenommen))
                          qFatal("import failed");
                  });
              },
              [&] {
                  const QString ziel = k.ordner() + QStringLiteral("/sqlite_import.db");
                  QFile::remove(ziel);
                  QProcess::execute(QStringLiteral("sqlite3"),
                                    {ziel, QStringLiteral("CREATE TABLE fragen (Frage TEXT, Loesung TEXT, Antwort1 "
                                                          "TEXT, Antwort2 TEXT, Stufe INTEGER)")});
                  return dauer([&] {
                      if (QProcess::execute(QStringLiteral("sqlite3"),
                                            {ziel, QStringLiteral("-cmd"), QStringLiteral(".mode csv"),
                                             QStringLiteral("-cmd"), QStringLiteral(".separator ;"),
                                             QStringLiteral(".import --skip 1 ") + csv + QStringLiteral(" fragen")})
                          != 0)
                          qFatal("sqlite3 could not import %s", qPrintable(csv));
                  });
              });
    return e;
}

const Anmeldung a1(QStringLiteral("exchange: import 32,767-row CSV (floor: sqlite3 .import)"),
                   [](Kontext &k) { return importieren(k, 32767); });
}
