#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;
class MailMorlon;

// Where the instructions window puts its title and text view once its size
// is known, in twips: the view keeps 100 twips to either side, the title is
// centred across the window.
struct AnleitungLage {
    double RichTextBox1Left;
    double RichTextBox1Width;
    double Label3Left;
};
AnleitungLage anleitungLage(double innenBreite, double titelBreite);

// The instructions window: the rules of the game in a rich-text view.
class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(QWidget *parent = nullptr);

    void Form_Load();

public Q_SLOTS:
    void cmdOK_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void legeMailLinkAufAdresse();

    QLabel *Label3;
    QTextEdit *RichTextBox1;
    QPushButton *cmdOK;
    MailMorlon *MailMorlon1;
};
