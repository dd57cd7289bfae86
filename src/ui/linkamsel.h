#pragma once

#include <QWidget>

// The maker's logo; a click opens the maker's web page.
class LinkAmsel : public QWidget {
    Q_OBJECT
public:
    explicit LinkAmsel(QWidget *parent = nullptr);
    static QString ziel();

public Q_SLOTS:
    void imgLogo_Click();

private:
    QWidget *imgLogo;
};
