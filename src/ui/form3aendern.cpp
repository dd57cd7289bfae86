#include "ui/form3.h"

#include "basis/appinfo.h"
#include "basis/services.h"
#include "store/fragentabelle.h"
#include "store/recordset.h"
#include "ui/stufenwert.h"
#include "ui/umwandlung.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>

// The editor's changes to the collection: a new question, taking over and
// declining what was typed, refreshing, deleting, and the level field's check.

namespace {
const QString kNichtGeladen =
    QStringLiteral("Es ist keine Datenbank geladen. Bitte wählen Sie zuerst eine Datenbank aus.");
const QString kFelderLeer = QStringLiteral("Sie müssen alle Felder ausfüllen!");
const QString kStufeUngueltig = QStringLiteral("Die Stufe muss eine ganze Zahl von %1 bis %2 sein.\r\n"
                                               "Die Frage wurde nicht gespeichert.")
                                    .arg(Fragentabelle::kErsteStufe)
                                    .arg(Fragentabelle::kLetzteStufe);
const QString kStufeBereich = QStringLiteral("Bitte geben Sie nur Zahlen im Wert von %1-%2 ein!")
                                  .arg(Fragentabelle::kErsteStufe)
                                  .arg(Fragentabelle::kLetzteStufe);
const QString kUebernehmenFrage = QStringLiteral("Änderungen übernehmen?");
const QString kLoeschenFrage = QStringLiteral("Wollen Sie den aktuellen Datensatz wirklich löschen?");
const QString kNeueNichtAktualisiert =
    QStringLiteral("Die neue Frage ist noch nicht gespeichert: \"Aktualisieren\" speichert nur Änderungen "
                   "an einer gespeicherten Frage.\r\nFüllen Sie alle Felder aus und klicken Sie auf "
                   "\"Änderungen übernehmen\".");
const QString kKeineFrage = QStringLiteral("Es ist keine Frage ausgewählt. "
                                           "Mit \"Neue Frage\" beginnen Sie eine neue Frage.");

}

void Form3::cmdRefresh_Click()
{
    if (!verlasseStufenfeld(cmdRefresh))
        return;
    // Stores what is pending for the current question. The boxes of a new
    // question are not part of it yet: it is stored only through "Änderungen
    // übernehmen" with all fields filled, and the user is told so.
    if (!m_geladen)
        return;
    if (!rec->isNewRecord()) {
        // On a server the question may have been changed meanwhile: the
        // user learns why nothing was stored.
        const StoreError e = rec->hasPendingChanges() ? rec->update() : StoreError();
        if (e)
            meldung(QStringLiteral("Die Frage wurde nicht gespeichert.\r\n") + e.text());
        return;
    }
    if (meldung(kNeueNichtAktualisiert))
        txtFrage->setFocus(Qt::OtherFocusReason);
}

void Form3::cmdNeu_Click()
{
    if (!verlasseStufenfeld(cmdNeu))
        return;
    if (m_geladen) {
        // Declined or failed: no new question, the fields stay as they are.
        if (!bereitZumAendern())
            return;
        const QScopedValueRollback<bool> schritt(m_synchron, true);
        if (const StoreError e = rec->addNew()) {
            meldung(QStringLiteral("Es wurde keine neue Frage begonnen.\r\n") + e.text());
            return;
        }
    }
    txtAntwort1->clear();
    txtAntwort2->clear();
    txtLoesung->clear();
    txtStufe->clear();
    txtFrage->clear();
    m_angezeigt.fill(QString());
    txtFrage->setFocus(Qt::OtherFocusReason);
}

void Form3::cmdUebernehmen_Click()
{
    if (!verlasseStufenfeld(cmdUebernehmen))
        return;
    const QPointer<Form3> lebt(this);
    if (uebernehmen() && lebt)
        txtFrage->setFocus(Qt::OtherFocusReason);
}

bool Form3::uebernehmen()
{
    // A message the user answers ends the step; the focus goes back to the
    // question unless the window went away meanwhile.
    auto melde = [this](const QString &text, QLineEdit *zurueck) {
        if (meldung(text))
            zurueck->setFocus(Qt::OtherFocusReason);
        return false;
    };
    const QVector<QLineEdit *> felder = eingabefelder();
    // Only what the teacher changed is stored; a new question is stored
    // whole. A box left as shown (a null shown empty, a text the box could
    // not show as stored) leaves its column as it is.
    const bool neu = m_geladen && rec->isNewRecord();
    QVector<int> geaendert;
    for (int i = 0; i < felder.size(); ++i) {
        if (neu || felder[i]->text() != m_angezeigt[i])
            geaendert << i;
    }
    for (int i : std::as_const(geaendert)) {
        if (felder[i]->text().isEmpty())
            return melde(kFelderLeer, txtFrage);
    }
    if (!m_geladen)
        return melde(kNichtGeladen, txtFrage);
    if (geaendert.isEmpty())
        return true;
    std::optional<int> stufe;
    if (geaendert.contains(4) && !(stufe = Stufenwert::ganzeStufe(txtStufe->text()))) {
        if (meldung(kStufeUngueltig)) {
            txtStufe->setFocus(Qt::OtherFocusReason);
            txtStufe->selectAll();
        }
        return false;
    }
    if (!rec->hasCurrent())
        return melde(kKeineFrage, txtFrage);
    // Every column is checked before the first is set, so that a refused
    // store leaves nothing half-set behind in the recordset.
    for (int i : std::as_const(geaendert)) {
        if (rec->fieldIndex(spalte(i)) < 0)
            return melde(QStringLiteral("Die Frage wurde nicht gespeichert.\r\nDie Spalte %1 fehlt in der Tabelle %2.")
                             .arg(spalte(i), rec->tableName()),
                         txtFrage);
    }
    const QPointer<Form3> lebt(this);
    if (!bereitZumAendern()) {
        if (lebt)
            txtFrage->setFocus(Qt::OtherFocusReason);
        return false;
    }
    StoreError fehler;
    {
        const QScopedValueRollback<bool> schritt(m_synchron, true);
        for (int i : std::as_const(geaendert)) {
            if (!fehler)
                fehler = rec->setValue(spalte(i), i == 4 ? QString::number(*stufe) : felder[i]->text());
        }
        if (!fehler)
            fehler = rec->update();
    }
    if (fehler)
        return melde(QStringLiteral("Die Frage wurde nicht gespeichert.\r\n") + fehler.text(), txtFrage);
    return true;
}

bool Form3::hatAenderungen() const
{
    if (!m_geladen || !rec)
        return false;
    if (rec->isNewRecord())
        return true;
    const QVector<QLineEdit *> felder = eingabefelder();
    for (int i = 0; i < felder.size(); ++i) {
        if (felder[i]->text() != m_angezeigt[i])
            return true;
    }
    return false;
}

bool Form3::aenderungenKlaeren()
{
    if (!hatAenderungen())
        return true;
    const QPointer<Form3> lebt(this);
    Meldung frage;
    frage.titel = AppInfo::titel();
    frage.text = kUebernehmenFrage;
    frage.knoepfe = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    // Enter keeps what was typed.
    frage.vorgabe = QMessageBox::Yes;
    frage.symbol = QMessageBox::Question;
    const QMessageBox::StandardButton antwort = Services::messages().zeige(this, frage);
    if (!lebt || antwort == QMessageBox::Cancel)
        return false;
    if (antwort == QMessageBox::Yes)
        return uebernehmen() && lebt;
    // Declined: a begun question goes; the fields show the stored one again.
    const QScopedValueRollback<bool> schritt(m_synchron, true);
    if (rec->isNewRecord())
        rec->cancelUpdate();
    else
        rec_MoveComplete();
    return true;
}



void Form3::cmdLoeschen_Click()
{
    if (!verlasseStufenfeld(cmdLoeschen))
        return;
    const QPointer<Form3> lebt(this);
    // An Access collection is converted before anything in it can go; the
    // question comes first only where there is something to delete.
    if (m_geladen && rec->hasCurrent() && !bereitZumAendern()) {
        if (lebt)
            txtFrage->setFocus(Qt::OtherFocusReason);
        return;
    }
    Meldung frage;
    frage.titel = QStringLiteral("Achtung!");
    frage.text = kLoeschenFrage;
    frage.knoepfe = QMessageBox::Yes | QMessageBox::No;
    frage.vorgabe = QMessageBox::No;
    frage.symbol = QMessageBox::Warning;
    const bool ja = Services::messages().zeige(this, frage) == QMessageBox::Yes;
    if (!lebt)
        return;
    if (ja) {
        // Nothing to delete: the user learns why, and nothing is touched.
        if (!m_geladen) {
            if (!meldung(kNichtGeladen))
                return;
        } else if (!rec->hasCurrent()) {
            if (!meldung(QStringLiteral("Es ist keine Frage ausgewählt, die gelöscht werden könnte.")))
                return;
        } else {
            StoreError fehler;
            {
                const QScopedValueRollback<bool> schritt(m_synchron, true);
                fehler = rec->deleteCurrent();
            }
            if (fehler) {
                if (!meldung(QStringLiteral("Die Frage wurde nicht gelöscht.\r\n") + fehler.text()))
                    return;
            } else if (!rec->hasCurrent()) {
                // The last question is gone: nothing left to show.
                for (QLineEdit *feld : eingabefelder())
                    feld->clear();
                m_angezeigt.fill(QString());
            }
        }
    }
    txtFrage->setFocus(Qt::OtherFocusReason);
}

void Form3::txtStufe_LostFocus()
{
    if (Stufenwert::imBereich(txtStufe->text()))
        return;
    if (!meldung(kStufeBereich))
        return;
    txtStufe->setText(QStringLiteral("1"));
    txtStufe->setFocus(Qt::OtherFocusReason);
}

// True when a change may go ahead: on the collection as it was, or on the
// converted one, reopened on the same question with the fields as the user
// left them. False also when the window went away meanwhile.
bool Form3::bereitZumAendern()
{
    const QPointer<Form3> lebt(this);
    const bool weiter = Umwandlung::bereitZumAendern(this, rec.get(), m_offenerPfad, [this] {
        const QVector<QLineEdit *> felder = eingabefelder();
        QStringList texte;
        for (const QLineEdit *feld : felder)
            texte << feld->text();
        const int zeile = rec->currentIndex();
        StoreError e = DatenbankOeffnen(m_offenerPfad);
        if (!e && zeile > 0) {
            const QScopedValueRollback<bool> schritt(m_synchron, true);
            e = rec->setCurrentIndex(zeile);
        }
        // Whatever the reopening showed, nothing the user typed is lost.
        for (int i = 0; i < felder.size(); ++i)
            felder[i]->setText(texte[i]);
        return e;
    });
    return weiter && lebt;
}
