#include "highscore/highscore.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextCodec>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
const QString kTrenner = QStringLiteral(" | ");

QTextCodec *windows1252()
{
    static QTextCodec *codec = QTextCodec::codecForName("windows-1252");
    return codec;
}

// Digits only, and small enough for the list's whole numbers.
std::optional<int> ganzeZahl(const QString &text)
{
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    return text.toInt();
}

QString dateiFehler(const QString &was, const QString &pfad, const QFile &datei)
{
    return QStringLiteral("Die Highscore-Datei %1 kann nicht %2 werden: %3").arg(pfad, was, datei.errorString());
}

// Something other than a plain file stands at the path: a folder, or a
// FIFO or device, whose opening could block for ever.
StoreError keineDatei(const QString &was, const QString &pfad)
{
    const QFileInfo info(pfad);
    if (!info.exists() || info.isFile())
        return {};
    const QString grund = info.isDir() ? QStringLiteral("an ihrer Stelle steht ein Ordner.")
                                       : QStringLiteral("an ihrer Stelle steht keine gewöhnliche Datei.");
    return StoreError(QStringLiteral("Die Highscore-Datei %1 kann nicht %2 werden: %3").arg(pfad, was, grund));
}
}

namespace Highscore {
QString keineEintraege() { return QStringLiteral("Keine Einträge vorhanden..."); }
QString warnText() { return QStringLiteral("Beim nächsten Spiel wird die Highscoreliste gelöscht!"); }

QByteArray kodiereZeile(const QString &name, int punkte)
{
    const QString zeile = name + kTrenner + QString::number(punkte);
    QTextCodec *codec = windows1252();
    QByteArray bytes = codec && codec->canEncode(zeile) ? codec->fromUnicode(zeile) : zeile.toUtf8();
    bytes += "\r\n";
    return bytes;
}

QString dekodiereZeile(const QByteArray &bytes)
{
    bool mehrbyte = false;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            mehrbyte = true;
            break;
        }
    }
    if (mehrbyte) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    QTextCodec *codec = windows1252();
    return codec ? codec->toUnicode(bytes) : QString::fromLatin1(bytes);
}

QVector<QByteArray> zeilen(const QByteArray &inhalt)
{
    QVector<QByteArray> out;
    qsizetype anfang = 0;
    while (anfang < inhalt.size()) {
        qsizetype ende = inhalt.indexOf('\n', anfang);
        const qsizetype naechste = ende < 0 ? inhalt.size() : ende + 1;
        if (ende < 0)
            ende = inhalt.size();
        QByteArray zeile = inhalt.mid(anfang, ende - anfang);
        if (zeile.endsWith('\r'))
            zeile.chop(1);
        out.append(zeile);
        anfang = naechste;
    }
    return out;
}

std::optional<Eintrag> zerlegeZeile(const QString &zeile)
{
    const QStringList felder = zeile.split(kTrenner);
    if (felder.size() < 2)
        return std::nullopt;
    if (const auto punkte = ganzeZahl(felder[1]))
        return Eintrag{felder[0], *punkte};
    // A name that itself holds " | " still has its score at the end.
    if (const auto punkte = ganzeZahl(felder.last()))
        return Eintrag{zeile.left(zeile.lastIndexOf(kTrenner)), *punkte};
    return std::nullopt;
}

QVector<Eintrag> zerlege(const QByteArray &inhalt)
{
    QVector<Eintrag> out;
    for (const QByteArray &z : zeilen(inhalt)) {
        if (const auto e = zerlegeZeile(dekodiereZeile(z)))
            out.append(*e);
    }
    return out;
}

void ordne(QVector<Eintrag> &eintraege)
{
    const qsizetype n = eintraege.size();
    if (n > kLeerGrenze) {
        // Only a file that could not be emptied gets here; the exchange
        // procedure's n * n steps would freeze the window for minutes.
        std::stable_sort(eintraege.begin(), eintraege.end(),
                         [](const Eintrag &a, const Eintrag &b) { return a.punkte > b.punkte; });
        return;
    }
    Eintrag *e = eintraege.data();
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = 0; j < n; ++j) {
            if (e[i].punkte > e[j].punkte)
                std::swap(e[i], e[j]);
        }
    }
}

QString listenText(int position, const Eintrag &eintrag)
{
    return QString::number(position) + QStringLiteral(" : ") + eintrag.name + QStringLiteral("  -  ")
        + QString::number(eintrag.punkte) + QStringLiteral(" Punkte");
}

Liste baueListe(QVector<Eintrag> eintraege)
{
    Liste liste;
    const qsizetype n = eintraege.size();
    liste.warnen = n == kWarnGrenze;
    liste.leeren = n > kLeerGrenze;
    if (liste.leeren || n == 0)
        return liste;
    ordne(eintraege);
    for (qsizetype i = 0; i < n; ++i)
        liste.texte << listenText(static_cast<int>(i) + 1, eintraege[i]);
    return liste;
}

StoreError anhaengen(const QString &pfad, const QString &name, int punkte)
{
    if (StoreError e = keineDatei(QStringLiteral("beschrieben"), pfad))
        return e;
    const QFileInfo info(pfad);
    QByteArray inhalt;
    if (info.exists()) {
        QFile alt(pfad);
        if (!info.isWritable())
            return StoreError(QStringLiteral("Die Highscore-Datei %1 kann nicht beschrieben werden: sie ist "
                                             "schreibgeschützt.").arg(pfad));
        if (!alt.open(QIODevice::ReadOnly))
            return StoreError(dateiFehler(QStringLiteral("gelesen"), pfad, alt));
        inhalt = alt.readAll();
        if (alt.error() != QFileDevice::NoError)
            return StoreError(dateiFehler(QStringLiteral("gelesen"), pfad, alt));
    }
    // A hand-edited file may lack the end of its last line; the new entry
    // must not be glued onto it.
    if (!inhalt.isEmpty() && !inhalt.endsWith('\n'))
        inhalt += "\r\n";
    inhalt += kodiereZeile(name, punkte);

    // The longer file is written beside the old one and takes its place in
    // one step. Appending in place could leave half a line behind when the
    // program is killed in the middle of the write.
    // A link is followed: the file it names gets the line, the link stays.
    const QString ziel = info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : pfad;
    const QString neu = ziel + QStringLiteral(".neu");
    QFile::remove(neu);
    QFile datei(neu);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return StoreError(dateiFehler(QStringLiteral("beschrieben"), pfad, datei));
    const bool ok = datei.write(inhalt) == inhalt.size() && datei.flush() && ::fsync(datei.handle()) == 0
        && (!info.exists() || datei.setPermissions(info.permissions()));
    const StoreError schreibfehler(dateiFehler(QStringLiteral("beschrieben"), pfad, datei));
    datei.close();
    if (!ok) {
        QFile::remove(neu);
        return schreibfehler;
    }
    if (::rename(QFile::encodeName(neu).constData(), QFile::encodeName(ziel).constData()) != 0) {
        const QString grund = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(neu);
        return StoreError(QStringLiteral("Die Highscore-Datei %1 kann nicht beschrieben werden: %2").arg(pfad, grund));
    }
    return {};
}

Lesung lies(const QString &pfad)
{
    Lesung lesung;
    QFile datei(pfad);
    if (!QFileInfo::exists(pfad)) {
        if (!datei.open(QIODevice::WriteOnly))
            lesung.fehler = StoreError(dateiFehler(QStringLiteral("angelegt"), pfad, datei));
        return lesung;
    }
    if (StoreError e = keineDatei(QStringLiteral("gelesen"), pfad)) {
        lesung.fehler = e;
        return lesung;
    }
    if (!datei.open(QIODevice::ReadOnly)) {
        lesung.fehler = StoreError(dateiFehler(QStringLiteral("gelesen"), pfad, datei));
        return lesung;
    }
    lesung.eintraege = zerlege(datei.readAll());
    return lesung;
}

StoreError leere(const QString &pfad)
{
    if (StoreError e = keineDatei(QStringLiteral("geleert"), pfad))
        return e;
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return StoreError(dateiFehler(QStringLiteral("geleert"), pfad, datei));
    return {};
}
}
