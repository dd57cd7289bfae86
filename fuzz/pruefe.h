#pragma once

// Shared by every target: the input as bytes, and the check of a promise
// that names the broken one before the fuzzer records the input. The check
// is always evaluated, in every build, so it may hold the call it checks.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void gebrochen(const char *bedingung, const char *datei, int zeile)
{
    std::fprintf(stderr, "broken: %s (%s:%d)\n", bedingung, datei, zeile);
    std::abort();
}
#define pruefe(bedingung) ((bedingung) ? void() : gebrochen(#bedingung, __FILE__, __LINE__))

inline QByteArray eingabe(const uint8_t *daten, size_t laenge)
{
    return QByteArray(reinterpret_cast<const char *>(daten), static_cast<qsizetype>(laenge));
}
