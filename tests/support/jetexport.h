#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

// The rows of a table as mdb-export printed them into the test data
// (tests/data/legacy/*.expected.csv): texts in double quotes, doubled inside;
// numbers bare; a null as nothing at all. The header line is left out.
namespace JetExport {

using Zeile = QVector<QVariant>;

QVector<Zeile> lies(const QString &csvPfad);

// The main fixture's expected rows: Frage, Loesung, Antwort1, Antwort2,
// Stufe, ID for its 45 questions.
QVector<Zeile> fragenJet4();

// A field as a label or a text box shows it: a null as the empty text.
QString text(const QVariant &wert);

}
