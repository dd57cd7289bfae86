#pragma once

#include <QWidget>

class QLabel;

// The maker's name, underlined in blue; a click opens the maker's web page.
class LinkAmsel2 : public QWidget {
    Q_OBJECT
public:
    explicit LinkAmsel2(QWidget *parent = nullptr);
    static QString ziel();

public Q_SLOTS:
    void Label1_Click();

private:
    QLabel *Label1;
};
