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
class Programmfenster : public Fensterregister {
public:
    QWidget *hole(Fensterart art) override
    {
        switch (art) {
        case Fensterart::Splash: return Fenster::hole<frmSplash>();
        case Fensterart::Haupt: return Fenster::hole<Form1>();
        case Fensterart::Spiel: return Fenster::hole<Form2>();
        case Fensterart::Editor: return Fenster::hole<Form3>();
        case Fensterart::Info: return Fenster::hole<Form4>();
        case Fensterart::Anleitung: return Fenster::hole<Form5>();
        }
        return nullptr;
    }

    QWidget *offen(Fensterart art) override
    {
        switch (art) {
        case Fensterart::Splash: return Fenster::offen<frmSplash>();
        case Fensterart::Haupt: return Fenster::offen<Form1>();
        case Fensterart::Spiel: return Fenster::offen<Form2>();
        case Fensterart::Editor: return Fenster::offen<Form3>();
        case Fensterart::Info: return Fenster::offen<Form4>();
        case Fensterart::Anleitung: return Fenster::offen<Form5>();
        }
        return nullptr;
    }
};
}

namespace Start {
void installiereFensterregister()
{
    static Programmfenster fenster;
    Fensterwahl::setzeRegister(&fenster);
}
}
