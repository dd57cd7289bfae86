// The admin's choice of the collection in the editor: it opens that one over
// the user's own older choice, and both choosing buttons say the admin fixed
// it instead of changing anything.

#include "testservices.h"

#include <QDialog>
#include <QTimer>

class TestVorgabe : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editorZeigtDieVorgabe()
    {
        TestUmgebung u;
        const QString eigene = u.erzeugeFragen(QStringLiteral("eigene.mdb"), TestUmgebung::fragenJeStufe().mid(0, 1));
        const QString schule = u.erzeugeFragen(QStringLiteral("schule.mdb"), TestUmgebung::fragenJeStufe().mid(0, 2));
        QVERIFY(!SettingsFile::schreibe(AppInfo::einstellungsdatei(), eigene));
        const QByteArray ini = liesBytes(AppInfo::einstellungsdatei());
        u.schreibeDatei(QStringLiteral("vorgabe.ini"), "# vom Administrator\n" + schule.toUtf8() + "\n");
        Form3 *f = Fenster::zeige<Form3>();
        QVERIFY(f->datenbankGeladen());
        QCOMPARE(f->findChild<QLineEdit *>(QStringLiteral("txt_pfad"))->text(), schule);
        QCOMPARE(f->findChild<QLabel *>(QStringLiteral("lblNavi"))->text(), QStringLiteral("Frage 1 von 2"));
        u.dateiDialoge.antworten << eigene;
        for (const char *knopf : {"cmd_browse", "cmd_server"}) {
            // A dialog that opens all the same is closed, so that the fault shows as a failure, not a hang.
            QTimer::singleShot(2000, [] {
                if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    d->reject();
            });
            klicke(f->findChild<QPushButton *>(QLatin1String(knopf)));
            QCOMPARE(u.meldungen.texte().size(), 1);
            QVERIFY2(u.meldungen.texte().constFirst().startsWith(QLatin1String("Der Administrator hat die "
                                                                              "Fragensammlung")),
                     knopf);
            QVERIFY(u.meldungen.texte().constFirst().contains(schule));
            u.meldungen.gezeigt.clear();
        }
        QVERIFY(u.dateiDialoge.aufrufe.isEmpty());
        QCOMPARE(f->findChild<QLineEdit *>(QStringLiteral("txt_pfad"))->text(), schule);
        QCOMPARE(liesBytes(AppInfo::einstellungsdatei()), ini);
    }
};

QTEST_MAIN(TestVorgabe)
#include "tst_vorgabe.moc"
