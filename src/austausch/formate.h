#pragma once

#include "austausch/austausch.h"

#include <QByteArray>

// The file formats a collection is exchanged through, one row each: what
// the file dialogs offer, the companion tool's help, and which reader and
// writer a file's extension picks all come from this table.
namespace Formate {
struct Format {
    QString name;         // in the file dialogs and the import's preview
    QStringList endungen; // without the dot, in lower case; an export without one gets the first
    QString hilfe;        // the companion tool's help, one or more lines
    // Reads the rows out of a file's bytes; *art may say more of what was read.
    StoreError (*lies)(QByteArray bytes, QVector<Austausch::Rohzeile> &zeilen, QString *art,
                       const Austausch::Fortschritt &fortschritt);
    StoreError (*schreibe)(const Austausch::Tabelle &tabelle, QByteArray &bytes);
    // Whether a written file opens again: its structure, not the limits an
    // import sets (a collection may hold more than an import takes). Null
    // where the bytes read back equal are the whole check.
    StoreError (*oeffnet)(const QByteArray &bytes);
    // XML cannot hold control characters, U+FFFE or U+FFFF: such a field is
    // refused before the file is written.
    bool xml;
};

const QVector<Format> &alle();

// The format a file's extension names; null for none.
const Format *fuer(const QString &pfad);

// Filters for the open and the save dialog.
QString filterLesen();
QString filterSchreiben();

// ".csv, .txt, .xlsx und .xml" for messages.
QString endungen();

// The formats' lines for the companion tool's help.
QString hilfe();
}
