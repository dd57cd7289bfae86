#pragma once

#include <QWidget>

class QLabel;

// The contact e-mail address; a click starts a new message to it in the mail program.
class MailMorlon : public QWidget {
    Q_OBJECT
public:
    explicit MailMorlon(QWidget *parent = nullptr);
    static QString ziel();

public Q_SLOTS:
    void Label1_Click();

private:
    QLabel *Label1;
};
