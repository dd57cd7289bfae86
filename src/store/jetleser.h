#pragma once

#include "store/storeerror.h"

#include <QString>

struct TableData;

// Reads a table of a genuine Access file through the child process
// kreidolin-mdb, bounded in time and memory: a damaged or hostile file can
// end or stall only the child, and every such ending is an ordinary
// StoreError here. The Access file is only ever read.
namespace JetLeser {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMitAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMitAddressSanitizer = true;
#else
constexpr bool kMitAddressSanitizer = false;
#endif
#else
constexpr bool kMitAddressSanitizer = false;
#endif

// 20 seconds; a build with AddressSanitizer reads several times slower.
constexpr int kStandardZeitlimit = kMitAddressSanitizer ? 120000 : 20000;

// The child program. Empty (the default) means: kreidolin-mdb beside the
// program, else ../libexec/kreidolin/kreidolin-mdb relative to it.
void setProgramm(const QString &pfad);
QString programm();

// Wall-clock limit for one read, in milliseconds (default kStandardZeitlimit); the child
// is killed when it is reached. Its CPU time is limited alike.
void setZeitlimit(int ms);
int zeitlimit();

// The child's address space, in bytes (default 1 GiB).
void setSpeicherlimit(qint64 bytes);

// The whole table into out (writable = false). More than maxRows rows is an
// error, as for any other question database.
StoreError lies(const QString &pfad, const QString &tabelle, TableData &out, qint64 maxRows);

}
