#include "store/vorgabe.h"

#include "store/settingsfile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
// One line of a path or address and the admin's comments; anything larger
// is not this file.
constexpr qint64 kMaxLesen = 64 * 1024;

QString &gesetzteDatei()
{
    static QString pfad = QStringLiteral("/etc/kreidolin/Kreidolin.ini");
    return pfad;
}

QString text(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString t = utf8(bytes);
    if (!utf8.hasError())
        return t;
    return SettingsFile::dekodiere(bytes);
}
}

namespace Vorgabe {
QString datei()
{
    return gesetzteDatei();
}

void setDatei(const QString &pfad)
{
    gesetzteDatei() = pfad;
}

std::optional<QString> auswahl(const QByteArray &bytes)
{
    QString t = text(bytes);
    if (t.startsWith(QChar(0xFEFF)))
        t.remove(0, 1);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString &zeile : t.split(QLatin1Char('\n'))) {
        if (zeile.trimmed().isEmpty() || zeile.startsWith(QLatin1Char('#')))
            continue;
        return zeile;
    }
    return std::nullopt;
}

std::optional<QString> lies()
{
    QFile file(datei());
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return auswahl(file.read(kMaxLesen));
}

std::optional<QString> festgelegtText()
{
    const std::optional<QString> zeile = lies();
    if (!zeile)
        return std::nullopt;
    return QStringLiteral("Der Administrator hat die Fragensammlung für alle Benutzer dieses PCs festgelegt:\r\n%1\r\n"
                          "(in %2). Eine andere Datenbank oder ein anderer Server kann hier nicht gewählt werden.")
        .arg(*zeile, datei());
}
}
