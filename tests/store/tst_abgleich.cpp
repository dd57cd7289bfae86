// Making a collection equal to a spreadsheet: which rows count as changed,
// new, removed or unchanged, and the round trip export -> one answer changed
// -> back, on a collection file and on a real server as teacher and pupil.

#include "pgcluster.h"
#include "testservices.h"

#include "austausch/abgleich.h"
#include "austausch/sammlung.h"

namespace {
using Austausch::Rohzeile;

// "Frage|Loesung|A1|A2|Stufe" per row; a leading "7:" gives the row the ID 7.
QVector<Rohzeile> zeilen(const QStringList &texte, QHash<int, qint64> &ids)
{
    QVector<Rohzeile> z;
    for (QString t : texte) {
        const int zeile = static_cast<int>(z.size()) + 2;
        if (t.indexOf(QLatin1Char(':')) > 0 && t.indexOf(QLatin1Char(':')) < t.indexOf(QLatin1Char('|'))) {
            ids.insert(zeile, t.section(QLatin1Char(':'), 0, 0).toLongLong());
            t = t.section(QLatin1Char(':'), 1);
        }
        z.append({zeile, t.split(QLatin1Char('|')), {}});
    }
    return z;
}

}

class TestAbgleich : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanupTestCase() { delete m_pg; }

    // Rows matched by ID, else by text (case and blanks aside); only the switch removes what the file lacks.
    void plane_data()
    {
        QTest::addColumn<QStringList>("datei");
        QTest::addColumn<bool>("entfernen");
        QTest::addColumn<QString>("ergebnis"); // geändert, neu, entfernt, unverändert, fehlend
        QTest::addColumn<QString>("ids");      // IDs changed, then removed
        const QString a = QStringLiteral("Was ist 2+2?|4|3|5|1"), b = QStringLiteral("Hauptstadt?|Berlin|Bonn|Köln|3");
        QTest::newRow("one answer") << QStringList{a, "Hauptstadt?|Berlin|Bonn|Kiel|3"} << false << "1 0 0 1 0" << "2";
        QTest::newRow("level only") << QStringList{"Was ist 2+2?|4|3|5|2", b} << false << "1 0 0 1 0" << "1";
        QTest::newRow("text by case and blanks") << QStringList{"  was IST  2+2? |4|3|5|1", b} << false
                                                 << "1 0 0 1 0" << "1";
        QTest::newRow("padding is no change") << QStringList{"Was ist 2+2? | 4|3|5 |1", b} << false << "0 0 0 2 0" << "";
        QTest::newRow("new and missing kept") << QStringList{a, "Neu?|x|y|z|4"} << false << "0 1 0 1 1" << "";
        QTest::newRow("missing removed") << QStringList{b} << true << "0 0 1 1 0" << "|1";
        QTest::newRow("unknown ID falls back to text") << QStringList{"99:Was ist 2+2?|4|3|5|1", b} << true
                                                       << "0 0 0 2 0" << "";
        QTest::newRow("two IDs swapped") << QStringList{"2:Was ist 2+2?|4|3|5|1", "1:Hauptstadt?|Berlin|Bonn|Köln|3"}
                                         << false << "2 0 0 0 0" << "2 1";
        QTest::newRow("refused row") << QStringList{a, "Hauptstadt?|Berlin|Berlin|Köln|3"} << true << "0 0 1 1 0"
                                     << "|2";
    }
    void plane()
    {
        QFETCH(QStringList, datei);
        QFETCH(bool, entfernen);
        QFETCH(QString, ergebnis);
        QFETCH(QString, ids);
        const QVector<Abgleich::Bestand> bestand{{1, {"Was ist 2+2?", "4", "3", "5", "1"}},
                                                 {2, {"Hauptstadt?", "Berlin", "Bonn", "Köln", "3"}}};
        QHash<int, qint64> idVon;
        const QVector<Rohzeile> z = zeilen(datei, idVon);
        const Abgleich::Plan p = Abgleich::plane(z, idVon, bestand, entfernen);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5").arg(p.geaendert.size()).arg(p.neu.size()).arg(p.entfernt.size())
                     .arg(p.unveraendert).arg(p.fehlend),
                 ergebnis);
        QStringList geaendert, entfernt;
        for (const auto &g : p.geaendert)
            geaendert << QString::number(g.first);
        for (const qint64 id : p.entfernt)
            entfernt << QString::number(id);
        QCOMPARE(geaendert.join(' ') + (entfernt.isEmpty() ? QString() : QLatin1Char('|') + entfernt.join(' ')), ids);
        QCOMPARE(p.abgelehnt.size(), QTest::currentDataTag() == QByteArray("refused row") ? 1 : 0);
    }

    // Export, one answer changed in the CSV, back in: exactly that one change; a refused row changes nothing.
    void rundreiseDatei()
    {
        TestUmgebung u;
        const QString mdb = u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe(3));
        const QString csv = u.datei(QStringLiteral("fragen.csv"));
        QVERIFY(!Sammlung::exportiere(mdb, csv));
        Austausch::Tabelle vorher;
        QVERIFY(!Sammlung::lies(mdb, vorher));
        // Each answer's text is found once in the export, in its question's row.
        u.schreibeDatei(QStringLiteral("fragen.csv"), liesBytes(csv).replace("Falsch1 S7N2", "Falsch1 S7N2, korrigiert"));
        Abgleich::Plan plan;
        QVERIFY(!Abgleich::gleiche(csv, mdb, true, false, plan));
        QCOMPARE(Abgleich::zusammenfassung(plan), QStringLiteral("1 geändert, 0 neu, 0 entfernt, 44 unverändert"));
        Austausch::Tabelle nachher;
        QVERIFY(!Sammlung::lies(mdb, nachher));
        for (QStringList &z : vorher)
            z.replaceInStrings(QStringLiteral("Falsch1 S7N2"), QStringLiteral("Falsch1 S7N2, korrigiert"));
        QCOMPARE(nachher, vorher);
        // A file with a refused row leaves the collection as it is.
        const QByteArray bytes = liesBytes(mdb);
        u.schreibeDatei(QStringLiteral("fragen.csv"),
                        liesBytes(csv).replace("Falsch2 S2N1", "Falsch1 S2N1").replace("Falsch1 S3N1", "Falsch1 S3N1 neu"));
        QVERIFY(!Abgleich::gleiche(csv, mdb, true, false, plan));
        QCOMPARE(plan.abgelehnt.size(), 1);
        QCOMPARE(liesBytes(mdb), bytes);
    }

    // On the server a teacher's login makes the same one change; a pupil's is refused by the server, and nothing changes.
    void rundreiseServer()
    {
        if (!(m_pg = m_pg ? m_pg : new PgCluster)->grund().isEmpty())
            QSKIP(qPrintable(m_pg->grund()));
        TestUmgebung u;
        QVERIFY(m_pg->psql(QStringLiteral(
            "TRUNCATE fragen RESTART IDENTITY; INSERT INTO fragen (\"Frage\", \"Loesung\", \"Antwort1\", \"Antwort2\", "
            "\"Stufe\") SELECT 'Frage S' || s || 'N1', 'L' || s, 'A' || s, 'B' || s, s FROM generate_series(1, 15) s")));
        QString vorher;
        QVERIFY(m_pg->psql(QStringLiteral("SELECT * FROM fragen ORDER BY \"ID\""), &vorher));
        const QString csv = u.datei(QStringLiteral("fragen.csv"));
        QVERIFY(!Sammlung::exportiere(m_pg->adresse(QStringLiteral("schueler")), csv));
        u.schreibeDatei(QStringLiteral("fragen.csv"), liesBytes(csv).replace(";B9;", ";B99;"));
        Abgleich::Plan plan;
        const StoreError verboten = Abgleich::gleiche(csv, m_pg->adresse(QStringLiteral("schueler")), false, false, plan);
        QVERIFY2(verboten && verboten.text().startsWith(QLatin1String("Keine Berechtigung")), qPrintable(verboten.text()));
        QString jetzt;
        QVERIFY(m_pg->psql(QStringLiteral("SELECT * FROM fragen ORDER BY \"ID\""), &jetzt));
        QCOMPARE(jetzt, vorher);
        QVERIFY(!Abgleich::gleiche(csv, m_pg->adresse(QStringLiteral("lehrer")), false, false, plan));
        QCOMPARE(Abgleich::zusammenfassung(plan), QStringLiteral("1 geändert, 0 neu, 0 entfernt, 14 unverändert"));
        QVERIFY(m_pg->psql(QStringLiteral("SELECT * FROM fragen ORDER BY \"ID\""), &jetzt));
        QCOMPARE(jetzt, vorher.replace(QLatin1String("|B9|"), QLatin1String("|B99|")));
    }

private:
    PgCluster *m_pg = nullptr;
};

QTEST_MAIN(TestAbgleich)
#include "tst_abgleich.moc"
