#include "store/settingsfile.h"

#include "store/dateiersatz.h"
#include "store/vorgabe.h"

#include "basis/appinfo.h"
#include "basis/zeichensatz.h"

#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
using Zeichensatz::kMarke;
using Zeichensatz::utf8;
using Zeichensatz::windows1252;
// A settings file holds one path; anything larger is not a settings file.
constexpr qint64 kMaxLesen = 64 * 1024;
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
    if (bytes.startsWith(kMarke))
        return utf8(line.mid(3));
    return dekodiere(line);
}

QByteArray kodiere(const QString &text)
{
    QTextCodec *codec = windows1252();
    if (codec && codec->canEncode(text))
        return codec->fromUnicode(text);
    return QByteArray(kMarke) + text.toUtf8();
}

QString dekodiere(const QByteArray &bytes)
{
    if (bytes.startsWith(kMarke))
        return utf8(bytes.mid(3));
    QTextCodec *codec = windows1252();
    return codec ? codec->toUnicode(bytes) : QString::fromLatin1(bytes);
}

std::optional<QString> lies(const QString &pfad)
{
    // The admin's choice stands above every user's own line.
    if (pfad == AppInfo::einstellungsdatei())
        if (std::optional<QString> vorgabe = Vorgabe::lies())
            return vorgabe;
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
    // Replacing goes through the folder; a file the user made read-only
    // must not be swapped for a new one behind his back.
    if (DateiErsatz::schreibgeschuetzt(pfad))
        return fehler(QStringLiteral("sie ist schreibgeschützt."));
    QString grund;
    if (!DateiErsatz::ersetze(pfad, kodiere(zeile) + "\r\n", &grund))
        return fehler(grund);
    return {};
}

SpielPfad spielDatenbank()
{
    if (const auto zeile = lies(AppInfo::einstellungsdatei()); zeile && !zeile->isEmpty())
        return {*zeile, {}};
    const QString standard = AppInfo::standardDatenbank();
    return {standard, schreibe(AppInfo::einstellungsdatei(), standard)};
}
}
