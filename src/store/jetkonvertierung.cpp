#include "store/jetkonvertierung.h"

#include "store/connection.h"
#include "store/fragentabelle.h"
#include "store/jetleser.h"
#include "store/questionfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <filesystem>
#include <set>

#include <unistd.h>

namespace JetKonvertierung {

namespace {
// The conversion keeps every row, also beyond what the game can count.
constexpr qint64 kAlleZeilen = qint64(1) << 30;
constexpr qint64 kStueck = 1 << 20;

StoreError fehler(const QString &pfad, const QString &grund)
{
    return StoreError(QStringLiteral("Die Access-Datei %1 kann nicht umgewandelt werden: %2").arg(pfad, grund));
}

int spalte(const TableData &t, const QString &name)
{
    for (int i = 0; i < t.columns.size(); ++i) {
        if (t.columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool gleicheBytes(const QString &a, const QString &b, QString *grund)
{
    QFile fa(a), fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly)) {
        *grund = fa.isOpen() ? fb.errorString() : fa.errorString();
        return false;
    }
    if (fa.size() != fb.size()) {
        *grund = QStringLiteral("die Kopie ist nicht so groß wie das Original.");
        return false;
    }
    while (!fa.atEnd()) {
        const QByteArray x = fa.read(kStueck);
        const QByteArray y = fb.read(kStueck);
        if (x.isEmpty() || x != y) {
            *grund = QStringLiteral("die Kopie weicht vom Original ab.");
            return false;
        }
    }
    return true;
}

// Copies into a file that must not exist yet (NewOnly: an existing backup is
// never touched, even if it appears meanwhile), then compares the bytes.
// false with an empty grund: the name was taken.
bool kopiere(const QString &von, const QString &nach, QString *grund)
{
    grund->clear();
    QFile quelle(von);
    if (!quelle.open(QIODevice::ReadOnly)) {
        *grund = quelle.errorString();
        return false;
    }
    QFile ziel(nach);
    if (!ziel.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (!QFileInfo::exists(nach))
            *grund = ziel.errorString();
        return false;
    }
    bool ok = true;
    while (ok && !quelle.atEnd()) {
        const QByteArray stueck = quelle.read(kStueck);
        ok = !stueck.isEmpty() && ziel.write(stueck) == stueck.size();
    }
    ok = ok && ziel.flush() && ::fsync(ziel.handle()) == 0;
    if (!ok)
        *grund = ziel.errorString().isEmpty() ? quelle.errorString() : ziel.errorString();
    ziel.close();
    if (ok)
        ok = gleicheBytes(von, nach, grund);
    if (!ok) {
        QFile::remove(nach);
        if (grund->isEmpty())
            *grund = QStringLiteral("die Kopie ist unvollständig.");
        return false;
    }
    QFile kopie(nach);
    if (kopie.open(QIODevice::ReadWrite))
        kopie.setFileTime(QFileInfo(von).lastModified(), QFileDevice::FileModificationTime);
    return true;
}

// A row as text, for comparing the new table with the Access table
// regardless of row order and of how each side types a value.
QString zeilentext(const QVector<QVariant> &werte)
{
    QString s;
    for (const QVariant &v : werte) {
        s += v.isNull() ? QStringLiteral("\x01") : QStringLiteral("\x02") + v.toString();
        s += QLatin1Char('\x1f');
    }
    return s;
}

QVector<QString> zeilentexte(const TableData &t, const QVector<int> &reihenfolge)
{
    QVector<QString> texte;
    texte.reserve(t.rows.size());
    for (const TableRow &r : t.rows) {
        QVector<QVariant> werte;
        for (int i : reihenfolge)
            werte.append(i < 0 ? QVariant() : r.values.value(i));
        texte.append(zeilentext(werte));
    }
    std::sort(texte.begin(), texte.end());
    return texte;
}

StoreError liesZurueck(const QString &pfad, TableData &t)
{
    Connection c;
    c.setConnectionString(Connection::connectionStringFor(pfad));
    if (const StoreError e = c.open())
        return e;
    if (c.kind() != Connection::Kind::Sqlite)
        return StoreError(QStringLiteral("die neue Datei hat nicht das Format des Programms."));
    return c.readTable(Fragentabelle::tabelle(), t, static_cast<int>(kAlleZeilen));
}

bool verschiebe(const QString &von, const QString &nach)
{
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(von).toStdString(), QFile::encodeName(nach).toStdString(), ec);
    return !ec;
}
}

QString freieSicherung(const QString &pfad)
{
    for (int i = 0;; ++i) {
        const QString name = i == 0 ? pfad + QStringLiteral(".jet.bak") : pfad + QStringLiteral(".jet.%1.bak").arg(i);
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return name;
    }
}

StoreError konvertiere(const QString &pfad, QString *sicherung)
{
    if (sicherung)
        sicherung->clear();
    const QFileInfo info(pfad);
    if (!info.isFile())
        return fehler(pfad, QStringLiteral("die Datei existiert nicht."));
    if (Connection::kindOf(pfad) != Connection::Kind::Jet)
        return fehler(pfad, QStringLiteral("sie ist keine Access-Datei."));
    if (!info.isWritable())
        return fehler(pfad, QStringLiteral("die Datei ist schreibgeschützt."));

    TableData jet;
    if (const StoreError e = JetLeser::lies(pfad, Fragentabelle::tabelle(), jet, kAlleZeilen))
        return e;

    // Where each column of the new table comes from in the Access table.
    QVector<int> herkunft;
    for (const QString &name : Fragentabelle::spalten()) {
        const int i = spalte(jet, name);
        if (i < 0)
            return fehler(pfad, QStringLiteral("der Tabelle %1 fehlt die Spalte %2.").arg(Fragentabelle::tabelle(), name));
        herkunft.append(i);
    }
    QVector<int> uebrige;
    for (int i = 0; i < jet.columns.size(); ++i) {
        if (!herkunft.contains(i))
            uebrige.append(i);
    }
    if (uebrige.size() > 1)
        return fehler(pfad, QStringLiteral("die Tabelle %1 hat mehr als sechs Spalten; das Programm hält nur sechs.")
                                .arg(Fragentabelle::tabelle()));
    for (int i = 0; i < jet.columns.size(); ++i) {
        if (jet.declaredTypes.value(i) == QLatin1String("BLOB"))
            return fehler(pfad, QStringLiteral("die Spalte %1 enthält Binärdaten, die nicht übernommen werden.")
                                    .arg(jet.columns[i]));
    }

    QuestionFile::SechsteSpalte sechste;
    const int idQuelle = uebrige.isEmpty() ? -1 : uebrige.first();
    if (idQuelle >= 0) {
        sechste.name = jet.columns[idQuelle];
        std::set<qlonglong> gesehen;
        for (const TableRow &r : std::as_const(jet.rows)) {
            const QVariant &v = r.values[idQuelle];
            if (v.isNull())
                continue;
            if (v.typeId() != QMetaType::LongLong || !gesehen.insert(v.toLongLong()).second) {
                sechste.autoNummer = false;
                break;
            }
        }
    }
    herkunft.append(idQuelle);

    QVector<FrageZeile> zeilen;
    zeilen.reserve(jet.rows.size());
    for (const TableRow &r : std::as_const(jet.rows)) {
        const auto wert = [&](int n) { return herkunft[n] < 0 ? QVariant() : r.values.value(herkunft[n]); };
        zeilen.append({wert(0), wert(1), wert(2), wert(3), wert(4), wert(5)});
    }

    // The original's bytes are kept first; nothing else happens without them.
    QString bak;
    for (int versuch = 0; versuch < 1000; ++versuch) {
        bak = freieSicherung(pfad);
        QString grund;
        if (kopiere(pfad, bak, &grund))
            break;
        if (!grund.isEmpty())
            return fehler(pfad, QStringLiteral("die Sicherung %1 kann nicht angelegt werden: %2").arg(bak, grund));
        bak.clear();
    }
    if (bak.isEmpty())
        return fehler(pfad, QStringLiteral("es findet sich kein freier Name für die Sicherung."));

    if (const StoreError e = QuestionFile::erzeuge(pfad, zeilen, sechste)) {
        // erzeuge replaces the file whole or not at all: the original is
        // still in place, and its copy is not needed.
        if (Connection::kindOf(pfad) == Connection::Kind::Jet)
            QFile::remove(bak);
        return fehler(pfad, e.text());
    }

    TableData neu;
    StoreError pruefung = liesZurueck(pfad, neu);
    if (!pruefung) {
        // Without a sixth column in the original, its new IDs are not compared.
        const int verglichen = idQuelle < 0 ? 5 : 6;
        QVector<int> spaltenNeu;
        for (int i = 0; i < verglichen; ++i)
            spaltenNeu.append(i);
        if (neu.columns.size() != 6 || neu.rows.size() != jet.rows.size()
            || zeilentexte(neu, spaltenNeu) != zeilentexte(jet, herkunft.mid(0, verglichen)))
            pruefung = StoreError(QStringLiteral("die neue Datei enthält nicht dieselben Fragen."));
    }
    if (pruefung) {
        if (!verschiebe(bak, pfad))
            return fehler(pfad, QStringLiteral("%1 Das Original liegt unverändert in %2.").arg(pruefung.text(), bak));
        return fehler(pfad, pruefung.text());
    }

    QFile::setPermissions(pfad, info.permissions());
    if (sicherung)
        *sicherung = bak;
    return {};
}

}
