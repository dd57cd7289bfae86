#pragma once

#include <QString>
#include <QStringList>

// Everything the program says about who made it, in one place: the project's
// names, its class designation, its addresses and its authors.
namespace Hersteller {
// Read on from "des" in the splash window's sentence.
inline QString projektGenitiv() { return QStringLiteral("Kreidolin-Projekts"); }
// Read on from "in Kooperation mit der".
inline QString partner() { return QStringLiteral("Kreidolin-Fragenwerkstatt"); }
// Always four characters: the splash sentence leaves room for exactly that.
inline QString klasse() { return QStringLiteral("KR01"); }

// Web addresses are written without a scheme, as users type them.
inline QString webAdresse() { return QStringLiteral("www.kreidolin.example"); }
inline QString partnerWebAdresse() { return QStringLiteral("www.fragenwerkstatt.example"); }
inline QString eMail() { return QStringLiteral("team@kreidolin.example"); }

// Street line, postcode and town, contact person.
inline QStringList postanschrift()
{
    return {QStringLiteral("Kreidolin-Projektgruppe, Tafelweg 15"), QStringLiteral("99999 Kreidestadt"),
            QStringLiteral("z. Hd. Dr. Kreidolin-Team")};
}

inline QStringList autoren()
{
    return {QStringLiteral("Team Kreidolin (Spiel)"), QStringLiteral("Team Kreidolin (Fragen)"),
            QStringLiteral("Team Kreidolin (Editor)"), QStringLiteral("Team Kreidolin (Grafik)")};
}
}
