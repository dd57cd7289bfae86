#pragma once

#include <QObject>

#include <functional>

class QPushButton;
class QWidget;

// The editor's buttons for taking questions from a spreadsheet or Moodle
// file into the open collection, writing the collection out, and checking
// it. They stand in the status line's row, right-aligned, and are reached
// by their access keys (the editor's tab order is its own).
class Austauschleiste : public QObject {
    Q_OBJECT
public:
    // sammlung names the collection the editor has open (empty for none).
    Austauschleiste(QWidget *fenster, std::function<QString()> sammlung);
    // innenBreite: the window's client width in twips.
    void platziere(double innenBreite);

Q_SIGNALS:
    // An import has added questions; the editor opens the collection anew.
    void sammlungGeaendert();

private:
    void cmdImport_Click();
    void cmdExport_Click();
    void cmdPruefen_Click();
    // A collection on a server takes a spreadsheet by matching it.
    void gleicheAb(const QString &quelle, const QString &ziel);
    bool sammlungDa(QString &pfad);

    QWidget *m_fenster;
    std::function<QString()> m_sammlung;
    QPushButton *cmdImport = nullptr;
    QPushButton *cmdExport = nullptr;
    QPushButton *cmdPruefen = nullptr;
};
