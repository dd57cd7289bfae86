#include "basis/sprachausgabe.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTextToSpeech>
#include <QThread>

namespace {
// A thread that never came back from connecting to the engine.
QThread *g_zurueckgelassen = nullptr;

// Why a new engine cannot read German aloud; empty when it can.
QString pruefe(QTextToSpeech &motor)
{
    if (QTextToSpeech::availableEngines().isEmpty())
        return QStringLiteral("Keine Sprachausgabe installiert (Pakete qt6-speech-speechd-plugin, "
                              "speech-dispatcher, espeak-ng).");
    if (motor.state() == QTextToSpeech::Error)
        return QStringLiteral("Die Sprachausgabe lässt sich nicht starten: %1").arg(motor.errorString());
    for (const QLocale &sprache : motor.availableLocales()) {
        if (sprache.language() == QLocale::German) {
            motor.setLocale(sprache);
            return QString();
        }
    }
    return QStringLiteral("Keine deutsche Stimme vorhanden (Paket espeak-ng).");
}
}

EchteSprachausgabe::EchteSprachausgabe(QObject *parent)
    : QObject(parent)
{
}

EchteSprachausgabe::~EchteSprachausgabe()
{
    if (!m_faden)
        return;
    m_faden->quit();
    // A thread still stuck connecting to the engine is left behind; the
    // program ends around it.
    if (m_faden->wait(2000))
        delete m_faden;
    else
        g_zurueckgelassen = m_faden;
}

bool EchteSprachausgabe::verfuegbar()
{
    starte();
    return m_stand != Stand::Fehlt;
}

void EchteSprachausgabe::sage(const QString &text)
{
    starte();
    if (m_stand == Stand::Startet)
        m_wartet = text;
    if (m_stand == Stand::Bereit && m_motor)
        QMetaObject::invokeMethod(m_motor, [motor = m_motor, text] {
            if (motor)
                motor->say(text);
        });
}

void EchteSprachausgabe::stopp()
{
    m_wartet.clear();
    if (m_stand == Stand::Bereit && m_motor)
        QMetaObject::invokeMethod(m_motor, [motor = m_motor] {
            if (motor)
                motor->stop();
        });
}

void EchteSprachausgabe::starte()
{
    if (m_stand != Stand::Ruht)
        return;
    m_stand = Stand::Startet;
    m_faden = new QThread;
    m_faden->setObjectName(QStringLiteral("Sprachausgabe"));
    m_faden->start();
    auto *anker = new QObject;
    anker->moveToThread(m_faden);
    connect(m_faden, &QThread::finished, anker, &QObject::deleteLater);
    QMetaObject::invokeMethod(anker, [ich = QPointer<EchteSprachausgabe>(this), anker] {
        auto *motor = new QTextToSpeech(anker);
        const QString grund = pruefe(*motor);
        QMetaObject::invokeMethod(QCoreApplication::instance(), [ich, motor, grund] {
            if (ich)
                ich->gestartet(motor, grund);
        });
    });
}

void EchteSprachausgabe::gestartet(QTextToSpeech *motor, const QString &grund)
{
    m_grund = grund;
    m_stand = grund.isEmpty() ? Stand::Bereit : Stand::Fehlt;
    m_motor = motor;
    connect(motor, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State stand) {
        if (stand == QTextToSpeech::Speaking)
            ++m_begonnen;
    });
    if (m_stand == Stand::Bereit && !m_wartet.isEmpty())
        sage(std::exchange(m_wartet, QString()));
}
