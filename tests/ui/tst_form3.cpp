// The question editor, driven through its buttons and fields: browsing,
// storing with the level rules, deleting, a read-only folder, the choice of
// another file and the conversion of an Access file with its backup.

#include "testservices.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>

#include <optional>

namespace {
const char *const kFelder[] = {"txtFrage", "txtLoesung", "txtAntwort1", "txtAntwort2", "txtStufe"};

// The file's rows as a fresh reader sees them; row -1 gives the count only.
QStringList zeileInDatei(const QString &pfad, int zeile, int *anzahl)
{
    Recordset rs;
    oeffne(rs, pfad, false);
    *anzahl = rs.recordCount();
    QStringList z;
    if (zeile >= 0 && !rs.setCurrentIndex(zeile)) {
        for (int i = 0; i < 5; ++i)
            z << rs.value(i).toString();
    }
    return z;
}
}

// Steps, separated by ";": n0..n3 the navigation buttons; gridN a click on
// row N; neu, ok, del, akt the buttons; X=text sets a field (F, L, A, B, S);
// S>text types into the level field and leaves it with Tab; ja / nein
// queue the answer to the next question; ro makes the folder read-only;
// wahl=name chooses a file in the folder (empty: cancel).
class TestForm3 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { schliesseAlleFenster(); }
    // Steps on the editor, then the messages, the file's rows and what the editor shows.
    void bearbeiten_data()
    {
        QTest::addColumn<QString>("sammlung");  // "15", "1": questions per level 1; "access": an Access file
        QTest::addColumn<QString>("schritte");  // see bearbeiten()
        QTest::addColumn<QStringList>("meldungen"); // the beginnings of the boxes shown
        QTest::addColumn<int>("anzahl");        // rows in the file afterwards
        QTest::addColumn<int>("zeile");         // a row to look at
        QTest::addColumn<QStringList>("inhalt"); // its fields (stored and shown)
        QTest::addColumn<QString>("navi");      // the position shown
        const QString leer = QStringLiteral("Sie müssen alle Felder ausfüllen!");
        const QString frage = QStringLiteral("Änderungen übernehmen?");
        const QStringList s1{"Frage S1N1", "Lösung S1N1", "Falsch1 S1N1", "Falsch2 S1N1", "1"};
        const QString ungueltig = QStringLiteral("Die Stufe muss eine ganze Zahl von 1 bis 15 sein.");
        const QString bereich = QStringLiteral("Bitte geben Sie nur Zahlen im Wert von 1-15 ein!");
        const QString loeschen = QStringLiteral("Wollen Sie den aktuellen Datensatz wirklich löschen?");
        const QString access = QStringLiteral("Diese Fragensammlung ist eine Access-Datei, die Kreidolin nur lesen kann.");
        const QStringList s3{"Frage S3N1", "Lösung S3N1", "Falsch1 S3N1", "Falsch2 S3N1", "3"};
        const QStringList s4{"Frage S4N1", "Lösung S4N1", "Falsch1 S4N1", "Falsch2 S4N1", "4"};
        const QString neu = QStringLiteral("neu;F=Neu „ß“?;L=ja;A=nein;B=   ;");
        QTest::newRow("last, previous") << "15" << "n3;n1" << QStringList() << 15 << -1 << QStringList()
                                        << "Frage 14 von 15";
        QTest::newRow("last, next") << "15" << "n3;n2" << QStringList() << 15 << -1 << QStringList() << "Frage 15 von 15";
        QTest::newRow("the current row of the grid") << "15" << "n2;F=geändert;grid1" << QStringList() << 15 << -1
                                                     << QStringList() << "Frage 2 von 15";
        QTest::newRow("new question") << "15" << neu + "S= 7 ;ok" << QStringList() << 16 << 15
                                      << QStringList{"Neu „ß“?", "ja", "nein", "   ", "7"} << "Frage 16 von 16";
        QTest::newRow("new without level") << "15" << neu + "ok" << QStringList{leer} << 15 << -1 << QStringList()
                                           << "Frage 16 von 16";
        QTest::newRow("new with a fraction") << "15" << neu + "S=2.5;ok" << QStringList{ungueltig} << 15 << -1
                                             << QStringList() << "Frage 16 von 16";
        QTest::newRow("new left behind") << "15" << neu + "nein;n0" << QStringList{frage} << 15 << -1 << QStringList()
                                         << "Frage 1 von 15";
        QTest::newRow("new taken along") << "15" << neu + "S=7;ja;n0" << QStringList{frage} << 16 << 15
                                         << QStringList{"Neu „ß“?", "ja", "nein", "   ", "7"} << "Frage 1 von 16";
        QTest::newRow("moving on with a change, yes") << "15" << "n2;F=geändert;ja;n2" << QStringList{frage} << 15 << 1
            << QStringList{"geändert", "Lösung S2N1", "Falsch1 S2N1", "Falsch2 S2N1", "2"} << "Frage 3 von 15";
        QTest::newRow("moving on with a change, cancel") << "15" << "F=geändert;abbrechen;n2" << QStringList{frage}
                                                         << 15 << 0 << s1 << "Frage 1 von 15";
        QTest::newRow("a row of the grid with a change, no") << "15" << "F=geändert;nein;grid2" << QStringList{frage}
                                                             << 15 << 0 << s1 << "Frage 3 von 15";
        QTest::newRow("another file with a new question, yes, refused")
            << "15" << neu + "ja;wahl=andere.mdb" << QStringList{frage, leer} << 15 << -1 << QStringList()
            << "Frage 16 von 16";
        QTest::newRow("change") << "15" << "n2;n2;F=geändert;S=03;ok" << QStringList() << 15 << 2
                                << QStringList{"geändert", "Lösung S3N1", "Falsch1 S3N1", "Falsch2 S3N1", "3"}
                                << "Frage 3 von 15";
        QTest::newRow("refresh on a new question stores nothing") << "15" << neu + "akt"
            << QStringList{"Die neue Frage ist noch nicht gespeichert"} << 15 << -1
                                                                  << QStringList() << "Frage 16 von 16";
        QTest::newRow("leaving the level at 16") << "15" << "n2;n2;S>16" << QStringList{bereich} << 15 << -1
                                                 << QStringList() << "Frage 3 von 15";
        QTest::newRow("leaving the level at 2.5") << "15" << "S>2.5;nein;n2" << QStringList{frage} << 15 << -1
                                                  << QStringList() << "Frage 2 von 15";
        QTest::newRow("delete, no") << "15" << "n2;n2;nein;del" << QStringList{loeschen} << 15 << 2 << s3
                                    << "Frage 3 von 15";
        QTest::newRow("delete, yes") << "15" << "n2;n2;ja;del" << QStringList{loeschen} << 14 << 2 << s4
                                     << "Frage 3 von 14";
        QTest::newRow("delete the last row") << "15" << "n3;ja;del" << QStringList{loeschen} << 14 << -1 << QStringList()
                                             << "Frage 14 von 14";
        QTest::newRow("delete the only question, then nothing selected")
            << "1" << "ja;del;F=F;L=L;A=A;B=B;S=2;ok;del"
            << QStringList{loeschen, "Es ist keine Frage ausgewählt. Mit \"Neue Frage\"", loeschen}
            << 0 << -1 << QStringList() << "Keine Frage ausgewählt";
        QTest::newRow("read-only: store refused, text kept")
            << "15" << "ro;F=geändert;ok" << QStringList{"Die Frage wurde nicht gespeichert.\r\n"} << 15 << -1
            << QStringList() << "Frage 1 von 15";
        QTest::newRow("read-only: delete refused")
            << "15" << "ro;ja;del" << QStringList{loeschen, "Die Frage wurde nicht gelöscht.\r\n"} << 15 << -1
            << QStringList() << "Frage 1 von 15";
        QTest::newRow("another file") << "15" << "wahl=andere.mdb" << QStringList() << 1 << -1 << QStringList()
                                      << "Frage 1 von 1";
        QTest::newRow("choice cancelled") << "15" << "wahl=" << QStringList() << 15 << -1 << QStringList()
                                          << "Frage 1 von 15";
        QTest::newRow("Access: a null shows empty, not the row before's")
            << "access" << "grid10;grid11" << QStringList() << 45 << 11
            << QStringList{"Woraus bauen Honigbienen ihre Waben?", "Aus Wachs", "Aus Holz", "", "4"} << "Frage 12 von 45";
        QTest::newRow("Access: change declined") << "access" << "F=geändert;nein;ok" << QStringList{access} << 45 << -1
                                                 << QStringList() << "Frage 1 von 45";
        QTest::newRow("Access: converted, then stored")
            << "access" << "n2;F=geändert;ja;ok" << QStringList{access} << 45 << 1
            << QStringList{"geändert", "Gelb", "Blau", "Lila", "1"} << "Frage 2 von 45";
        QTest::newRow("Access: new question after conversion")
            << "access" << "ja;neu;F=F;L=L;A=A;B=B;S=15;ok" << QStringList{access} << 46 << 45
            << QStringList{"F", "L", "A", "B", "15"} << "Frage 46 von 46";
        QTest::newRow("Access: read-only folder")
            << "access" << "ro;ja;neu" << QStringList{access, "Die Fragensammlung wurde nicht umgewandelt"} << 45 << -1
            << QStringList() << "Frage 1 von 45";
    }
    void bearbeiten()
    {
        QFETCH(QString, sammlung);
        QFETCH(QString, schritte);
        QFETCH(QStringList, meldungen);
        QFETCH(int, anzahl);
        QFETCH(int, zeile);
        QFETCH(QStringList, inhalt);
        QFETCH(QString, navi);
        TestUmgebung u;
        const QString pfad = u.datei(QStringLiteral("Fragen.mdb"));
        if (sammlung == QLatin1String("access"))
            u.kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Fragen.mdb"));
        else
            u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe().mid(0, sammlung.toInt()));
        u.erzeugeFragen(QStringLiteral("andere.mdb"), TestUmgebung::fragenJeStufe().mid(0, 1));
        const QByteArray original = liesBytes(pfad);
        std::optional<SchreibschutzOrdner> schutz;
        Form3 *f = Fenster::zeige<Form3>();
        QApplication::setActiveWindow(f);
        QVERIFY(f->datenbankGeladen() && QTest::qWaitForWindowActive(f));
        const auto feld = [f](const char *name) { return f->findChild<QLineEdit *>(QLatin1String(name)); };
        const auto knopf = [f](const QString &name) { return f->findChild<QPushButton *>(name); };
        const QString kurz = QStringLiteral("FLABS");
        for (const QString &s : schritte.split(QLatin1Char(';'))) {
            if (s.size() > 1 && s[0] == QLatin1Char('n') && s[1].isDigit()) {
                klicke(knopf(QStringLiteral("cmdNavigation(%1)").arg(s.mid(1))));
            } else if (s.startsWith(QLatin1String("grid"))) {
                auto *grid = f->findChild<QTableView *>(QStringLiteral("DataGrid1"));
                const QRect r = grid->visualRect(grid->model()->index(s.mid(4).toInt(), 1));
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
            } else if (s == QLatin1String("ja") || s == QLatin1String("nein") || s == QLatin1String("abbrechen")) {
                u.meldungen.antworten << (s == QLatin1String("ja")     ? QMessageBox::Yes
                                          : s == QLatin1String("nein") ? QMessageBox::No
                                                                       : QMessageBox::Cancel);
            } else if (s == QLatin1String("ro")) {
                if (!schutz.emplace(u.verzeichnis()).aktiv())
                    QSKIP("cannot make a folder read-only here");
            } else if (s.startsWith(QLatin1String("wahl="))) {
                u.dateiDialoge.antworten << (s.size() > 5 ? u.datei(s.mid(5)) : QString());
                klicke(knopf(QStringLiteral("cmd_browse")));
            } else if (s.size() > 1 && (s[1] == QLatin1Char('=') || s[1] == QLatin1Char('>'))) {
                QLineEdit *e = feld(kFelder[kurz.indexOf(s[0])]);
                e->setFocus(Qt::TabFocusReason);
                e->setText(s.mid(2));
                if (s[1] == QLatin1Char('>'))
                    QTest::keyClick(e, Qt::Key_Tab);
            } else {
                const QMap<QString, QString> knoepfe{{"neu", "cmdNeu"}, {"ok", "cmdUebernehmen"},
                                                     {"del", "cmdLoeschen"}, {"akt", "cmdRefresh"}};
                klicke(knopf(knoepfe.value(s)));
            }
        }
        const QStringList texte = u.meldungen.texte();
        QCOMPARE(texte.size(), meldungen.size());
        for (int i = 0; i < texte.size(); ++i)
            QVERIFY2(texte[i].startsWith(meldungen[i]), qPrintable(texte[i]));
        QCOMPARE(f->findChild<QLabel *>(QStringLiteral("lblNavi"))->text(), navi);
        QStringList felder;
        for (const char *name : kFelder)
            felder << feld(name)->text();
        if (zeile >= 0 && f->recordset()->currentIndex() == zeile && meldungen.isEmpty())
            QCOMPARE(felder, inhalt);
        if (schritte.contains(QLatin1String("S>16")))
            QCOMPARE(feld("txtStufe")->text(), QStringLiteral("1"));
        if (schritte.contains(QLatin1String("F=geändert")))
            QCOMPARE(feld("txtFrage")->text(), QStringLiteral("geändert")); // nothing typed is lost
        const QString gewaehlt = schritte == QLatin1String("wahl=andere.mdb") ? u.datei(QStringLiteral("andere.mdb")) : pfad;
        if (schritte.startsWith(QLatin1String("wahl")))
            QCOMPARE(u.dateiDialoge.aufrufe, QStringList{u.verzeichnis() + QStringLiteral("|*.Access-Datenbanken (*.mdb)")});
        if (schritte.startsWith(QLatin1String("wahl")))
            QCOMPARE(SettingsFile::lies(AppInfo::einstellungsdatei()).value_or(QString()),
                     gewaehlt == pfad ? AppInfo::standardDatenbank() : gewaehlt);
        // Whatever is still typed is declined on closing.
        u.meldungen.antworten = {QMessageBox::No};
        f->close();
        QVERIFY(Fenster::offen<Form1>());
        schliesseAlleFenster();
        schutz.reset();
        int n = 0;
        QCOMPARE(zeileInDatei(gewaehlt, zeile, &n), inhalt);
        QCOMPARE(n, anzahl);
        // An Access file is kept byte for byte: in place, or as the backup once converted.
        const QString sicherung = pfad + QStringLiteral(".jet.bak");
        if (sammlung == QLatin1String("access"))
            QCOMPARE(liesBytes(QFile::exists(sicherung) ? sicherung : pfad), original);
        QCOMPARE(QFile::exists(sicherung), schritte.contains(QLatin1String("ja")) && !schutz && !schritte.contains(QLatin1String("ro")) && sammlung == QLatin1String("access"));
    }
    // Closing with a change asks; the answer stores, drops or keeps the editor open with the text.
    void schliessen_data()
    {
        QTest::addColumn<int>("antwort");
        QTest::addColumn<bool>("offen");
        QTest::addColumn<QString>("gespeichert");
        QTest::newRow("yes") << int(QMessageBox::Yes) << false << "geändert";
        QTest::newRow("no") << int(QMessageBox::No) << false << "Frage S1N1";
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << true << "Frage S1N1";
    }
    void schliessen()
    {
        QFETCH(int, antwort);
        QFETCH(bool, offen);
        QFETCH(QString, gespeichert);
        TestUmgebung u;
        const QString pfad = u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe().mid(0, 3));
        Form3 *f = Fenster::zeige<Form3>();
        QVERIFY(f->datenbankGeladen());
        auto *txtFrage = f->findChild<QLineEdit *>(QStringLiteral("txtFrage"));
        txtFrage->setText(QStringLiteral("geändert"));
        u.meldungen.antworten << static_cast<QMessageBox::StandardButton>(antwort);
        f->close();
        QCOMPARE(u.meldungen.texte(), QStringList{QStringLiteral("Änderungen übernehmen?")});
        QCOMPARE(f->isVisible(), offen);
        if (offen)
            QCOMPARE(txtFrage->text(), QStringLiteral("geändert"));
        u.meldungen.antworten = {QMessageBox::No};
        schliesseAlleFenster();
        int n = 0;
        QCOMPARE(zeileInDatei(pfad, 0, &n).value(0), gespeichert);
    }
    // Only a mouse press on the grid's cells writes the position; other events there do not.
    void mausAufDemGrid_data()
    {
        QTest::addColumn<int>("ereignis");
        QTest::addColumn<bool>("zellen"); // on the cells, else on the header
        QTest::addColumn<bool>("geschrieben");
        QTest::newRow("press on the cells") << int(QEvent::MouseButtonPress) << true << true;
        QTest::newRow("move over the cells") << int(QEvent::MouseMove) << true << false;
        QTest::newRow("press on the header") << int(QEvent::MouseButtonPress) << false << false;
    }
    void mausAufDemGrid()
    {
        QFETCH(int, ereignis);
        QFETCH(bool, zellen);
        QFETCH(bool, geschrieben);
        TestUmgebung u;
        u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe().mid(0, 7));
        Form3 *f = Fenster::zeige<Form3>();
        auto *grid = f->findChild<QTableView *>(QStringLiteral("DataGrid1"));
        auto *lblNavi = f->findChild<QLabel *>(QStringLiteral("lblNavi"));
        lblNavi->setText(QStringLiteral("x"));
        QWidget *ziel = zellen ? grid->viewport() : grid->horizontalHeader()->viewport();
        QMouseEvent e(static_cast<QEvent::Type>(ereignis), QPointF(2, 2), ziel->mapToGlobal(QPointF(2, 2)),
                      ereignis == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      ereignis == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ziel, &e);
        QCOMPARE(lblNavi->text(), geschrieben ? QStringLiteral("Frage 1 von 7") : QStringLiteral("x"));
    }
    // A cancelled server dialog changes neither the remembered choice nor the open collection.
    void serverAbgebrochen()
    {
        TestUmgebung u;
        const QString pfad = u.erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe().mid(0, 2));
        Form3 *f = Fenster::zeige<Form3>();
        const QByteArray vorher = u.liesDatei(QStringLiteral("Kreidolin.ini"));
        QTimer::singleShot(0, f, [] {
            if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                d->reject();
        });
        klicke(f->findChild<QPushButton *>(QStringLiteral("cmd_server")));
        QCOMPARE(u.liesDatei(QStringLiteral("Kreidolin.ini")), vorher);
        QCOMPARE(f->findChild<QLineEdit *>(QStringLiteral("txt_pfad"))->text(), pfad);
        QVERIFY(f->datenbankGeladen());
        QCOMPARE(f->recordset()->recordCount(), 2);
    }
};

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
