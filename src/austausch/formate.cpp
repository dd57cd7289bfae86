#include "austausch/formate.h"

#include "austausch/csv.h"
#include "austausch/moodle.h"
#include "austausch/xlsx.h"

#include <QFileInfo>

namespace Formate {
using namespace Austausch;

const QVector<Format> &alle()
{
    static const QVector<Format> tabelle = {
        {QStringLiteral("CSV für Excel und LibreOffice"),
         {QStringLiteral("csv"), QStringLiteral("txt")},
         QStringLiteral("Tabelle als Text (aus Excel, LibreOffice); Trennzeichen ; , oder Tabulator,\n"
                        "UTF-8 oder Windows-1252. Export: UTF-8 mit BOM und ;. Felder, die mit = + - @\n"
                        "oder ' beginnen, bekommen im Export ein ' davor (keine Formeln in Excel);\n"
                        "der Import nimmt es wieder weg."),
         [](QByteArray bytes, QVector<Rohzeile> &zeilen, QString *art, const Fortschritt &f) {
             return Csv::lies(std::move(bytes), zeilen, art, f);
         },
         [](const Tabelle &t, QByteArray &bytes) {
             bytes = Csv::schreibe(t);
             return StoreError();
         },
         nullptr,
         false},
        {QStringLiteral("Excel-Arbeitsmappe"),
         {QStringLiteral("xlsx")},
         QStringLiteral("Excel-Arbeitsmappe, erste Tabelle"),
         [](QByteArray bytes, QVector<Rohzeile> &zeilen, QString *art, const Fortschritt &f) {
             if (art)
                 *art = QStringLiteral("Excel-Arbeitsmappe, erste Tabelle");
             return Xlsx::lies(bytes, zeilen, f);
         },
         Xlsx::schreibe,
         Xlsx::oeffnet,
         true},
        {QStringLiteral("Moodle-XML"),
         {QStringLiteral("xml")},
         QStringLiteral("Moodle-XML: Auswahlfragen mit einer richtigen (100 %) und zwei falschen\n"
                        "Antworten (0 %); die Stufe steht im Schlagwort \"Stufe 7\" oder, ohne ein\n"
                        "solches, im letzten Teil der Kategorie (\".../Stufe 7\")."),
         [](QByteArray bytes, QVector<Rohzeile> &zeilen, QString *art, const Fortschritt &) {
             if (art)
                 *art = QStringLiteral("Moodle-XML");
             return Moodle::lies(bytes, zeilen);
         },
         [](const Tabelle &t, QByteArray &bytes) {
             bytes = Moodle::schreibe(t);
             return StoreError();
         },
         Moodle::oeffnet,
         true},
    };
    return tabelle;
}

const Format *fuer(const QString &pfad)
{
    const QString endung = QFileInfo(pfad).suffix().toLower();
    for (const Format &f : alle()) {
        if (f.endungen.contains(endung))
            return &f;
    }
    return nullptr;
}

namespace {
QString muster(const Format &f)
{
    QStringList m;
    for (const QString &e : f.endungen)
        m << QStringLiteral("*.") + e;
    return m.join(QLatin1Char(' '));
}
}

QString filterLesen()
{
    QStringList alleMuster, filter;
    for (const Format &f : alle()) {
        alleMuster << muster(f);
        filter << QStringLiteral("%1 (%2)").arg(f.name, muster(f));
    }
    return QStringLiteral("Fragen-Tabellen (%1);;").arg(alleMuster.join(QLatin1Char(' ')))
           + filter.join(QStringLiteral(";;")) + QStringLiteral(";;Alle Dateien (*)");
}

QString filterSchreiben()
{
    QStringList filter;
    for (const Format &f : alle())
        filter << QStringLiteral("%1 (%2)").arg(f.name, muster(f));
    return filter.join(QStringLiteral(";;"));
}

QString endungen()
{
    QStringList e;
    for (const Format &f : alle()) {
        for (const QString &endung : f.endungen)
            e << QStringLiteral(".") + endung;
    }
    const QString letzte = e.takeLast();
    return e.join(QStringLiteral(", ")) + QStringLiteral(" und ") + letzte;
}

QString hilfe()
{
    QString t;
    for (const Format &f : alle()) {
        QStringList endungen;
        for (const QString &e : f.endungen)
            endungen << QStringLiteral(".") + e;
        const QStringList zeilen = f.hilfe.split(QLatin1Char('\n'));
        for (int i = 0; i < zeilen.size(); ++i)
            t += QStringLiteral("  %1 %2\n").arg(i == 0 ? endungen.join(QLatin1Char(' ')) : QString(), -10).arg(zeilen[i]);
    }
    return t;
}
}
