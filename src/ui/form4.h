#pragma once

#include <QWidget>

// Placeholder until the window is built.
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget *parent = nullptr);
};
