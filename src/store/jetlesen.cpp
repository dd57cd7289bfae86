#include "store/jetlesen.h"

#include "store/jetformat.h"

#include <QFile>
#include <QFileInfo>

// glib first: mdbtools.h wraps its own include of glib in extern "C", which
// g++ does not accept for glib's C++ parts.
#include <glib.h>
#include <mdbtools.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

namespace JetLesen {

namespace {
using JetFormat::Art;
using JetFormat::Fehler;

// Room for one field as libmdb renders it: a text column holds at most 255
// characters (765 bytes of UTF-8); a memo may hold more and is cut off here.
constexpr size_t kBindGroesse = 256 * 1024;
// Row offsets on a data page carry flags in their top bits.
constexpr int kOffsetMaske = 0x1fff;
constexpr int kOffsetFlags = 0xc000;

struct HandleSchliessen {
    void operator()(MdbHandle *h) const { mdb_close(h); }
};
struct TabelleFreigeben {
    void operator()(MdbTableDef *t) const { mdb_free_tabledef(t); }
};

Art artVon(int typ)
{
    switch (typ) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return Art::Ganzzahl;
    case MDB_TEXT:
    case MDB_MEMO:
        return Art::Text;
    case MDB_BINARY:
    case MDB_OLE:
    case MDB_COMPLEX:
        return Art::Unlesbar;
    default:
        return Art::Sonstige;
    }
}

// libmdb renders a null field and an empty text alike (length 0); the row's
// null mask tells them apart. The current row is the one just fetched, still
// in the page buffer. Where the row cannot be taken apart again, a field of
// length 0 counts as null.
void nullMaske(MdbTableDef *table, std::vector<char> &istNull)
{
    std::fill(istNull.begin(), istNull.end(), 1);
    MdbHandle *mdb = table->entry->mdb;
    if (table->cur_row == 0)
        return;
    int start = 0;
    size_t groesse = 0;
    if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &groesse) != 0 || (start & kOffsetFlags))
        return;
    std::vector<MdbField> felder(std::max<size_t>(table->num_cols, 1));
    const int n = mdb_crack_row(table, start & kOffsetMaske, groesse, felder.data());
    if (n < 0 || static_cast<unsigned>(n) > table->num_cols)
        return;
    for (int i = 0; i < n; ++i) {
        const int spalte = felder[i].colnum;
        if (spalte >= 0 && static_cast<size_t>(spalte) < istNull.size())
            istNull[spalte] = felder[i].is_null ? 1 : 0;
    }
}

void schreibeText(JetFormat::Schreiber &aus, const char *daten, int laenge)
{
    if (JetFormat::gueltigesUtf8(daten, laenge)) {
        aus.text(daten, laenge);
        return;
    }
    // A text cut off at the bind size, or a damaged one: invalid bytes
    // become U+FFFD, so the stream stays well-formed.
    const QByteArray sauber = QString::fromUtf8(daten, laenge).toUtf8();
    aus.text(sauber.constData(), sauber.size());
}
}

bool lies(const QByteArray &pfad, const QString &tabelle, qint64 maxZeilen, JetFormat::Schreiber &aus)
{
    std::unique_ptr<MdbHandle, HandleSchliessen> mdb(mdb_open(pfad.constData(), MDB_NOFLAGS));
    if (!mdb) {
        aus.fehler(Fehler::NichtLesbar, QStringLiteral("Die Datei ist keine lesbare Access-Datenbank."));
        return false;
    }
    // An Access file is made of whole pages; anything else was cut off (a
    // copy that did not finish), and libmdb would read its missing pages
    // as if the rows on them had never existed.
    const qint64 groesse = QFileInfo(QFile::decodeName(pfad)).size();
    if (mdb->fmt->pg_size <= 0 || groesse <= 0 || groesse % mdb->fmt->pg_size != 0) {
        aus.fehler(Fehler::NichtLesbar, QStringLiteral("Die Datei ist unvollständig."));
        return false;
    }
    mdb_set_bind_size(mdb.get(), kBindGroesse);
    mdb_set_boolean_fmt_numbers(mdb.get());
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        aus.fehler(Fehler::NichtLesbar, QStringLiteral("Das Verzeichnis der Tabellen kann nicht gelesen werden."));
        return false;
    }

    MdbCatalogEntry *eintrag = nullptr;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto *e = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
        if (e->object_type == MDB_TABLE
            && QString::fromUtf8(e->object_name).compare(tabelle, Qt::CaseInsensitive) == 0) {
            eintrag = e;
            break;
        }
    }
    if (!eintrag) {
        aus.fehler(Fehler::KeineTabelle, QStringLiteral("Die Datenbank enthält keine Tabelle %1.").arg(tabelle));
        return false;
    }
    std::unique_ptr<MdbTableDef, TabelleFreigeben> table(mdb_read_table(eintrag));
    if (!table || !mdb_read_columns(table.get()) || table->num_cols != table->columns->len) {
        aus.fehler(Fehler::Lesefehler, QStringLiteral("Der Aufbau der Tabelle %1 kann nicht gelesen werden.").arg(tabelle));
        return false;
    }
    const unsigned spalten = table->num_cols;
    if (spalten > JetFormat::kMaxSpalten) {
        aus.fehler(Fehler::Lesefehler, QStringLiteral("Die Tabelle %1 hat zu viele Spalten.").arg(tabelle));
        return false;
    }

    QList<QPair<QByteArray, Art>> namen;
    std::vector<Art> arten(spalten);
    std::vector<std::unique_ptr<char[]>> puffer(spalten);
    std::vector<int> laengen(spalten, 0);
    for (unsigned i = 0; i < spalten; ++i) {
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(table->columns, i));
        arten[i] = artVon(col->col_type);
        const QByteArray name(col->name, static_cast<int>(qstrnlen(col->name, sizeof col->name)));
        namen.append({QString::fromUtf8(name).toUtf8(), arten[i]});
        if (arten[i] == Art::Unlesbar)
            continue;
        puffer[i].reset(new char[kBindGroesse + 1]());
        mdb_bind_column(table.get(), static_cast<int>(i) + 1, puffer[i].get(), &laengen[i]);
    }
    mdb_rewind_table(table.get());
    aus.spalten(namen);

    std::vector<char> istNull(spalten, 1);
    qint64 zeilen = 0;
    while (mdb_fetch_row(table.get())) {
        if (zeilen >= maxZeilen) {
            aus.fehler(Fehler::ZuVieleZeilen, QStringLiteral("Die Tabelle %1 hat mehr als %2 Zeilen.")
                                                  .arg(tabelle).arg(maxZeilen));
            return false;
        }
        bool leereFelder = false;
        for (unsigned i = 0; i < spalten; ++i)
            leereFelder = leereFelder || (puffer[i] && laengen[i] == 0 && arten[i] == Art::Text);
        if (leereFelder)
            nullMaske(table.get(), istNull);

        aus.zeileBeginnen();
        for (unsigned i = 0; i < spalten; ++i) {
            const char *wert = puffer[i].get();
            const int laenge = wert ? laengen[i] : 0;
            if (!wert || laenge <= 0) {
                if (wert && arten[i] == Art::Text && !istNull[i])
                    aus.text("", 0);
                else
                    aus.null();
                continue;
            }
            if (arten[i] == Art::Ganzzahl) {
                char *ende = nullptr;
                errno = 0;
                const long long zahl = std::strtoll(wert, &ende, 10);
                if (errno == 0 && ende && *ende == '\0' && ende != wert) {
                    aus.ganzzahl(zahl);
                    continue;
                }
            }
            schreibeText(aus, wert, std::min(laenge, static_cast<int>(kBindGroesse)));
        }
        ++zeilen;
        if (!aus.ok())
            return false;
    }
    // The table's head keeps its row count: a difference means pages were
    // lost or damaged, and a table missing rows must not pass for whole.
    if (zeilen != static_cast<qint64>(table->num_rows)) {
        aus.fehler(Fehler::Lesefehler, QStringLiteral("Die Tabelle %1 ist beschädigt: sie nennt %2 Zeilen, lesbar sind %3.")
                                           .arg(tabelle).arg(table->num_rows).arg(zeilen));
        return false;
    }
    aus.ende(static_cast<quint32>(zeilen));
    return true;
}

}
