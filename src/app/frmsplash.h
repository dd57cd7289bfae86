#pragma once

#include <QWidget>

// Placeholder until the window is built.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);
};
