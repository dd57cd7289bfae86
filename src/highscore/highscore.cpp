#include "highscore/highscore.h"

#include "basis/zeichensatz.h"
#include "store/dateiersatz.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTextCodec>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {
const QString kTrenner = QStringLiteral(" | ");

// Marks a line written as UTF-8. A name in Windows-1252 never starts with
// its three characters: the writer sends such a name as UTF-8 behind it.
using Zeichensatz::kMarke;
// How long an entry waits for another PC to finish its own, in milliseconds.
constexpr int kSperrFrist = 10000;

using Zeichensatz::windows1252;

// The five bytes Windows-1252 gives no character.
bool istUngenutzt(unsigned char b)
{
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// Every character is one of Windows-1252's own: the codec would also pass
// U+0081 and its like on as the unused bytes.
bool in1252(const QString &text)
{
    QTextCodec *codec = windows1252();
    if (!codec || !codec->canEncode(text))
        return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x100 && istUngenutzt(static_cast<unsigned char>(c.unicode())))
            return false;
    }
    return true;
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

// Waits for the file's lock. A folder that takes no new file allows no
// lock; the file is then written without one.
StoreError sperreNimm(QLockFile &sperre, const QString &pfad, const QString &was)
{
    // A lock left by a PC that went down mid-entry is taken over well
    // before the wait ends; one entry takes milliseconds.
    sperre.setStaleLockTime(kSperrFrist / 2);
    if (!sperre.tryLock(kSperrFrist) && sperre.error() == QLockFile::LockFailedError)
        return StoreError(QStringLiteral("Die Highscore-Datei %1 kann nicht %2 werden: ein anderes Programm hält "
                                         "sie gesperrt.").arg(pfad, was));
    return {};
}
}

namespace Highscore {
QString keineEintraege() { return QStringLiteral("Keine Einträge vorhanden..."); }
QString warnText() { return QStringLiteral("Beim nächsten Spiel wird die Highscoreliste gelöscht!"); }

QByteArray kodiereZeile(const QString &name, int punkte)
{
    const QString zeile = name + kTrenner + QString::number(punkte);
    QByteArray bytes;
    if (in1252(zeile))
        bytes = windows1252()->fromUnicode(zeile);
    // Everything else, and the one Windows-1252 line that would look like
    // the mark, goes as UTF-8 behind the mark.
    if (bytes.isNull() || bytes.startsWith(kMarke))
        bytes = QByteArray(kMarke) + zeile.toUtf8();
    bytes += "\r\n";
    return bytes;
}

QString dekodiereZeile(const QByteArray &bytes)
{
    if (bytes.startsWith(kMarke)) {
        if (const std::optional<QString> text = Zeichensatz::utf8Streng(bytes.mid(3)))
            return *text;
    }
    // Lines from before the mark: a byte Windows-1252 leaves unused cannot
    // stand in a Windows-1252 line, so valid UTF-8 holding one is UTF-8.
    bool ungenutzt = false;
    for (const char c : bytes)
        ungenutzt = ungenutzt || istUngenutzt(static_cast<unsigned char>(c));
    if (ungenutzt) {
        if (const std::optional<QString> text = Zeichensatz::utf8Streng(bytes))
            return *text;
    }
    // Windows-1252 is one character per byte: the codec's own answer for
    // each byte, asked once, decodes a line far quicker than the codec.
    static const std::array<char16_t, 256> tafel = [] {
        std::array<char16_t, 256> t{};
        QTextCodec *codec = windows1252();
        for (int b = 0; b < 256; ++b) {
            const QString zeichen = codec ? codec->toUnicode(QByteArray(1, static_cast<char>(b)))
                                          : QString(QChar(b));
            t[b] = zeichen.size() == 1 ? zeichen.at(0).unicode() : char16_t(b);
        }
        return t;
    }();
    QString ergebnis(bytes.size(), Qt::Uninitialized);
    QChar *ziel = ergebnis.data();
    for (const char c : bytes)
        *ziel++ = QChar(tafel[static_cast<unsigned char>(c)]);
    return ergebnis;
}

QVector<QByteArray> zeilen(const QByteArray &inhalt)
{
    QVector<QByteArray> out;
    qsizetype anfang = 0;
    const qsizetype n = inhalt.size();
    while (anfang < n) {
        qsizetype ende = anfang;
        while (ende < n && inhalt.at(ende) != '\r' && inhalt.at(ende) != '\n')
            ++ende;
        out.append(inhalt.mid(anfang, ende - anfang));
        // CR LF is one line end; a lone CR or a lone LF is one as well.
        anfang = ende + (ende + 1 < n && inhalt.at(ende) == '\r' && inhalt.at(ende + 1) == '\n' ? 2 : 1);
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
    // The exchange procedure runs on the scores alone, carrying along where
    // each entry came from; the entries move once at the end. A rebuild of
    // a full list (1000 entries) so takes well under a millisecond.
    const qsizetype n = eintraege.size();
    if (n > kLeerGrenze) {
        // Only a file that could not be emptied gets here; even the short
        // exchange procedure's n * n / 2 steps would freeze the window.
        std::stable_sort(eintraege.begin(), eintraege.end(),
                         [](const Eintrag &a, const Eintrag &b) { return a.punkte > b.punkte; });
        return;
    }
    std::vector<int> punkte(static_cast<size_t>(n));
    std::vector<qsizetype> herkunft(static_cast<size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        punkte[i] = eintraege.at(i).punkte;
        herkunft[i] = i;
    }
    for (qsizetype i = 0; i < n; ++i) {
        // The first pass leaves the lowest score at position 0; every later
        // pass i leaves it at position i, having moved it there from the
        // positions before i. So a pass never exchanges with a position after
        // i, and stopping at i gives the same order as running to the end.
        const qsizetype bis = i == 0 ? n : i;
        int p = punkte[i];
        qsizetype h = herkunft[i];
        for (qsizetype j = 0; j < bis; ++j) {
            if (p > punkte[j]) {
                std::swap(p, punkte[j]);
                std::swap(h, herkunft[j]);
            }
        }
        punkte[i] = p;
        herkunft[i] = h;
    }
    QVector<Eintrag> geordnet;
    geordnet.reserve(n);
    for (qsizetype k = 0; k < n; ++k)
        geordnet.append(std::move(eintraege[herkunft[k]]));
    eintraege = std::move(geordnet);
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
    if (DateiErsatz::schreibgeschuetzt(pfad))
        return StoreError(QStringLiteral("Die Highscore-Datei %1 kann nicht beschrieben werden: sie ist "
                                         "schreibgeschützt.").arg(pfad));
    // Several PCs may end their games into one file on a share: a lock file
    // beside it lets one append at a time. A lock file that is there before
    // ours is taken belongs to an append under way or to one whose PC went
    // down in the middle of its line.
    QLockFile sperre(pfad + QStringLiteral(".lock"));
    qint64 pid = 0;
    QString rechner, programm;
    const bool vorgaenger = sperre.getLockInfo(&pid, &rechner, &programm);
    if (StoreError e = sperreNimm(sperre, pfad, QStringLiteral("beschrieben")))
        return e;

    // Appended in place, so a file that may be written in a folder that
    // takes no new file still gets its line. The line goes out in one
    // write and is synced before the lock is given back.
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
        return StoreError(dateiFehler(QStringLiteral("beschrieben"), pfad, datei));
    QByteArray zeile = kodiereZeile(name, punkte);
    char letztes = '\n';
    if (datei.size() > 0 && !(datei.seek(datei.size() - 1) && datei.getChar(&letztes)))
        return StoreError(dateiFehler(QStringLiteral("gelesen"), pfad, datei));
    // A line without its end behind a lock that was left lying is the rest
    // of a broken-off append and goes; the system can stop a write between
    // two pages. A hand-edited file may lack the end of its last line as
    // well: the new entry then starts a line of its own.
    if (letztes != '\n' && vorgaenger) {
        if (!kuerzeAufZeilenende(datei))
            return StoreError(dateiFehler(QStringLiteral("beschrieben"), pfad, datei));
    } else if (letztes != '\n') {
        zeile.prepend("\r\n");
    }
    if (datei.write(zeile) != zeile.size() || !datei.flush() || ::fsync(datei.handle()) != 0)
        return StoreError(dateiFehler(QStringLiteral("beschrieben"), pfad, datei));
    return {};
}

bool kuerzeAufZeilenende(QFile &datei)
{
    constexpr qint64 kStueck = 4096;
    qint64 ende = datei.size();
    while (ende > 0) {
        const qint64 von = std::max<qint64>(0, ende - kStueck);
        if (!datei.seek(von))
            return false;
        const QByteArray stueck = datei.read(ende - von);
        if (stueck.size() != ende - von)
            return false;
        const qsizetype n = stueck.lastIndexOf('\n');
        if (n >= 0)
            return datei.resize(von + n + 1);
        ende = von;
    }
    return datei.resize(0);
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
    QByteArray inhalt = datei.readAll();
    // While a lock file lies beside it, a last line without its end is not
    // whole: its append is under way, or was broken off.
    if (!inhalt.endsWith('\n') && QFileInfo::exists(pfad + QStringLiteral(".lock")))
        inhalt.truncate(inhalt.lastIndexOf('\n') + 1);
    lesung.eintraege = zerlege(inhalt);
    return lesung;
}

StoreError leere(const QString &pfad)
{
    if (StoreError e = keineDatei(QStringLiteral("geleert"), pfad))
        return e;
    QLockFile sperre(pfad + QStringLiteral(".lock"));
    if (StoreError e = sperreNimm(sperre, pfad, QStringLiteral("geleert")))
        return e;
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return StoreError(dateiFehler(QStringLiteral("geleert"), pfad, datei));
    return {};
}
}
