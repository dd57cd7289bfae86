#pragma once

#include "store/storeerror.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Files of the exchange as the system gives them. Only regular files are
// read: a named pipe, a device or a folder is refused before anything waits
// on it. A file is written whole or not at all: beside the target, every
// write checked, read back and checked by the caller, then put in place in
// one step. The system's reasons are given in German.
namespace Dateizugang {
// The reason behind an errno value, as a teacher reads it.
QString grund(int fehlernummer);

// Refuses a path that names anything but a regular file; nothing for a
// path that does not exist (the caller decides what that means).
StoreError nurDatei(const QString &pfad);

// Reads the regular file pfad; more than maxBytes is refused.
StoreError lies(const QString &pfad, qint64 maxBytes, QByteArray &bytes);

// Checks what was read back from the file before it replaces the target.
using Probe = std::function<StoreError(const QByteArray &geschrieben)>;

// Writes bytes to pfad through a file beside it; pfad is replaced only when
// the whole file is written, read back equal, and probe accepts it.
StoreError schreibe(const QString &pfad, const QByteArray &bytes, const Probe &probe = {});
}
