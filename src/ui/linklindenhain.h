#pragma once

#include <QWidget>

class QLabel;

// The partner's name, underlined in blue; a click opens the partner's web page.
class LinkLindenhain : public QWidget {
    Q_OBJECT
public:
    explicit LinkLindenhain(QWidget *parent = nullptr);
    static QString ziel();

public Q_SLOTS:
    void Label1_Click();

private:
    QLabel *Label1;
};
