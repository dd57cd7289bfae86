#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// What the class's page sends and asks for, read with distrust: every byte
// comes from a pupil's device on the school network.
namespace Klassennachricht {
// The largest message a device may send; anything longer is not read.
constexpr int kGroesste = 256;

// A device's pick: the question it saw (its running number) and the slot
// it tapped (0 left, 1 middle, 2 right on the projector).
struct Wahl {
    bool gueltig = false;
    int frage = 0;
    int feld = -1;
};
// {"art":"wahl","frage":N,"feld":F}; anything else, other keys included,
// is not a pick.
Wahl liesWahl(const QByteArray &text);

// What a request's path asks for, below /<join code>/.
enum class Teil { Seite, Skript, Stil, Verbindung, FalscherCode, Unbekannt };
Teil liesPfad(const QString &pfad, const QString &code);

// A join code: six characters that cannot be misread on a projector.
QString neuerCode();
// A device token: 32 lower-case hexadecimal digits from the system's
// random source; liesToken gives it back only when it is one.
QString neuesToken();
QString liesToken(const QString &text);

// The shares in percent of three counts, the largest remainder rounded up
// first (ties to the earlier count), so that they add up to exactly 100.
// All zero when nobody voted.
std::array<int, 3> anteile(const std::array<int, 3> &stimmen);
}
