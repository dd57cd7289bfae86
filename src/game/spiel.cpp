#include "game/spiel.h"

#include "game/joker.h"

#include "basis/appinfo.h"
#include "basis/services.h"
#include "highscore/ablage.h"
#include "store/recordset.h"

#include <QPointer>

namespace {
const QString kCrLf = QStringLiteral("\r\n");

// The keys of each slot: a digit, or a letter for a keyboard without a
// number row in reach.
constexpr int kFeldTasten[3][2] = {{Qt::Key_1, Qt::Key_A}, {Qt::Key_2, Qt::Key_B}, {Qt::Key_3, Qt::Key_C}};
}

Spiel::Spiel(QObject *parent)
    : QObject(parent)
    , m_jokerBenutzt(static_cast<int>(kJoker.size()), false)
{
}

StoreError Spiel::liesFragen(const Recordset &fragen, QVector<FrageZeile> &zeilen)
{
    int spalten[5];
    const char *namen[5] = {"frage", "loesung", "Antwort1", "Antwort2", "Stufe"};
    for (int i = 0; i < 5; ++i) {
        spalten[i] = fragen.fieldIndex(QLatin1String(namen[i]));
        if (spalten[i] < 0)
            return StoreError(QStringLiteral("Der Fragentabelle fehlt die Spalte %1.").arg(QLatin1String(namen[i])));
    }
    zeilen.clear();
    zeilen.reserve(fragen.recordCount());
    for (int z = 0; z < fragen.recordCount(); ++z) {
        zeilen.append({fragen.valueAt(z, spalten[0]), fragen.valueAt(z, spalten[1]), fragen.valueAt(z, spalten[2]),
                       fragen.valueAt(z, spalten[3]), fragen.valueAt(z, spalten[4]), QVariant()});
    }
    return {};
}

Spiel::Ladung Spiel::lade(const QVector<FrageZeile> &zeilen)
{
    m_fragen.clear();
    m_fragen.reserve(zeilen.size());
    QVector<QVariant> stufen;
    stufen.reserve(zeilen.size());
    for (const FrageZeile &z : zeilen) {
        m_fragen.append({z.frage.toString(), {z.loesung.toString(), z.antwort1.toString(), z.antwort2.toString()}});
        stufen.append(z.stufe);
    }
    Services::random().seedFromClock();
    m_stufe = Spielregeln::kErsteStufe;
    m_jokerBenutzt.fill(false);
    // Which rows belong to which level is known once, so that choosing a
    // question is a single draw and a level without questions is noticed.
    m_zeilenJeStufe = Spielregeln::zeilenJeStufe(stufen);
    m_phase = Phase::Beendet;
    if (m_fragen.isEmpty())
        return Ladung::KeineFragen;
    if (!waehleFrage())
        return Ladung::KeineErsteStufe;
    m_phase = Phase::Waehlen;
    zeigeFrage();
    return Ladung::Geladen;
}

bool Spiel::waehleFrage()
{
    const QVector<int> zeilen = m_zeilenJeStufe.value(m_stufe);
    if (zeilen.isEmpty())
        return false;
    m_frage = m_fragen.at(Spielregeln::waehleZeile(zeilen, Services::random().next()));
    m_gewaehlt = -1;
    m_gestrichen = {};
    m_urteil.reset();
    m_reihenfolge = Spielregeln::mische([] { return Services::random().next(); });
    return true;
}

void Spiel::zeigeFrage() { Q_EMIT frageGezeigt(m_frage.frage, antwortenImFeld(), gestricheneFelder()); }

QStringList Spiel::antwortenImFeld() const
{
    QStringList antworten{QString(), QString(), QString()};
    for (int a = 0; a < 3; ++a)
        antworten[m_reihenfolge[a]] = m_frage.antworten[a];
    return antworten;
}

QVector<bool> Spiel::gestricheneFelder() const
{
    QVector<bool> felder(3, false);
    for (int a = 0; a < 3; ++a)
        felder[m_reihenfolge[a]] = m_gestrichen[a];
    return felder;
}

Spielregeln::Umfrage Spiel::berechneteUmfrage()
{
    const float r1 = Services::random().next();
    const float r2 = Services::random().next();
    return Spielregeln::umfrage(r1, r2);
}

void Spiel::waehle(Antwort a)
{
    if (m_phase != Phase::Waehlen || a < Loesung || a > Antwort2 || m_gestrichen[a])
        return;
    m_gewaehlt = a;
    Q_EMIT auswahlGeaendert(m_reihenfolge[a]);
}

void Spiel::waehleFeld(int feld)
{
    for (int a = 0; a < 3; ++a) {
        if (m_reihenfolge[a] == feld)
            waehle(static_cast<Antwort>(a));
    }
}

Spiel::Urteil Spiel::bestaetige()
{
    Urteil u;
    if (!kannBestaetigen())
        return u;
    u.gueltig = true;
    u.richtig = m_gewaehlt == Loesung;
    u.richtigesFeld = m_reihenfolge[Loesung];
    u.gewaehltesFeld = m_reihenfolge[m_gewaehlt];
    if (!u.richtig) {
        const int punkte = Spielregeln::sicherheitsstufe(m_stufe);
        u.ende = mitStufe(Ende::Falsch, Spielregeln::falschText(m_stufe), punkte);
    } else if (m_stufe == Spielregeln::kLetzteStufe) {
        u.ende = schliesse(Ende::Abitur, QStringLiteral("Kreidolin Message"),
                           QStringLiteral("Gratuliere! Du hast das Abitur bestanden!!!") + kCrLf
                               + QStringLiteral("Folgende Daten werden in der Highscore gespeichert:") + kCrLf
                               + QStringLiteral("Spieler: ") + m_spieler + kCrLf + QStringLiteral("15 Punkte"),
                           Spielregeln::kLetzteStufe);
        u.ende->hauptfensterZuerst = false;
    } else {
        u.titel = AppInfo::spielMeldungTitel();
        u.text = QStringLiteral("Richtig!");
        m_phase = Phase::Urteil;
    }
    m_urteil = u;
    Q_EMIT beantwortet(u.richtigesFeld, u.gewaehltesFeld);
    if (u.ende)
        Q_EMIT beendet(u.ende->art, u.ende->punkte);
    return u;
}

std::optional<Spiel::Abschluss> Spiel::weiter()
{
    if (m_phase != Phase::Urteil)
        return std::nullopt;
    ++m_stufe;
    if (!waehleFrage()) {
        // The collection lacks this level: the game ends as if given up here.
        Abschluss ende = mitStufe(Ende::KeineFrage, keineFrageText(m_stufe) + QStringLiteral(" Das Spiel endet hier."),
                                  m_stufe - 1);
        Q_EMIT beendet(ende.art, ende.punkte);
        return ende;
    }
    m_phase = Phase::Waehlen;
    zeigeFrage();
    return std::nullopt;
}

Spiel::Jokerzug Spiel::setzeEin(int joker)
{
    Jokerzug zug;
    if (m_phase != Phase::Waehlen || !jokerFrei(joker))
        return zug;
    switch (kJoker[joker].wirkung) {
    case Joker::Wirkung::StreicheAntwort1:
        m_gestrichen[Antwort1] = true;
        break;
    case Joker::Wirkung::StreicheAntwort2:
        m_gestrichen[Antwort2] = true;
        break;
    case Joker::Wirkung::Umfrage: {
        // A class's vote may keep an event loop running; the game may be
        // gone when it returns.
        const QPointer<Spiel> selbst(this);
        const std::optional<Spielregeln::Umfrage> u = m_umfragequelle ? m_umfragequelle() : berechneteUmfrage();
        if (!selbst || m_phase != Phase::Waehlen)
            return zug;
        zug.titel = AppInfo::spielMeldungTitel();
        if (!u) {
            zug.text = QStringLiteral("Niemand hat abgestimmt. Der Joker bleibt für später.");
            return zug;
        }
        const auto zeile = [this](Antwort a, int anteil) {
            return kCrLf + m_frage.antworten[a] + QStringLiteral(" = ") + QString::number(anteil) + QLatin1Char('%');
        };
        zug.text = QStringLiteral("Das Publikum hat wie folgt gestimmt: ") + zeile(Loesung, u->loesung)
            + zeile(Antwort1, u->antwort1) + zeile(Antwort2, u->antwort2);
        break;
    }
    }
    m_jokerBenutzt[joker] = true;
    zug.eingesetzt = true;
    Q_EMIT jokerEingesetzt(joker);
    if (kJoker[joker].wirkung != Joker::Wirkung::Umfrage)
        zeigeFrage();
    return zug;
}

Spiel::Abschluss Spiel::gibAuf()
{
    if (m_phase == Phase::Beendet)
        return verlasse();
    Abschluss ende = mitStufe(Ende::Aufgegeben,
                              QStringLiteral("Sie haben entschlossen, die Schule abzubrechen. Wenn Sie mögen, "
                                             "starten Sie das Spiel erneut...!"),
                              m_stufe - 1);
    Q_EMIT beendet(ende.art, ende.punkte);
    return ende;
}

Spiel::Abschluss Spiel::verlasse()
{
    const bool lief = m_phase != Phase::Beendet;
    Abschluss ende = schliesse(Ende::Verlassen, QString(), QString(), 0);
    ende.bucht = false;
    if (lief)
        Q_EMIT beendet(ende.art, 0);
    return ende;
}

Spiel::Abschluss Spiel::mitStufe(Ende art, const QString &text, int punkte)
{
    return schliesse(art, AppInfo::spielMeldungTitel(),
                     text + kCrLf + QStringLiteral("Stufe: ") + QString::number(punkte) + kCrLf
                         + QStringLiteral("Sie wurden in der Highscore vermerkt!"),
                     punkte);
}

Spiel::Abschluss Spiel::schliesse(Ende art, const QString &titel, const QString &text, int punkte)
{
    m_phase = Phase::Beendet;
    return {art, titel, text, m_spieler, punkte, true, true};
}

QString Spiel::buche(const Abschluss &ende)
{
    if (!ende.bucht)
        return {};
    const HighscoreAblage::Ergebnis ergebnis = HighscoreAblage::anhaengen(ende.spieler, ende.punkte);
    if (ergebnis.fehler)
        return QStringLiteral("Der Eintrag für die Highscore konnte nicht gespeichert werden.") + kCrLf
            + ergebnis.fehler.text();
    return ergebnis.hinweis;
}

int Spiel::feldZurTaste(int taste)
{
    for (int feld = 0; feld < 3; ++feld) {
        if (taste == kFeldTasten[feld][0] || taste == kFeldTasten[feld][1])
            return feld;
    }
    return -1;
}

QString Spiel::tastenText(int feld)
{
    if (feld < 0 || feld > 2)
        return {};
    return QStringLiteral("Taste %1 oder %2").arg(QChar(kFeldTasten[feld][0])).arg(QChar(kFeldTasten[feld][1]));
}

QString Spiel::keineFrageText(int stufe)
{
    return QStringLiteral("In der Fragendatenbank gibt es keine Frage für die Stufe %1 (%2).")
        .arg(stufe)
        .arg(Spielregeln::stufenName(stufe));
}
