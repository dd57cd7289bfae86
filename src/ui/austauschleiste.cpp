#include "ui/austauschleiste.h"

#include "store/serveradresse.h"

#include "basis/appinfo.h"
#include "basis/services.h"
#include "basis/twips.h"
#include "austausch/abgleich.h"
#include "austausch/formate.h"
#include "austausch/pruefung.h"
#include "austausch/sammlung.h"
#include "ui/berichtfenster.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>

namespace {
const QString kTitel = QStringLiteral("Datenbank");

QPushButton *knopf(QWidget *fenster, const char *name, const QString &text)
{
    auto *k = new QPushButton(text, fenster);
    k->setObjectName(QLatin1String(name));
    k->setAutoDefault(false);
    k->setFocusPolicy(Qt::ClickFocus);
    return k;
}

// Reading and writing a long file takes a moment; the cursor says so.
struct Warten {
    Warten() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Warten() { QApplication::restoreOverrideCursor(); }
};
}

Austauschleiste::Austauschleiste(QWidget *fenster, std::function<QString()> sammlung)
    : QObject(fenster), m_fenster(fenster), m_sammlung(std::move(sammlung))
{
    cmdImport = knopf(fenster, "cmdImport", QStringLiteral("&Importieren…"));
    cmdExport = knopf(fenster, "cmdExport", QStringLiteral("E&xportieren…"));
    cmdPruefen = knopf(fenster, "cmdPruefen", QStringLiteral("Sammlung &prüfen…"));
    connect(cmdImport, &QPushButton::clicked, this, &Austauschleiste::cmdImport_Click);
    connect(cmdExport, &QPushButton::clicked, this, &Austauschleiste::cmdExport_Click);
    connect(cmdPruefen, &QPushButton::clicked, this, &Austauschleiste::cmdPruefen_Click);
}

void Austauschleiste::platziere(double innenBreite)
{
    const double breite = 1500, luecke = 100;
    double links = innenBreite - 100 - 3 * breite - 2 * luecke;
    for (QPushButton *k : {cmdImport, cmdExport, cmdPruefen}) {
        Twips::setzeGeometrie(k, links, 8100, breite, 375);
        links += breite + luecke;
    }
}

bool Austauschleiste::sammlungDa(QString &pfad)
{
    pfad = m_sammlung();
    if (!pfad.isEmpty())
        return true;
    Services::meldung(m_fenster, kTitel,
                      QStringLiteral("Es ist keine Datenbank geladen. Bitte wählen Sie zuerst eine Datenbank aus."));
    return false;
}

void Austauschleiste::cmdImport_Click()
{
    QString ziel;
    if (!sammlungDa(ziel))
        return;
    const QString quelle = Services::fileDialogs().openFileName(
        m_fenster, AppInfo::anwendungsverzeichnis(), Formate::filterLesen());
    if (quelle.isEmpty())
        return;
    if (Serveradresse::istServer(ziel)) {
        gleicheAb(quelle, ziel);
        return;
    }
    Austausch::Einlesen e;
    StoreError fehler;
    {
        const Warten w;
        fehler = Sammlung::vorschau(quelle, ziel, e);
    }
    if (fehler) {
        Services::meldung(m_fenster, kTitel, QStringLiteral("Die Datei wurde nicht übernommen.\r\n") + fehler.text());
        return;
    }
    const QString frage = e.angenommen.isEmpty() ? QString()
                                                 : QStringLiteral("%1 Fragen &hinzufügen").arg(Austausch::zahl(e.angenommen.size()));
    const QPointer<Austauschleiste> lebt(this);
    if (!Berichtfenster::zeige(m_fenster, QStringLiteral("Importieren: %1").arg(QFileInfo(quelle).fileName()),
                               Austausch::vorschauText(e), frage)
        || !lebt)
        return;
    {
        const Warten w;
        fehler = Sammlung::fuegeEin(ziel, e.angenommen);
    }
    if (fehler) {
        Services::meldung(m_fenster, kTitel, fehler.text());
        return;
    }
    Q_EMIT sammlungGeaendert();
}

void Austauschleiste::gleicheAb(const QString &quelle, const QString &ziel)
{
    // On a server a spreadsheet corrects and adds questions; the server
    // decides whether the login may, and deletions stay with the editor.
    Abgleich::Plan plan;
    StoreError fehler;
    {
        const Warten w;
        fehler = Abgleich::gleiche(quelle, ziel, false, true, plan);
    }
    if (fehler) {
        Services::meldung(m_fenster, kTitel, QStringLiteral("Die Datei wurde nicht übernommen.\r\n") + fehler.text());
        return;
    }
    QString bericht = plan.format + QStringLiteral("\n") + Abgleich::zusammenfassung(plan) + QLatin1Char('\n');
    for (const Austausch::Abgelehnt &a : plan.abgelehnt)
        bericht += QStringLiteral("Zeile %1: %2\n").arg(a.zeile).arg(a.grund);
    if (!plan.abgelehnt.isEmpty())
        bericht += QStringLiteral("Mit abgelehnten Zeilen wird nichts geändert.\n");
    const QString frage = plan.abgelehnt.isEmpty() && plan.etwas() ? QStringLiteral("Sammlung &abgleichen") : QString();
    const QPointer<Austauschleiste> lebt(this);
    if (!Berichtfenster::zeige(m_fenster, QStringLiteral("Abgleichen: %1").arg(QFileInfo(quelle).fileName()), bericht,
                               frage)
        || !lebt || frage.isEmpty())
        return;
    {
        const Warten w;
        fehler = Abgleich::gleiche(quelle, ziel, false, false, plan);
    }
    Services::meldung(m_fenster, kTitel,
                      fehler ? fehler.text() : QStringLiteral("Abgeglichen: ") + Abgleich::zusammenfassung(plan));
    if (!fehler)
        Q_EMIT sammlungGeaendert();
}

void Austauschleiste::cmdExport_Click()
{
    QString quelle;
    if (!sammlungDa(quelle))
        return;
    QString ziel = Services::fileDialogs().saveFileName(m_fenster, AppInfo::anwendungsverzeichnis(),
                                                        Formate::filterSchreiben());
    if (ziel.isEmpty())
        return;
    if (!Formate::fuer(ziel))
        ziel += QLatin1Char('.') + Formate::alle().constFirst().endungen.constFirst();
    int anzahl = 0;
    StoreError fehler;
    {
        const Warten w;
        fehler = Sammlung::exportiere(quelle, ziel, &anzahl);
    }
    Services::meldung(m_fenster, kTitel,
                      fehler ? fehler.text()
                             : QStringLiteral("%1 Fragen wurden nach „%2“ geschrieben.").arg(Austausch::zahl(anzahl)).arg(ziel));
}

void Austauschleiste::cmdPruefen_Click()
{
    QString pfad;
    if (!sammlungDa(pfad))
        return;
    Pruefung::Ergebnis ergebnis;
    StoreError fehler;
    {
        const Warten w;
        fehler = Pruefung::pruefeDatei(pfad, ergebnis);
    }
    if (fehler) {
        Services::meldung(m_fenster, kTitel, fehler.text());
        return;
    }
    Berichtfenster::zeige(m_fenster, QStringLiteral("Sammlung prüfen: %1").arg(QFileInfo(pfad).fileName()),
                          ergebnis.bericht());
}
