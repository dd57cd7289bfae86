#include "start/fenster.h"
#include "basis/twips.h"
#include "testservices.h"
#include "ui/anleitung.h"
#include "ui/form5.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QWindow>

namespace {
Form5 *oeffneAnleitung()
{
    Form5 *anleitung = Fenster::zeige<Form5>();
    if (!QTest::qWaitForWindowExposed(anleitung))
        qFatal("instructions window not exposed");
    return anleitung;
}

QTextEdit *textansicht(QWidget *w) { return w->findChild<QTextEdit *>(QStringLiteral("RichTextBox1")); }

// The paragraphs as users have always read them, written out here on purpose
// rather than taken from the program.
QStringList erwarteteAbsaetze()
{
    return {
        QStringLiteral("Ziel des Spiels: Bestehen des Abiturs, indem alle Fragen richtig beantwortet werden!"),
        QString(),
        QStringLiteral("1.)\tTragen Sie Ihren Namen ein, um das Spiel zu beginnen"),
        QString(),
        QStringLiteral("2.)\tIm Spiel gibt es pro Frage 3 Antwortmöglichkeiten, wählen Sie die richtige "
                       "Antwortmöglichkeit aus und bestätigen diese."),
        QString(),
        QStringLiteral("3.)\tFalls Sie die Frage nicht beantworten können, können Sie einen der drei Joker zur "
                       "Hilfe nehmen:"),
        QStringLiteral("\t2 x 50:50 = jeweils eine falsche Antwort wird gestrichen"),
        QStringLiteral("\t1 x Lehrer = Sie fragen im Lehrerzimmer nach und erhalten eine Abstimmungsergebnis, "
                       "das nicht immer stimmen muss!"),
        QString(),
        QStringLiteral("4.)\tSie können auch aufgeben. Ihr aktueller Spielstand wird in die Highscoreliste "
                       "eingetragen. Für jede richtige Antwort gibt es einen Punkt."),
        QString(),
        QStringLiteral("5.)\tFragen einfügen: Über diese Option ist es möglich, die Fragendatenbank zu öffnen und "
                       "um eigene Fragen zu erweitern. Hierbei gibt man die Frage, die Lösung und 2 falsche "
                       "Antwortmöglichkeiten ein. Der Frage muss noch in eine Schwierigkeitsstufe eingeteilt "
                       "werden."),
        QString(),
        QStringLiteral("6.)\tSie können verschiedene Datenbanken anlegen (z.B. für unterschiedliche "
                       "Jahrgangsstufen oder Wissensgebiete). Dazu kopieren Sie die Datei \u201EFragen.mdb\" im "
                       "Anwendungsverzeichnis (C:\\Programme\\Kreidolin) und speichern Sie unter einem neuen "
                       "Namen (z.B. Fragen1.mdb, Fragen2.mdb ...) ab. Laden Sie dann \u00FCber  den Button "
                       "\u201EDatenbank ausw\u00E4hlen\" die gew\u00FCnschte Datei und ver\u00E4ndern Sie diese "
                       "dann nach ihren W\u00FCnschen.  Das Programm merkt sich diese Einstellung und startet "
                       "wieder mit der zuletzt geladenen Fragensammlung. "),
        QString(),
        QStringLiteral("7.)\tWenn Sie die Fragendatenbank an team@kreidolin.example senden,  wird sie unter "
                       "www.kreidolin.example auch anderen Benutzern zur Verf\u00FCgung gestellt"),
        QString(),
        QString(),
        QStringLiteral(" Wir w\u00FCnschen viel Spa\u00DF mit unserem Spiel!"),
        QString(),
    };
}

QTextBlock block(QTextDocument *dokument, int nummer) { return dokument->findBlockByNumber(nummer); }
}

class TestForm5 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { schliesseAlleFenster(); }
    // The window's text, paragraph by paragraph, with its tabs, quotes and blanks.
    void absaetze_data();
    void absaetze();
    // Items 1 to 7 and the blanks after them hang; the opening and closing paragraphs do not.
    void einzuege_data();
    void einzuege();
    // After an item number and its tab the text starts at the indent, where its later lines start too.
    void textBeginntAmEinzug_data();
    void textBeginntAmEinzug();
    // The document uses Arial 10 pt and a default tab width of 397 twips.
    void schrift();
    // The window is 800 x 600 pixels with frame; the view keeps 100 twips either side; the title is centred.
    void groesse();
    // The load's placing rule at other widths.
    void lage_data();
    void lage();
    // The button closes the window; the next opening shows the full text again, even after edits.
    void neuAufgebaut();
    // Opening it twice gives one window.
    void nurEinmal();
    // The mail link lies on the address in item 7 and starts a message to it.
    void mailLink();
    // From the top: mail link, button, text view; the title lies above the view.
    void stapel();
};

void TestForm5::absaetze_data()
{
    QTest::addColumn<int>("nummer");
    QTest::addColumn<QString>("text");
    const QStringList texte = erwarteteAbsaetze();
    for (int i = 0; i < texte.size(); ++i)
        QTest::addRow("paragraph %d", i) << i << texte.at(i);
}

void TestForm5::absaetze()
{
    QFETCH(int, nummer);
    QFETCH(QString, text);
    TestUmgebung umgebung;
    Form5 *anleitung = oeffneAnleitung();
    QTextDocument *dokument = textansicht(anleitung)->document();
    QCOMPARE(dokument->blockCount(), erwarteteAbsaetze().size());
    QCOMPARE(block(dokument, nummer).text(), text);
    QCOMPARE(Anleitung::absaetze().at(nummer), text);
}

void TestForm5::einzuege_data()
{
    QTest::addColumn<int>("nummer");
    QTest::addColumn<bool>("haengt");
    const int anzahl = erwarteteAbsaetze().size();
    for (int i = 0; i < anzahl; ++i)
        QTest::addRow("paragraph %d", i) << i << (i >= 2 && i <= 18);
}

void TestForm5::einzuege()
{
    QFETCH(int, nummer);
    QFETCH(bool, haengt);
    TestUmgebung umgebung;
    Form5 *anleitung = oeffneAnleitung();
    const QTextBlockFormat format = block(textansicht(anleitung)->document(), nummer).blockFormat();
    QCOMPARE(Anleitung::haengend(nummer), haengt);
    if (haengt) {
        QCOMPARE(format.leftMargin(), 709 / Twips::proPixelX());
        QCOMPARE(format.textIndent(), -425 / Twips::proPixelX());
    } else {
        QCOMPARE(format.leftMargin(), 0.0);
        QCOMPARE(format.textIndent(), 0.0);
    }
}

void TestForm5::textBeginntAmEinzug_data()
{
    QTest::addColumn<int>("nummer");
    QTest::newRow("item 1") << 2;
    QTest::newRow("item 3") << 6;
    QTest::newRow("50:50 line") << 7;
    QTest::newRow("item 4") << 10;
    QTest::newRow("item 6") << 14;
    QTest::newRow("item 7") << 16;
}

void TestForm5::textBeginntAmEinzug()
{
    QFETCH(int, nummer);
    TestUmgebung umgebung;
    Form5 *anleitung = oeffneAnleitung();
    QTextDocument *dokument = textansicht(anleitung)->document();
    const QTextBlock b = block(dokument, nummer);
    QTextLayout *layout = b.layout();
    QVERIFY(layout && layout->lineCount() >= 1);
    const int nachTab = b.text().indexOf(QLatin1Char('\t')) + 1;
    const QTextLine erste = layout->lineForTextPosition(nachTab);
    const double x = erste.cursorToX(nachTab);
    const double einzug = 709 / Twips::proPixelX();
    QVERIFY2(qAbs(x - einzug) < 1, qPrintable(QStringLiteral("text starts at %1, indent %2").arg(x).arg(einzug)));
    // Item numbers stand 425 twips left of it.
    if (!b.text().startsWith(QLatin1Char('\t')))
        QVERIFY(qAbs(erste.cursorToX(0) - (709 - 425) / Twips::proPixelX()) < 1);
    // Continued lines start at the indent as well.
    if (layout->lineCount() > 1)
        QVERIFY(qAbs(layout->lineAt(1).cursorToX(layout->lineAt(1).textStart()) - einzug) < 1);
}

void TestForm5::schrift()
{
    TestUmgebung umgebung;
    Form5 *anleitung = oeffneAnleitung();
    QTextDocument *dokument = textansicht(anleitung)->document();
    QCOMPARE(dokument->defaultFont().family(), QStringLiteral("Arial"));
    QCOMPARE(dokument->defaultFont().pointSizeF(), 10.0);
    QCOMPARE(dokument->defaultTextOption().tabStopDistance(), 397 / Twips::proPixelX());
    for (QTextBlock b = dokument->begin(); b.isValid(); b = b.next())
        QCOMPARE(b.charFormat().font().pointSizeF(), 10.0);
}

void TestForm5::groesse()
{
    TestUmgebung umgebung;
    Form5 *anleitung = oeffneAnleitung();
    QCOMPARE(anleitung->windowTitle(), QStringLiteral("Anleitung"));
    QCOMPARE(anleitung->size(), Twips::innenGroesse(800, 600));
    QCOMPARE(anleitung->minimumSize(), anleitung->maximumSize());
    QVERIFY(!anleitung->windowIcon().isNull());

    QTextEdit *ansicht = textansicht(anleitung);
    const int rand = Twips::zuPixelX(100);
    QCOMPARE(ansicht->x(), rand);
    QVERIFY(qAbs(anleitung->width() - ansicht->geometry().right() - 1 - rand) <= 1);
    QCOMPARE(ansicht->y(), Twips::zuPixelY(900));
    QCOMPARE(ansicht->height(), Twips::rechteck(100, 900, 100, 7635).height());

    auto *titel = anleitung->findChild<QLabel *>(QStringLiteral("Label3"));
    QCOMPARE(titel->text(), QStringLiteral("Kreidolin"));
    QCOMPARE(titel->size(), titel->sizeHint());
    QVERIFY(qAbs(titel->x() + titel->width() / 2.0 - anleitung->width() / 2.0) <= 1);
    QCOMPARE(titel->y(), Twips::zuPixelY(-60));
    QVERIFY(titel->geometry().bottom() < ansicht->y());
}

void TestForm5::lage_data()
{
    QTest::addColumn<double>("breite");
    QTest::addColumn<double>("titel");
    QTest::addColumn<double>("titelLinks");
    QTest::newRow("800 pixels at 15 twips") << 11910.0 << 3255.0 << 4327.5;
    QTest::newRow("design width") << 11880.0 << 3000.0 << 4440.0;
    QTest::newRow("narrow") << 6000.0 << 3000.0 << 1500.0;
}

void TestForm5::lage()
{
    QFETCH(double, breite);
    QFETCH(double, titel);
    QFETCH(double, titelLinks);
    const AnleitungLage lage = anleitungLage(breite, titel);
    QCOMPARE(lage.RichTextBox1Left, 100.0);
    QCOMPARE(lage.RichTextBox1Width, breite - 200);
    QCOMPARE(lage.Label3Left, titelLinks);
}

void TestForm5::neuAufgebaut()
{
    TestUmgebung umgebung;
    QPointer<Form5> erstes = oeffneAnleitung();
    textansicht(erstes)->setPlainText(QStringLiteral("überschrieben"));
    QTest::mouseClick(erstes->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QVERIFY(!Fenster::offen<Form5>());
    QTRY_VERIFY(erstes.isNull());

    Form5 *zweites = oeffneAnleitung();
    QCOMPARE(textansicht(zweites)->document()->blockCount(), erwarteteAbsaetze().size());
    QCOMPARE(textansicht(zweites)->document()->toPlainText(), erwarteteAbsaetze().join(QLatin1Char('\n')));
}

void TestForm5::nurEinmal()
{
    TestUmgebung umgebung;
    Form5 *erstes = oeffneAnleitung();
    QCOMPARE(Fenster::zeige<Form5>(), erstes);
    int anzahl = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        anzahl += w->objectName() == QLatin1String("Form5");
    QCOMPARE(anzahl, 1);
}

void TestForm5::mailLink()
{
    TestUmgebung umgebung;
    Form5 *anleitung = oeffneAnleitung();
    QWidget *link = anleitung->findChild<QWidget *>(QStringLiteral("MailMorlon1"));
    QVERIFY(link->isVisible());
    QCOMPARE(link->toolTip(), QStringLiteral("mailto: team@kreidolin.example"));

    // It covers the address in item 7, in the text's own line.
    QTextEdit *ansicht = textansicht(anleitung);
    QTextCursor fund = ansicht->document()->find(QStringLiteral("team@kreidolin.example"));
    QVERIFY(!fund.isNull());
    QCOMPARE(fund.block().blockNumber(), 16);
    QTextCursor anfang(ansicht->document());
    anfang.setPosition(fund.selectionStart());
    const QPoint adresse = ansicht->viewport()->mapTo(anleitung, ansicht->cursorRect(anfang).topLeft());
    QCOMPARE(link->pos(), adresse);

    const QPoint p = link->mapTo(anleitung, QPoint(5, 5));
    QTest::mouseClick(anleitung->windowHandle(), Qt::LeftButton, Qt::NoModifier, p);
    QCOMPARE(umgebung.urls.geoeffnet.size(), 1);
    QCOMPARE(umgebung.urls.geoeffnet.first().toString(), QStringLiteral("mailto:team@kreidolin.example"));
    QVERIFY(Fenster::offen<Form5>());

    // Scrolled out of sight, the link hides with its address.
    ansicht->setPlainText(QString(200, QLatin1Char('\n')) + QStringLiteral("team@kreidolin.example"));
    ansicht->verticalScrollBar()->setValue(0);
    QVERIFY(!link->isVisible());
    ansicht->verticalScrollBar()->setValue(ansicht->verticalScrollBar()->maximum());
    QVERIFY(link->isVisible());
}

void TestForm5::stapel()
{
    TestUmgebung umgebung;
    Form5 *anleitung = oeffneAnleitung();
    QStringList reihenfolge;
    for (QObject *kind : anleitung->children())
        if (kind->isWidgetType())
            reihenfolge << kind->objectName();
    // Later children are drawn on top of earlier ones.
    const int view = reihenfolge.indexOf(QStringLiteral("RichTextBox1"));
    const int knopf = reihenfolge.indexOf(QStringLiteral("cmdOK"));
    const int mail = reihenfolge.indexOf(QStringLiteral("MailMorlon1"));
    QVERIFY(view >= 0 && view < knopf && knopf < mail);
    auto *ok = anleitung->findChild<QPushButton *>(QStringLiteral("cmdOK"));
    QCOMPARE(ok->text(), QStringLiteral("Fenster schließen"));
    QCOMPARE(ok->geometry(), Twips::rechteck(10140, 7980, 1455, 315));
    QVERIFY(textansicht(anleitung)->geometry().contains(ok->geometry()));
    QCOMPARE(anleitung->childAt(ok->geometry().center()), ok);
}

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"
