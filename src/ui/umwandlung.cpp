#include "ui/umwandlung.h"

#include "basis/appinfo.h"
#include "basis/services.h"
#include "store/connection.h"
#include "store/jetkonvertierung.h"
#include "store/recordset.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

namespace Umwandlung {

bool bereitZumAendern(QWidget *fenster, const Recordset *rec, const QString &pfad,
                      const std::function<StoreError()> &wiederOeffnen)
{
    if (!rec || !rec->activeConnection() || rec->activeConnection()->kind() != Connection::Kind::Jet)
        return true;
    const QPointer<QWidget> lebt(fenster);
    Meldung frage;
    frage.titel = AppInfo::titel();
    frage.text = QStringLiteral("Diese Fragensammlung ist eine Access-Datei, die Kreidolin nur lesen kann.\r\n"
                                "Soll sie in das Format von Kreidolin umgewandelt werden? Das Original bleibt "
                                "unverändert als „%1“ daneben erhalten.")
                     .arg(QFileInfo(JetKonvertierung::freieSicherung(pfad)).fileName());
    frage.knoepfe = QMessageBox::Yes | QMessageBox::No;
    frage.vorgabe = QMessageBox::No;
    frage.symbol = QMessageBox::Question;
    if (Services::messages().zeige(fenster, frage) != QMessageBox::Yes || !lebt)
        return false;

    QString sicherung;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const StoreError fehler = JetKonvertierung::konvertiere(pfad, &sicherung);
    QGuiApplication::restoreOverrideCursor();
    if (fehler) {
        Services::meldung(fenster, AppInfo::titel(),
                          QStringLiteral("Die Fragensammlung wurde nicht umgewandelt und die Änderung nicht "
                                         "ausgeführt.\r\n")
                              + fehler.text());
        return false;
    }
    if (const StoreError e = wiederOeffnen()) {
        Services::meldung(fenster, AppInfo::titel(),
                          QStringLiteral("Die Fragensammlung wurde umgewandelt, das Original liegt als „%1“ "
                                         "daneben. Die Änderung wurde nicht ausgeführt.\r\n")
                                  .arg(QFileInfo(sicherung).fileName())
                              + e.text());
        return false;
    }
    return true;
}

}
