#include "store/settingsfile.h"

#include "app/appinfo.h"
#include "app/modvariablen.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextCodec>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
constexpr char kBom[] = "\xEF\xBB\xBF";
// A settings file holds one path; anything larger is not a settings file.
constexpr qint64 kMaxLesen = 64 * 1024;

// After our own byte order mark, a further U+FEFF belongs to the path.
QString utf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QTextCodec *windows1252()
{
    static QTextCodec *codec = QTextCodec::codecForName("windows-1252");
    return codec;
}
}

namespace SettingsFile {
std::optional<QString> ersteZeile(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    QByteArray line = bytes;
    const qsizetype end = line.indexOf('\r');
    const qsizetype lf = line.indexOf('\n');
    qsizetype cut = end;
    if (lf >= 0 && (cut < 0 || lf < cut))
        cut = lf;
    if (cut >= 0)
        line.truncate(cut);
    if (bytes.startsWith(kBom))
        return utf8(line.mid(3));
    return dekodiere(line);
}

QByteArray kodiere(const QString &text)
{
    QTextCodec *codec = windows1252();
    if (codec && codec->canEncode(text))
        return codec->fromUnicode(text);
    return QByteArray(kBom) + text.toUtf8();
}

QString dekodiere(const QByteArray &bytes)
{
    if (bytes.startsWith(kBom))
        return utf8(bytes.mid(3));
    QTextCodec *codec = windows1252();
    return codec ? codec->toUnicode(bytes) : QString::fromLatin1(bytes);
}

std::optional<QString> lies(const QString &pfad)
{
    QFile file(pfad);
    if (!QFileInfo(pfad).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Only the first line counts; a huge file is read no further than needed.
    return ersteZeile(file.read(kMaxLesen));
}

StoreError schreibe(const QString &pfad, const QString &zeile)
{
    const auto fehler = [&pfad](const QString &grund) {
        return StoreError(QStringLiteral("Die Einstellungsdatei %1 kann nicht geschrieben werden: %2").arg(pfad, grund));
    };
    if (QFileInfo(pfad).isDir())
        return fehler(QStringLiteral("an ihrer Stelle steht ein Ordner."));
    // The new line goes into a file beside it under a fixed name, which then
    // takes the old one's place in one step. A crash in between leaves the
    // old file whole and at most this one file beside it, which the next
    // write replaces.
    // A link is followed: the file it names gets the line, the link stays.
    const QFileInfo info(pfad);
    const QString ziel = info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : pfad;
    const QString neu = ziel + QStringLiteral(".neu");
    QFile::remove(neu);
    QFile file(neu);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fehler(file.errorString());
    const QByteArray bytes = kodiere(zeile) + "\r\n";
    const bool geschrieben = file.write(bytes) == bytes.size() && file.flush() && ::fsync(file.handle()) == 0;
    const QString grund = file.errorString();
    file.close();
    if (!geschrieben) {
        QFile::remove(neu);
        return fehler(grund);
    }
    if (::rename(QFile::encodeName(neu).constData(), QFile::encodeName(ziel).constData()) != 0) {
        const QString warum = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(neu);
        return fehler(warum);
    }
    return {};
}

SpielPfad spielDatenbank()
{
    if (const auto zeile = lies(AppInfo::einstellungsdatei())) {
        DatenbankPfad = *zeile;
        if (!zeile->isEmpty())
            return {*zeile, {}};
    }
    const QString standard = AppInfo::standardDatenbank();
    return {standard, schreibe(AppInfo::einstellungsdatei(), standard)};
}
}
