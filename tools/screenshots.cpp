// Renders every window of the program into docs/screenshots/ for the README:
//   build/kreidolin_screenshots docs/screenshots
// It plays the start of a game on the default collection with fixed random
// numbers, so the pictures come out the same each time.

#include "start/fensterregister.h"
#include "start/fenster.h"
#include "ui/frmsplash.h"
#include "basis/realservices.h"
#include "basis/services.h"
#include "basis/vorlieben.h"
#include "start/start.h"
#include "ui/form2.h"
#include "ui/form1.h"
#include "ui/form3.h"
#include "ui/form4.h"
#include "ui/form5.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <memory>

namespace {
// Answers every box at once; with a name set, it first photographs the
// box's window with the box drawn over its middle, as the room sees it.
class StilleMeldungen : public MessageBoxes {
public:
    QMessageBox::StandardButton zeige(QWidget *fenster, const Meldung &m) override
    {
        if (!foto.isEmpty() && fenster) {
            QApplication::processEvents();
            QPixmap bild = fenster->grab();
            std::unique_ptr<QMessageBox> box(RealMessageBoxes::baue(nullptr, m));
            box->adjustSize();
            const QPixmap kasten = box->grab();
            QPainter maler(&bild);
            const QPoint ecke((bild.width() - kasten.width()) / 2, (bild.height() - kasten.height()) / 2);
            maler.drawPixmap(ecke, kasten);
            maler.setPen(QPen(Qt::black, 2));
            maler.drawRect(QRect(ecke, kasten.size()));
            maler.end();
            if (!bild.save(ordner + QLatin1Char('/') + foto))
                std::fprintf(stderr, "cannot write %s\n", qPrintable(foto));
            foto.clear();
        }
        return m.vorgabe != QMessageBox::NoButton ? m.vorgabe : QMessageBox::Ok;
    }
    QString ordner;
    QString foto;
};

class FesteZahlen : public RandomNumbers {
public:
    void seedFromClock() override { m_state = 20261206u; }
    float next() override
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<float>(m_state >> 8) * (1.0f / 16777216.0f);
    }

private:
    quint32 m_state = 20261206u;
};

class KeinDialog : public FileDialogs {
public:
    QString openFileName(QWidget *, const QString &, const QString &) override { return {}; }
};

class KeinBrowser : public UrlOpener {
public:
    bool open(const QUrl &) override { return true; }
};

class Verzeichnis : public AppDirectory {
public:
    explicit Verzeichnis(QString p) : m_path(std::move(p)) {}
    QString path() const override { return m_path; }

private:
    QString m_path;
};

void speichere(QWidget *w, const QString &ordner, const char *name)
{
    QApplication::processEvents();
    const QString pfad = ordner + QLatin1Char('/') + QLatin1String(name);
    if (!w->grab().save(pfad))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(pfad));
}
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kreidolin_screenshots <folder>\n");
        return 2;
    }
    const QString ziel = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QTemporaryDir dir;
    StilleMeldungen meldungen;
    FesteZahlen zahlen;
    KeinDialog dialog;
    KeinBrowser browser;
    Verzeichnis verzeichnis(dir.path());
    Start::installiereFensterregister();
    Services::setMessages(&meldungen);
    Services::setRandom(&zahlen);
    Services::setFileDialogs(&dialog);
    Services::setUrls(&browser);
    Services::setAppDirectory(&verzeichnis);
    Services::setSplashIntervalMs(3600000);
    Vorlieben::setDatei(dir.filePath(QStringLiteral("klassenzimmer.ini")));
    Start::bereiteVor(app);

    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Fragen.mdb"), dir.filePath(QStringLiteral("Fragen.mdb")));
    QFile highscore(dir.filePath(QStringLiteral("highscore.dtt")));
    highscore.open(QIODevice::WriteOnly);
    highscore.write("Lena | 12\r\nJonas | 5\r\nMehmet | 15\r\nSophie | 10\r\nPaul | 7\r\n");
    highscore.close();

    speichere(Fenster::zeige<frmSplash>(), ziel, "splash.png");
    Fenster::offen<frmSplash>()->close();
    QApplication::processEvents();

    Form1 *form1 = Fenster::zeige<Form1>();
    form1->menuHighscore_Click();
    form1->findChild<QLineEdit *>(QStringLiteral("txt_name"))->setText(QStringLiteral("Anna"));
    speichere(form1, ziel, "form1.png");

    form1->cmd_start_Click();
    if (Form2 *spiel = Fenster::offen<Form2>()) {
        for (int i = 0; i < 5; ++i) {
            spiel->lblLoesung_Click();
            spiel->cmdOK_Click();
        }
        spiel->cmdJoker_Click(0);
        spiel->lblLoesung_Click();
        speichere(spiel, ziel, "form2.png");
        // On a screen larger than the window (xvfb-run -s '-screen 0 1920x1080x24'),
        // the projector view as well.
        const QSize bildschirm = spiel->screen()->geometry().size();
        if (bildschirm.width() > 800) {
            spiel->setzeProjektor(true);
            QElapsedTimer warte;
            warte.start();
            while (spiel->size() != bildschirm && warte.elapsed() < 2000)
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
            const QByteArray name = QStringLiteral("form2-projektor-%1x%2.png")
                                        .arg(bildschirm.width()).arg(bildschirm.height()).toLatin1();
            speichere(spiel, ziel, name.constData());
            spiel->setzeProjektor(false);
        }
        // Both verdicts as the room sees them while the box is open.
        meldungen.ordner = ziel;
        meldungen.foto = QStringLiteral("form2-richtig.png");
        spiel->cmdOK_Click();
        spiel->lblAntwort1_Click();
        meldungen.foto = QStringLiteral("form2-falsch.png");
        spiel->cmdOK_Click();
        meldungen.foto.clear();
    }
    QApplication::processEvents();

    speichere(Fenster::zeige<Form3>(), ziel, "form3.png");
    speichere(Fenster::zeige<Form4>(), ziel, "form4.png");
    speichere(Fenster::zeige<Form5>(), ziel, "form5.png");
    return 0;
}
