#include "ui/klassenanzeige.h"

#include "basis/vorlieben.h"
#include "game/spiel.h"
#include "klasse/klassenrunde.h"
#include "klasse/qrbild.h"

#include <QEventLoop>
#include <QLabel>
#include <QPixmap>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QLabel *zeile(QWidget *eltern, const char *name)
{
    auto *l = new QLabel(eltern);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    return l;
}
}

KlassenAnzeige::KlassenAnzeige(QWidget *parent) : QFrame(parent), m_runde(new Klassenrunde(this))
{
    setObjectName(QStringLiteral("KlassenAnzeige"));
    setAccessibleName(QStringLiteral("Abstimmung der Klasse"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    setFrameShape(QFrame::Box);
    auto *spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(4, 4, 4, 4);
    spalte->setSpacing(2);
    lblQr = zeile(this, "lblQr");
    lblQr->setMinimumSize(1, 1);
    lblAdresse = zeile(this, "lblAdresse");
    lblGeraete = zeile(this, "lblGeraete");
    lblAbstimmung = zeile(this, "lblAbstimmung");
    lblMitgeantwortet = zeile(this, "lblMitgeantwortet");
    spalte->addWidget(lblQr, 1);
    for (QLabel *l : {lblAdresse, lblGeraete, lblAbstimmung, lblMitgeantwortet})
        spalte->addWidget(l);

    connect(m_runde, &Klassenrunde::geraeteGeaendert, this, [this](int n) {
        lblGeraete->setText(n == 1 ? QStringLiteral("1 Gerät dabei") : QStringLiteral("%1 Geräte dabei").arg(n));
        lblGeraete->setAccessibleName(lblGeraete->text());
    });
    connect(m_runde, &Klassenrunde::countdownGeaendert, this, &KlassenAnzeige::zeigeAbstimmung);
    connect(m_runde, &Klassenrunde::stimmenGeaendert, this, &KlassenAnzeige::zeigeAbstimmung);
    connect(m_runde, &Klassenrunde::abstimmungBeendet, this, [this] { lblAbstimmung->clear(); });
    connect(m_runde, &Klassenrunde::mitgeantwortet, this, [this](int richtig, int gesamt) {
        lblMitgeantwortet->setText(gesamt == 0 ? QString()
                                               : QStringLiteral("%1 von %2 hätten richtig geantwortet")
                                                     .arg(richtig)
                                                     .arg(gesamt));
        lblMitgeantwortet->setAccessibleName(lblMitgeantwortet->text());
    });
}

KlassenAnzeige::~KlassenAnzeige() = default;

void KlassenAnzeige::folge(Spiel *spiel)
{
    m_spiel = spiel;
    // A new question, or one of its answers struck: the pages follow the projector.
    connect(spiel, &Spiel::frageGezeigt, m_runde, [this] { zeigeFrage(); });
    connect(spiel, &Spiel::beantwortet, m_runde, &Klassenrunde::verdikt);
}

void KlassenAnzeige::zeigeFrage()
{
    if (!m_spiel)
        return;
    Klassenfrage f;
    f.text = m_spiel->frage();
    const QStringList antworten = m_spiel->antwortenImFeld();
    const QVector<bool> gestrichen = m_spiel->gestricheneFelder();
    for (int i = 0; i < 3; ++i) {
        const int feld = m_spiel->reihenfolge()[i];
        f.felder[feld] = antworten.value(feld);
        f.antwort[feld] = i;
        f.gestrichen[feld] = gestrichen.value(feld);
    }
    m_runde->frageZeigen(f);
}

QString KlassenAnzeige::schalteEin()
{
    Klassenrunde::Einstellung e;
    e.port = quint16(Vorlieben::klassePort());
    e.geraete = Vorlieben::klasseGeraete();
    const QString adresse = Vorlieben::klasseAdresse();
    if (!adresse.isEmpty())
        e.adresse = QHostAddress(adresse);
    if (e.adresse.isNull())
        return QStringLiteral("Die Adresse %1 aus den Einstellungen des Klassenzimmers ist keine.").arg(adresse);
    if (!m_runde->einschalten(e))
        return m_runde->fehler();
    zeigeAdresse();
    zeigeFrage();
    return {};
}

std::optional<Spielregeln::Umfrage> KlassenAnzeige::abstimmen()
{
    // Only what lives on this stack is touched after the wait: switching the
    // class off during the vote deletes this display.
    const QPointer<Klassenrunde> runde(m_runde);
    std::optional<Klassenergebnis> ergebnis;
    QEventLoop warten;
    connect(runde, &Klassenrunde::abstimmungBeendet, &warten, [&](const Klassenergebnis &e) {
        ergebnis = e;
        warten.quit();
    });
    connect(runde, &QObject::destroyed, &warten, &QEventLoop::quit);
    runde->abstimmungStarten(Vorlieben::klasseSekunden());
    if (runde && runde->abstimmungLaeuft())
        warten.exec();
    if (!ergebnis || ergebnis->summe() == 0)
        return std::nullopt;
    return Spielregeln::Umfrage{ergebnis->anteile[0], ergebnis->anteile[1], ergebnis->anteile[2]};
}

void KlassenAnzeige::zeigeAdresse()
{
    const QString adresse = m_runde->adresse();
    m_qr = QrBild::bild(adresse, 1);
    const QUrl url(adresse);
    lblAdresse->setText(QStringLiteral("QR-Code scannen oder im Browser:\n%1:%2/%3/\nCode %3")
                            .arg(url.host())
                            .arg(url.port())
                            .arg(url.path().section(QLatin1Char('/'), 1, 1)));
    lblAdresse->setAccessibleName(lblAdresse->text());
    lblQr->setAccessibleName(QStringLiteral("QR-Code der Adresse ") + adresse);
    lblGeraete->setText(QStringLiteral("%1 Geräte dabei").arg(m_runde->geraete()));
    lblAbstimmung->clear();
    lblMitgeantwortet->clear();
    passeQrAn();
}

void KlassenAnzeige::zeigeAbstimmung()
{
    if (!m_runde->abstimmungLaeuft()) {
        lblAbstimmung->clear();
        return;
    }
    lblAbstimmung->setText(QStringLiteral("Abstimmung: noch %1 s\n%2 von %3 abgestimmt")
                               .arg(m_runde->restSekunden())
                               .arg(m_runde->stimmen())
                               .arg(m_runde->geraete()));
    lblAbstimmung->setAccessibleName(lblAbstimmung->text());
    lblMitgeantwortet->clear();
}

void KlassenAnzeige::resizeEvent(QResizeEvent *event)
{
    QFont schrift = font();
    schrift.setPixelSize(qMax(10, height() / 22));
    for (QLabel *l : {lblAdresse, lblGeraete, lblAbstimmung, lblMitgeantwortet})
        l->setFont(schrift);
    QFont gross = schrift;
    gross.setBold(true);
    lblAbstimmung->setFont(gross);
    lblMitgeantwortet->setFont(gross);
    QFrame::resizeEvent(event);
    passeQrAn();
}

// Whole pixels per module keep the code sharp enough for a phone's camera.
void KlassenAnzeige::passeQrAn()
{
    if (m_qr.isNull())
        return;
    const int platz = qMin(width() - 8, height() / 2);
    const int modul = qMax(1, platz / m_qr.width());
    lblQr->setPixmap(QPixmap::fromImage(m_qr.scaled(m_qr.size() * modul, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}
