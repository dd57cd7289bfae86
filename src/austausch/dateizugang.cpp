#include "austausch/dateizugang.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString art(mode_t modus)
{
    if (S_ISDIR(modus))
        return QStringLiteral("ein Ordner");
    if (S_ISFIFO(modus))
        return QStringLiteral("eine benannte Pipe");
    if (S_ISCHR(modus) || S_ISBLK(modus))
        return QStringLiteral("ein Gerät");
    if (S_ISSOCK(modus))
        return QStringLiteral("ein Socket");
    return QStringLiteral("keine gewöhnliche Datei");
}

StoreError keineDatei(const QString &pfad, mode_t modus)
{
    return StoreError(QStringLiteral("%1 ist %2, keine Datei mit Fragen.").arg(pfad, art(modus)));
}

// Closes on every way out.
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    // A close that fails after writes can mean the data never arrived.
    int schliesse()
    {
        const int r = ::close(fd);
        fd = -1;
        return r;
    }
};

StoreError liesFd(int fd, qint64 maxBytes, QByteArray &bytes)
{
    bytes.clear();
    char puffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, puffer, sizeof puffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return StoreError(Dateizugang::grund(errno));
        if (n == 0)
            return {};
        if (bytes.size() + n > maxBytes)
            return StoreError(QStringLiteral("größer als %1 MB").arg(maxBytes / (1024 * 1024)));
        bytes.append(puffer, n);
    }
}

bool schreibeAlles(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qint64 rest = bytes.size();
    while (rest > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(qMin<qint64>(rest, 1 << 20)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        p += n;
        rest -= n;
    }
    return true;
}
}

namespace Dateizugang {

QString grund(int fehlernummer)
{
    switch (fehlernummer) {
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr.");
    case EDQUOT:
        return QStringLiteral("Der Speicherplatz, der Ihnen zusteht, ist aufgebraucht.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Dafür fehlt die Berechtigung.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENOENT:
        return QStringLiteral("Die Datei oder der Ordner existiert nicht.");
    case ENOTDIR:
        return QStringLiteral("Ein Teil des Pfades ist kein Ordner.");
    case EISDIR:
        return QStringLiteral("Das ist ein Ordner, keine Datei.");
    case EIO:
        return QStringLiteral("Der Datenträger meldet einen Lese- oder Schreibfehler.");
    case ENAMETOOLONG:
        return QStringLiteral("Der Dateiname ist zu lang.");
    case EFBIG:
        return QStringLiteral("Die Datei wird zu groß für den Datenträger.");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Es sind zu viele Dateien zugleich offen.");
    default:
        return QStringLiteral("Das System meldet den Fehler Nummer %1.").arg(fehlernummer);
    }
}

StoreError nurDatei(const QString &pfad)
{
    struct stat st {};
    if (::stat(QFile::encodeName(pfad).constData(), &st) != 0)
        return {};
    return S_ISREG(st.st_mode) ? StoreError() : keineDatei(pfad, st.st_mode);
}

StoreError lies(const QString &pfad, qint64 maxBytes, QByteArray &bytes)
{
    bytes.clear();
    // Without O_NONBLOCK the open of a named pipe waits for a writer.
    Fd d{::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (d.fd < 0)
        return StoreError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(pfad, grund(errno)));
    struct stat st {};
    if (::fstat(d.fd, &st) != 0)
        return StoreError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(pfad, grund(errno)));
    if (!S_ISREG(st.st_mode))
        return keineDatei(pfad, st.st_mode);
    if (st.st_size > maxBytes)
        return StoreError(QStringLiteral("Die Datei %1 ist größer als %2 MB; so viele Fragen fasst keine Sammlung.")
                              .arg(pfad).arg(maxBytes / (1024 * 1024)));
    if (const StoreError e = liesFd(d.fd, maxBytes, bytes))
        return StoreError(QStringLiteral("Die Datei %1 kann nicht gelesen werden: %2").arg(pfad, e.text()));
    return {};
}

StoreError schreibe(const QString &pfad, const QByteArray &bytes, const Probe &probe)
{
    auto nicht = [&pfad](const QString &warum) {
        return StoreError(QStringLiteral("Die Datei %1 wurde nicht geschrieben: %2 Eine frühere Datei dieses Namens "
                                         "ist unverändert.").arg(pfad, warum));
    };
    if (const StoreError e = nurDatei(pfad))
        return nicht(e.text());
    const QFileInfo ziel(pfad);
    QByteArray vorlage = QFile::encodeName(ziel.absolutePath() + QStringLiteral("/.") + ziel.fileName()
                                           + QStringLiteral(".XXXXXX"));
    Fd d{::mkostemp(vorlage.data(), O_CLOEXEC)};
    if (d.fd < 0)
        return nicht(grund(errno));
    const QByteArray temp = vorlage;
    struct Aufraeumen {
        const QByteArray &name;
        bool an = true;
        ~Aufraeumen()
        {
            if (an)
                ::unlink(name.constData());
        }
    } aufraeumen{temp};
    // An existing file keeps its permissions; a new one gets the usual ones.
    struct stat alt {};
    mode_t modus = 0666;
    if (::stat(QFile::encodeName(pfad).constData(), &alt) == 0) {
        modus = alt.st_mode & 07777;
    } else {
        const mode_t maske = ::umask(0);
        ::umask(maske);
        modus &= ~maske;
    }
    if (!schreibeAlles(d.fd, bytes) || ::fchmod(d.fd, modus) != 0 || ::fsync(d.fd) != 0 || d.schliesse() != 0)
        return nicht(grund(errno));
    // Read back piece by piece against what was meant: no second copy of a large file.
    Fd zurueck{::open(temp.constData(), O_RDONLY | O_CLOEXEC)};
    if (zurueck.fd < 0)
        return nicht(grund(errno));
    char puffer[64 * 1024];
    qint64 gelesen = 0;
    for (;;) {
        const ssize_t n = ::read(zurueck.fd, puffer, sizeof puffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return nicht(QStringLiteral("Beim Nachlesen: %1").arg(grund(errno)));
        if (n == 0)
            break;
        if (gelesen + n > bytes.size() || memcmp(puffer, bytes.constData() + gelesen, size_t(n)) != 0)
            return nicht(QStringLiteral("Die Datei liest sich anders zurück, als sie geschrieben wurde."));
        gelesen += n;
    }
    if (gelesen != bytes.size())
        return nicht(QStringLiteral("Die Datei liest sich anders zurück, als sie geschrieben wurde."));
    if (probe) {
        if (const StoreError e = probe(bytes))
            return nicht(QStringLiteral("Die geschriebene Datei ist nicht lesbar: %1").arg(e.text()));
    }
    if (::rename(temp.constData(), QFile::encodeName(pfad).constData()) != 0)
        return nicht(grund(errno));
    aufraeumen.an = false;
    return {};
}
}
