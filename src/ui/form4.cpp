#include "ui/form4.h"

Form4::Form4(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Kreidolin - Informationen"));
}
