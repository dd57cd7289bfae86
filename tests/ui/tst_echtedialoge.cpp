#include "testservices.h"

#include "basis/fensterwahl.h"
#include "basis/realservices.h"
#include "basis/sprachausgabe.h"

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <functional>

#include <csignal>

namespace {
// Answers each real message box from inside its own loop, as a user would:
// notes its text, runs a step while it is open, then presses its default
// button or the one chosen.
class Antworter : public QObject {
public:
    QStringList texte;
    std::function<void()> waehrendOffen;
    QMessageBox::StandardButton wahl = QMessageBox::NoButton;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show) {
            // Names and questions in a message must never be read as markup.
            texte << (box->textFormat() == Qt::PlainText ? box->text() : QStringLiteral("(not plain text)"));
            QTimer::singleShot(0, this, [this, box = QPointer<QMessageBox>(box)] {
                if (auto schritt = std::exchange(waehrendOffen, nullptr))
                    schritt();
                if (!box)
                    return;
                QAbstractButton *knopf = wahl ? box->button(wahl) : box->defaultButton();
                (knopf ? knopf : box->buttons().value(0))->click();
            });
        }
        return false;
    }
};

QWidget *offen(Fensterart art) { return Fensterwahl::offen(art); }

void klickeKind(QWidget *fenster, const char *name)
{
    auto *kind = fenster->findChild<QWidget *>(QLatin1String(name));
    QVERIFY(kind);
    QTest::mouseClick(fenster->windowHandle(), Qt::LeftButton, Qt::NoModifier, kind->mapTo(fenster, QPoint(4, 4)));
}
}

class TestEchteDialoge : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_u = std::make_unique<TestUmgebung>();
        Services::setMessages(&m_echt);
        qApp->installEventFilter(&m_antworter);
        m_antworter.texte.clear();
        m_antworter.wahl = QMessageBox::NoButton;
    }
    void cleanup()
    {
        // A change left typed in the editor is declined as the windows close.
        m_antworter.wahl = QMessageBox::No;
        m_u.reset();
        qApp->removeEventFilter(&m_antworter);
    }
    // Every flow in which windows open and close around a real message box
    // leaves the windows as the program's flow says, and the program running.
    void ablauf_data()
    {
        QTest::addColumn<QString>("ablauf");
        QTest::addColumn<QString>("offeneFenster"); // H main, S game, E editor, P splash, A instructions
        QTest::addColumn<QByteArray>("highscore");
        QTest::addColumn<int>("meldungen");

        QTest::newRow("giving up") << "aufgeben" << "H" << QByteArray("Anna | 0\r\n") << 1;
        QTest::newRow("the Abitur") << "sieg" << "H" << QByteArray("Anna | 15\r\n") << 15;
        QTest::newRow("no questions: the editor") << "ladefehler" << "E" << QByteArray() << 1;
        QTest::newRow("splash link cannot open") << "splashlink" << "P" << QByteArray() << 1;
        QTest::newRow("instructions link cannot open") << "anleitungslink" << "A" << QByteArray() << 1;
        QTest::newRow("highscore warning at 1000") << "warnung" << "H" << QByteArray() << 1;
        QTest::newRow("main window deleted under its box") << "geloescht" << "" << QByteArray() << 1;
        QTest::newRow("highscore unreadable") << "lesefehler" << "H" << QByteArray() << 1;
        QTest::newRow("Access conversion question") << "umwandlung" << "E" << QByteArray() << 1;
        QTest::newRow("Access conversion accepted") << "umwandlungJa" << "E" << QByteArray() << 1;
        QTest::newRow("editor deleted under the conversion question") << "umwandlungWeg" << "" << QByteArray() << 1;
    }
    void ablauf()
    {
        QFETCH(QString, ablauf);
        QFETCH(QString, offeneFenster);
        QFETCH(QByteArray, highscore);
        QFETCH(int, meldungen);
        int letzteFensterZu = 0;
        connect(qApp, &QGuiApplication::lastWindowClosed, this, [&] { ++letzteFensterZu; });
        m_u->urls.ergebnis = false;
        m_u->erzeugeFragen(QStringLiteral("Fragen.mdb"), TestUmgebung::fragenJeStufe());

        if (ablauf == QLatin1String("aufgeben")) {
            starteSpiel()->cmdGiveUp->click();
        } else if (ablauf == QLatin1String("sieg")) {
            Form2 *spiel = starteSpiel();
            for (int stufe = 1; stufe <= 15; ++stufe) {
                QTest::mouseClick(spiel->lblLoesung, Qt::LeftButton);
                spiel->cmdOK->click();
            }
        } else if (ablauf == QLatin1String("ladefehler")) {
            m_u->schreibeDatei(QStringLiteral("Fragen.mdb"), QByteArray());
            starteSpiel();
        } else if (ablauf == QLatin1String("splashlink")) {
            QWidget *splash = Fensterwahl::zeige(Fensterart::Splash);
            QVERIFY(QTest::qWaitForWindowExposed(splash));
            klickeKind(splash, "imgLogo");
        } else if (ablauf == QLatin1String("anleitungslink")) {
            QWidget *anleitung = Fensterwahl::zeige(Fensterart::Anleitung);
            QVERIFY(QTest::qWaitForWindowExposed(anleitung));
            klickeKind(anleitung, "MailMorlon1");
        } else if (ablauf == QLatin1String("warnung") || ablauf == QLatin1String("geloescht")) {
            m_u->schreibeDatei(QStringLiteral("highscore.dtt"), QByteArray("Name | 1\r\n").repeated(1000));
            if (ablauf == QLatin1String("geloescht")) {
                m_antworter.waehrendOffen = [] {
                    QWidget *haupt = offen(Fensterart::Haupt);
                    haupt->close();
                    delete haupt;
                };
            }
            Fensterwahl::zeige(Fensterart::Haupt);
        } else if (ablauf == QLatin1String("lesefehler")) {
            QDir(m_u->verzeichnis()).mkdir(QStringLiteral("highscore.dtt"));
            Fensterwahl::zeige(Fensterart::Haupt);
        } else if (ablauf.startsWith(QLatin1String("umwandlung"))) {
            m_u->kopiereTestdatei(QStringLiteral("legacy/fragen_jet4.mdb"), QStringLiteral("Fragen.mdb"));
            auto *editor = Fensterwahl::zeige(Fensterart::Editor);
            if (ablauf.endsWith(QLatin1String("Ja")))
                m_antworter.wahl = QMessageBox::Yes;
            if (ablauf.endsWith(QLatin1String("Weg"))) // nothing converted, the file as it was
                m_antworter.waehrendOffen = [] { delete offen(Fensterart::Editor); };
            editor->findChild<QLineEdit *>(QStringLiteral("txtFrage"))->setText(QStringLiteral("Geändert?"));
            editor->findChild<QPushButton *>(QStringLiteral("cmdUebernehmen"))->click();
        }
        QTRY_COMPARE(m_antworter.texte.size(), meldungen);
        QVERIFY(!m_antworter.texte.contains(QStringLiteral("(not plain text)")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (ablauf.endsWith(QLatin1String("Weg")))
            QVERIFY(m_u->liesDatei(QStringLiteral("Fragen.mdb")) == liesBytes(QStringLiteral(KREIDOLIN_TEST_DATA "/legacy/fragen_jet4.mdb")));
        QCOMPARE(QFile::exists(m_u->datei(QStringLiteral("Fragen.mdb.jet.bak"))), ablauf.endsWith(QLatin1String("Ja")));
        if (ablauf.endsWith(QLatin1String("link"))) { // the failure names the address as typed, without its scheme
            const QString adresse = m_u->urls.geoeffnet.value(0).toString(QUrl::RemoveScheme).remove(QStringLiteral("//"));
            QVERIFY2(m_antworter.texte.value(0).contains(adresse) && !adresse.isEmpty(), qPrintable(adresse));
            QVERIFY(!m_antworter.texte.value(0).contains(QStringLiteral("mailto")));
        }

        const QList<QPair<QChar, Fensterart>> arten{{'H', Fensterart::Haupt}, {'S', Fensterart::Spiel},
            {'E', Fensterart::Editor}, {'P', Fensterart::Splash}, {'A', Fensterart::Anleitung}};
        for (const auto &[zeichen, art] : arten)
            QVERIFY2(bool(offen(art)) == offeneFenster.contains(zeichen), qPrintable(QString(zeichen)));
        if (ablauf != QLatin1String("warnung") && ablauf != QLatin1String("geloescht"))
            QCOMPARE(m_u->liesDatei(QStringLiteral("highscore.dtt")), highscore);
        // A flow that leaves a window open has not ended the program.
        if (!offeneFenster.isEmpty())
            QCOMPARE(letzteFensterZu, 0);
    }
    // The real speech engine starts out of sight and begins to read German
    // aloud; skipped where no engine or German voice is there.
    void sprache()
    {
        // A speech-dispatcher of its own, ended below, not one left by another run.
        QTemporaryDir laufzeit;
        const QByteArray vorher = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(laufzeit.path()));
        auto echt = std::make_unique<EchteSprachausgabe>();
        const QDeadlineTimer frist(30000);
        while (echt->verfuegbar() && !echt->bereit() && !frist.hasExpired())
            QTest::qWait(100);
        if (echt->bereit()) {
            echt->sage(QStringLiteral("Guten Morgen, Klasse!"));
            (void)QTest::qWaitFor([&] { return echt->begonnen() > 0; }, 15000); // checked below
        }
        const QString grund = echt->bereit() ? QString() : echt->verfuegbar() ? QStringLiteral("no engine in 30 s") : echt->grund();
        const int begonnen = echt->begonnen();
        echt.reset();
        qputenv("XDG_RUNTIME_DIR", vorher);
        // Busy with its sound it ignores SIGTERM; its voice module follows it.
        if (const int daemon = liesBytes(laufzeit.filePath(QStringLiteral("speech-dispatcher/pid/speech-dispatcher.pid"))).trimmed().toInt())
            ::kill(daemon, SIGKILL);
        if (!grund.isEmpty())
            QSKIP(qPrintable(grund));
        QVERIFY(begonnen > 0);
    }

private:
    RealMessageBoxes m_echt;
    Antworter m_antworter;
    std::unique_ptr<TestUmgebung> m_u;
};

QTEST_MAIN(TestEchteDialoge)
#include "tst_echtedialoge.moc"
