#include "start/fensterregister.h"
#include "kind.h"

#include "bench.h"
#include "buehne.h"

#include "start/fenster.h"
#include "ui/frmsplash.h"
#include "basis/realservices.h"
#include "start/start.h"
#include "ui/form1.h"
#include "ui/form3.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <functional>

namespace {
qint64 uhrNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Peak resident memory of this process so far, in kB.
long spitzeKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &zeile : status.readAll().split('\n')) {
        if (zeile.startsWith("VmHWM:"))
            return zeile.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Calls dann once, right after the first painting of a window that passt
// accepts is done.
class ErstesBild : public QObject {
public:
    ErstesBild(std::function<bool(QWidget *)> passt, std::function<void()> dann)
        : m_passt(std::move(passt))
        , m_dann(std::move(dann))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_gesehen && event->type() == QEvent::Paint && watched->isWidgetType()
            && m_passt(static_cast<QWidget *>(watched)->window())) {
            m_gesehen = true;
            // The window paints its children right after itself; the timer
            // fires once all of it is done.
            QTimer::singleShot(0, qApp, m_dann);
        }
        return false;
    }

private:
    std::function<bool(QWidget *)> m_passt;
    std::function<void()> m_dann;
    bool m_gesehen = false;
};

// A bare window, with one line of text or without, shown and closed.
int leeresFenster(QApplication &app, bool mitText, qint64 &gezeigt)
{
    QWidget fenster;
    fenster.resize(640, 480);
    if (mitText)
        (new QLabel(QStringLiteral("Kreidolin"), &fenster))->move(20, 20);
    ErstesBild bild([&](QWidget *w) { return w == &fenster; },
                    [&] {
                        gezeigt = uhrNs();
                        fenster.close();
                        QCoreApplication::quit();
                    });
    fenster.show();
    return app.exec();
}

// From the program's start, as main() makes it, to the splash window painted.
int start(QApplication &app, qint64 &gezeigt)
{
    installRealServices();
    Start::installiereFensterregister();
    Start::bereiteVor(app);
    ErstesBild bild([](QWidget *w) { return w->objectName() == QLatin1String("frmSplash"); },
                    [&] {
                        gezeigt = uhrNs();
                        if (QWidget *splash = Fenster::offen<frmSplash>())
                            splash->close();
                        QCoreApplication::quit();
                    });
    Start::ersterFenster();
    return app.exec();
}

// A session in the application directory ordner. One after the other: a
// pupil plays a game to the end, then a teacher opens the editor and pages
// through the whole grid. Side by side: the editor stays open while the
// game is played.
int sitzung(QApplication &app, const QString &ordner, bool nebeneinander)
{
    Bench::Buehne buehne(ordner);
    Start::bereiteVor(app);
    Bench::merkeMalen();
    Start::ersterFenster();
    Bench::warteGezeigt([] { return Fenster::offen<frmSplash>(); });
    auto *splash = Fenster::offen<frmSplash>();
    Bench::merkeMalen();
    Bench::klick(splash->findChild<QLabel *>(QStringLiteral("lblTitel")));
    Bench::warteGezeigt([] { return Fenster::offen<Form1>(); });
    if (nebeneinander) {
        Form1 *haupt = Fenster::offen<Form1>();
        Bench::blaettereGrid(Bench::oeffneEditor(haupt));
        Bench::spieleBisZumAbitur(Bench::starteSpiel(haupt));
    } else {
        Bench::spieleBisZumAbitur(Bench::starteSpiel(Fenster::offen<Form1>()));
        Form3 *editor = Bench::oeffneEditor(Fenster::offen<Form1>());
        Bench::blaettereGrid(editor);
        editor->close();
    }
    Bench::schliesseAlles();
    return 0;
}
}

namespace Bench {
int kindLauf(int argc, char *argv[])
{
    const QByteArray modus = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    const QString ordner = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    const QByteArray art = argc > 4 ? QByteArray(argv[4]) : QByteArray();
    QApplication app(argc, argv);
    qint64 gezeigt = 0;
    int code = 0;
    if (modus == "leer" || modus == "text") {
        code = leeresFenster(app, modus == "text", gezeigt);
    } else if (modus == "start") {
        code = start(app, gezeigt);
    } else if (modus == "sitzung" && !ordner.isEmpty()) {
        code = sitzung(app, ordner, art == "nebeneinander");
    } else {
        std::fprintf(stderr, "unknown child mode\n");
        return 2;
    }
    std::printf("gezeigt %lld\nspitze %ld\n", static_cast<long long>(gezeigt), spitzeKb());
    std::fflush(stdout);
    return code;
}

KindErgebnis starteKind(const QStringList &argumente)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const qint64 anfang = uhrNs();
    p.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--child")} + argumente);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qFatal("child %s failed: %s", qPrintable(argumente.join(QLatin1Char(' '))),
               p.readAllStandardError().constData());
    const qint64 ende = uhrNs();
    KindErgebnis e;
    e.gesamtMs = (ende - anfang) / 1e6;
    for (const QByteArray &zeile : p.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> teile = zeile.split(' ');
        if (teile.value(0) == "gezeigt" && teile.value(1).toLongLong() > 0)
            e.gezeigtMs = (teile.value(1).toLongLong() - anfang) / 1e6;
        else if (teile.value(0) == "spitze")
            e.spitzeMb = teile.value(1).toLong() / 1024.0;
    }
    return e;
}
}
