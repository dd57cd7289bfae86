#include "app/frmsplash.h"

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral(""));
}
