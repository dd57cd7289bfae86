#include "start/fensterregister.h"
#include "buehne.h"

#include "start/fenster.h"
#include "bench.h"
#include "ui/form2.h"
#include "highscore/highscore.h"
#include "store/connection.h"
#include "store/settingsfile.h"
#include "ui/form1.h"
#include "ui/form3.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTableView>
#include <QWidget>
#include <QWindow>

namespace Bench {
QMessageBox::StandardButton StilleMeldungen::zeige(QWidget *, const Meldung &meldung)
{
    ++anzahl;
    if (meldung.vorgabe != QMessageBox::NoButton)
        return meldung.vorgabe;
    return meldung.knoepfe.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::No;
}

float FesterZufall::next()
{
    m_zustand = m_zustand * 1664525u + 1013904223u;
    return static_cast<float>(m_zustand >> 8) * (1.0f / 16777216.0f);
}

Buehne::Buehne(const QString &ordner)
    : m_ordnerPfad(ordner)
    , m_ordner(ordner)
{
    QDir().mkpath(ordner);
    Start::installiereFensterregister();
    Services::setMessages(&meldungen);
    Services::setRandom(&m_zufall);
    Services::setFileDialogs(&m_dateien);
    Services::setUrls(&m_urls);
    Services::setAppDirectory(&m_ordner);
}

Buehne::~Buehne()
{
    schliesseAlles();
    Services::setMessages(nullptr);
    Services::setRandom(nullptr);
    Services::setFileDialogs(nullptr);
    Services::setUrls(nullptr);
    Services::setAppDirectory(nullptr);
}

void Buehne::waehleDatenbank(const QString &pfad)
{
    if (const StoreError e = SettingsFile::schreibe(m_ordnerPfad + QStringLiteral("/Kreidolin.ini"), pfad))
        qFatal("%s", qPrintable(e.text()));
}

void Buehne::schreibeHighscore(int n)
{
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes += Highscore::kodiereZeile(QStringLiteral("Schüler %1").arg(i), (i * 7) % 16);
    QFile datei(m_ordnerPfad + QStringLiteral("/highscore.dtt"));
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate) || datei.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(datei.fileName()));
}

void klick(QWidget *widget, QPoint pos)
{
    if (pos == QPoint(-1, -1))
        pos = widget->rect().center();
    const QPointF lokal(pos);
    const QPointF global(widget->mapToGlobal(pos));
    QMouseEvent druck(QEvent::MouseButtonPress, lokal, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &druck);
    QMouseEvent los(QEvent::MouseButtonRelease, lokal, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &los);
}

namespace {
// Which windows have been painted since merkeMalen(), seen from the
// application, so that windows made during a measurement are seen too.
class Malbeobachter : public QObject {
public:
    Malbeobachter() { qApp->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            ++ereignisse;
            gemalt.insert(static_cast<QWidget *>(watched)->window());
        }
        return false;
    }

    QSet<QWidget *> gemalt;
    long ereignisse = 0;
};

Malbeobachter &beobachter()
{
    static Malbeobachter *b = new Malbeobachter;
    return *b;
}
}

void merkeMalen()
{
    beobachter().gemalt.clear();
}

long malereignisse()
{
    return beobachter().ereignisse;
}

void warteGezeigt(const std::function<QWidget *()> &fenster, const std::function<bool()> &fertig)
{
    Malbeobachter &b = beobachter();
    QElapsedTimer uhr;
    uhr.start();
    for (;;) {
        QCoreApplication::processEvents();
        QWidget *w = fenster();
        if (w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed() && b.gemalt.contains(w)
            && (!fertig || fertig()))
            break;
        if (uhr.elapsed() > 10000)
            qFatal("a window did not come up within ten seconds");
    }
    QCoreApplication::processEvents();
}

void schliesseAlles()
{
    // Closing a game or the editor brings the main window back; a few
    // rounds close that too.
    for (int runde = 0; runde < 4; ++runde) {
        bool offen = false;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible()) {
                offen = true;
                w->close();
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        if (!offen)
            break;
    }
    QVector<QPointer<QWidget>> uebrig;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->parentWidget())
            uebrig.append(w);
    }
    for (const QPointer<QWidget> &w : uebrig)
        delete w.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
}

namespace Bench {
Form1 *zeigeHauptfenster(int eintraege)
{
    merkeMalen();
    Form1 *haupt = Fenster::zeige<Form1>();
    warteGezeigt([] { return Fenster::offen<Form1>(); },
                 [haupt, eintraege] { return eintraege < 0 || haupt->lstHighscore->count() == eintraege; });
    return haupt;
}

Form2 *starteSpiel(Form1 *haupt)
{
    haupt->txt_name->setText(QStringLiteral("Bench"));
    merkeMalen();
    klick(haupt->cmd_start);
    warteGezeigt([] { return Fenster::offen<Form2>(); });
    Form2 *spiel = Fenster::offen<Form2>();
    if (!spiel || spiel->stufe() != 1 || spiel->lblFrage->text().isEmpty())
        qFatal("the game did not start");
    return spiel;
}

Form3 *oeffneEditor(Form1 *haupt)
{
    merkeMalen();
    haupt->menuFragen->trigger();
    warteGezeigt([] { return Fenster::offen<Form3>(); });
    Form3 *editor = Fenster::offen<Form3>();
    if (!editor->datenbankGeladen())
        qFatal("the editor did not load its database");
    return editor;
}

QVector<double> blaettereGrid(Form3 *editor)
{
    auto *grid = editor->findChild<QTableView *>(QStringLiteral("DataGrid1"));
    QScrollBar *leiste = grid->verticalScrollBar();
    leiste->setValue(0);
    QCoreApplication::processEvents();
    QVector<double> schritte;
    while (leiste->value() < leiste->maximum()) {
        const long vorher = malereignisse();
        schritte.append(dauer([&] {
            leiste->triggerAction(QAbstractSlider::SliderPageStepAdd);
            QCoreApplication::processEvents();
        }));
        if (malereignisse() == vorher)
            qFatal("a scroll step was not painted");
    }
    return schritte;
}

void spieleBisZumAbitur(Form2 *spiel)
{
    for (int stufe = 1; stufe <= 15; ++stufe) {
        if (Fenster::offen<Form2>() != spiel || spiel->stufe() != stufe)
            qFatal("the game stopped at level %d", stufe);
        spiel->lblLoesung_Click();
        merkeMalen();
        klick(spiel->cmdOK);
        if (stufe < 15)
            warteGezeigt([] { return Fenster::offen<Form2>(); });
    }
    warteGezeigt([] { return Fenster::offen<Form1>(); });
}
}
