#include "start/fensterregister.h"

#include "basis/fensterwahl.h"
#include "start/fenster.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/form4.h"
#include "ui/form5.h"
#include "ui/frmsplash.h"

namespace {
// How to reach one window: build it if need be, or only look whether it is open.
struct Zugang {
    QWidget *(*hole)();
    QWidget *(*offen)();
};

template <class T>
constexpr Zugang zugang()
{
    return {[]() -> QWidget * { return Fenster::hole<T>(); }, []() -> QWidget * { return Fenster::offen<T>(); }};
}

Zugang zugangZu(Fensterart art)
{
    switch (art) {
    case Fensterart::Splash: return zugang<frmSplash>();
    case Fensterart::Haupt: return zugang<Form1>();
    case Fensterart::Spiel: return zugang<Form2>();
    case Fensterart::Editor: return zugang<Form3>();
    case Fensterart::Info: return zugang<Form4>();
    case Fensterart::Anleitung: return zugang<Form5>();
    }
    return zugang<Form1>();
}

class Programmfenster : public Fensterregister {
public:
    QWidget *hole(Fensterart art) override { return zugangZu(art).hole(); }
    QWidget *offen(Fensterart art) override { return zugangZu(art).offen(); }
};
}

namespace Start {
void installiereFensterregister()
{
    static Programmfenster fenster;
    Fensterwahl::setzeRegister(&fenster);
}
}
