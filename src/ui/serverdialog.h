#pragma once

#include "store/serveradresse.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// "Server auswählen": the editor's way to a collection on a PostgreSQL
// server. Host, port, database and user; the connection is tried before the
// dialog closes with OK, so that no address that does not work is stored.
class ServerDialog : public QDialog {
    Q_OBJECT
public:
    explicit ServerDialog(const ServerAdresse &vorgabe, QWidget *parent = nullptr);

    ServerAdresse adresse() const;

    // Tries the connection and tells the outcome; true when it works.
    bool cmdTesten_Click();
    void accept() override;

private:
    bool teste(bool erfolgMelden);

    QLineEdit *txtHost = nullptr;
    QLineEdit *txtPort = nullptr;
    QLineEdit *txtDatenbank = nullptr;
    QLineEdit *txtBenutzer = nullptr;
    QPushButton *cmdTesten = nullptr;
};
