// Fuzzes what the class's devices send: a message is a pick only with a
// slot 0..2 and a question number from 1, whatever the bytes; a request's
// path is the page below the join code only when it names that code; a
// token is read back only as 32 hexadecimal digits.

#include "klasse/klassennachricht.h"
#include "pruefe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t laenge)
{
    const QByteArray bytes = eingabe(daten, laenge);
    const Klassennachricht::Wahl w = Klassennachricht::liesWahl(bytes);
    pruefe(!w.gueltig || (w.feld >= 0 && w.feld <= 2 && w.frage >= 1 && bytes.size() <= Klassennachricht::kGroesste));

    const QString text = QString::fromUtf8(bytes);
    const QString code = QStringLiteral("KX7PQR");
    const Klassennachricht::Teil teil = Klassennachricht::liesPfad(text, code);
    pruefe(teil == Klassennachricht::Teil::FalscherCode || teil == Klassennachricht::Teil::Unbekannt
           || text.startsWith(QLatin1Char('/') + code + QLatin1Char('/')));
    pruefe(Klassennachricht::liesPfad(text, QString()) != Klassennachricht::Teil::Seite);

    const QString token = Klassennachricht::liesToken(text);
    pruefe(token.isEmpty() || (token == text && token.size() == 32));

    // Shares from any three counts add up to 100, or to 0 when all are 0.
    if (laenge >= 3) {
        const std::array<int, 3> s{daten[0], daten[1], daten[2]};
        const std::array<int, 3> a = Klassennachricht::anteile(s);
        pruefe(a[0] + a[1] + a[2] == (s[0] + s[1] + s[2] ? 100 : 0));
    }
    return 0;
}
