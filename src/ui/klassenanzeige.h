#pragma once

#include "game/spielregeln.h"

#include <QFrame>
#include <QImage>
#include <QPointer>

#include <optional>

class Klassenrunde;
class QLabel;
class Spiel;

// The class's corner of the game window, large enough for the projector:
// the QR code of the page's address, the address in words, the devices
// joined, the vote's countdown and count, and after a verdict how many of
// the class would have been right. It holds the class's round.
class KlassenAnzeige : public QFrame {
    Q_OBJECT
public:
    explicit KlassenAnzeige(QWidget *parent = nullptr);
    ~KlassenAnzeige() override;

    Klassenrunde *runde() const { return m_runde; }
    // The game's questions, struck answers and verdicts go to the class's
    // pages from now on.
    void folge(Spiel *spiel);
    // Switches the round on with the classroom settings and shows the new
    // address and code; empty when it is on, else the reason in German.
    QString schalteEin();
    // The class's vote on the question shown, waiting until it closes;
    // none when nobody voted. The display may be gone when it returns.
    std::optional<Spielregeln::Umfrage> abstimmen();

    QLabel *lblQr = nullptr;
    QLabel *lblAdresse = nullptr;
    QLabel *lblGeraete = nullptr;
    QLabel *lblAbstimmung = nullptr;
    QLabel *lblMitgeantwortet = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void zeigeAdresse();
    void zeigeAbstimmung();
    void passeQrAn();
    void zeigeFrage();

    Klassenrunde *m_runde = nullptr;
    QPointer<Spiel> m_spiel;
    QImage m_qr;
};
