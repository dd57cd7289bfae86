#include "basis/fensterwahl.h"

#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {
Fensterregister *g_register = nullptr;

Fensterregister &registerDesProgramms()
{
    if (!g_register) {
        std::fputs("Kreidolin: no window register installed\n", stderr);
        std::abort();
    }
    return *g_register;
}
}

namespace Fensterwahl {
void setzeRegister(Fensterregister *fenster) { g_register = fenster; }
QWidget *hole(Fensterart art) { return registerDesProgramms().hole(art); }
QWidget *offen(Fensterart art) { return registerDesProgramms().offen(art); }

QWidget *zeige(Fensterart art)
{
    QWidget *window = hole(art);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
}
