#pragma once

#include <QFrame>
#include <QImage>

class Klassenrunde;
class QLabel;

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
    // After the round was switched on: a new address and code.
    void zeigeAdresse();

    QLabel *lblQr = nullptr;
    QLabel *lblAdresse = nullptr;
    QLabel *lblGeraete = nullptr;
    QLabel *lblAbstimmung = nullptr;
    QLabel *lblMitgeantwortet = nullptr;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void zeigeAbstimmung();
    void passeQrAn();

    Klassenrunde *m_runde = nullptr;
    QImage m_qr;
};
