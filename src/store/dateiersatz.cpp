#include "store/dateiersatz.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace DateiErsatz {
bool schreibgeschuetzt(const QString &pfad)
{
    const QFileInfo info(pfad);
    const auto schreiben = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.exists() && (!info.isWritable() || !(info.permissions() & schreiben));
}

bool ersetze(const QString &pfad, const QByteArray &bytes, QString *grund,
             std::optional<QFileDevice::Permissions> rechte)
{
    const QFileInfo info(pfad);
    const QString ziel = info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : pfad;
    const QString neu = ziel + QStringLiteral(".neu");
    QFile::remove(neu);
    QFile datei(neu);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        *grund = datei.errorString();
        return false;
    }
    const bool ok = datei.write(bytes) == bytes.size() && datei.flush() && ::fsync(datei.handle()) == 0
        && (!rechte || datei.setPermissions(*rechte));
    *grund = datei.errorString();
    datei.close();
    if (!ok) {
        QFile::remove(neu);
        return false;
    }
    if (::rename(QFile::encodeName(neu).constData(), QFile::encodeName(ziel).constData()) != 0) {
        *grund = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(neu);
        return false;
    }
    return true;
}
}
