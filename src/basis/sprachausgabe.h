#pragma once

#include "basis/services.h"

#include <QObject>
#include <QPointer>

class QTextToSpeech;
class QThread;

// Reading aloud through Qt's speech engine (speech-dispatcher with a German
// espeak-ng voice on Debian). The engine starts on its own thread at the
// first request: connecting to speech-dispatcher takes seconds and may hang,
// and the windows must never wait for it.
class EchteSprachausgabe : public QObject, public Sprachausgabe {
    Q_OBJECT
public:
    explicit EchteSprachausgabe(QObject *parent = nullptr);
    ~EchteSprachausgabe() override;

    bool verfuegbar() override;
    QString grund() const override { return m_grund; }
    void sage(const QString &text) override;
    void stopp() override;

    // The engine is up with a German voice.
    bool bereit() const { return m_stand == Stand::Bereit; }
    // How often the engine has begun to speak.
    int begonnen() const { return m_begonnen; }

private:
    enum class Stand { Ruht, Startet, Bereit, Fehlt };
    void starte();
    void gestartet(QTextToSpeech *motor, const QString &grund);

    Stand m_stand = Stand::Ruht;
    QString m_grund;
    QString m_wartet; // said once the engine is ready
    int m_begonnen = 0;
    QThread *m_faden = nullptr;
    QPointer<QTextToSpeech> m_motor;
};
