#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace DateiErsatz {
// Replaces the whole file with bytes in one step: written to "<file>.neu"
// beside it, synced, then renamed into place. A kill in between leaves the
// old file whole and at most that one file beside it, which the next write
// replaces. A symbolic link is followed: the file it names gets the bytes,
// the link stays. On failure returns false with the reason in grund.
// Whether the file at pfad exists and may not be written: refused to this
// user, or carrying no write permission at all (the read-only mark a user
// sets by hand, which an administrator would otherwise pass over).
bool schreibgeschuetzt(const QString &pfad);

bool ersetze(const QString &pfad, const QByteArray &bytes, QString *grund,
             std::optional<QFileDevice::Permissions> rechte = std::nullopt);
}
