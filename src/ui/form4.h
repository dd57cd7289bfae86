#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The info window: title, version and the authors of the program.
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget *parent = nullptr);

    void Form_Load();

public Q_SLOTS:
    void cmdOK_Click();

protected:
    // The button is the window's default and cancel button.
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *Label3;
    QLabel *lblVersion;
    QLabel *Label1;
    QLabel *Label2;
    QWidget *Line1;
    QPushButton *cmdOK;
};

// The authors' lines of the info window: "- " and a name each, joined by CR LF.
QString autorenListe(const QStringList &namen);
