#pragma once

#include "austausch/austausch.h"

class QIODevice;

// Excel workbooks (.xlsx): the first sheet, the same columns as CSV. Unpacked
// with minizip and read with QXmlStreamReader, written through libxlsxwriter
// (QuaZip would do the unpacking too, but it carries its own minizip under
// the same symbol names, and libxlsxwriter then packs through the wrong one).
namespace Xlsx {
// Every part is unpacked at most to Austausch::kMaxBytes; a document type
// declaration (and with it any entity) is refused, not expanded.
StoreError lies(QIODevice *geraet, QVector<Austausch::Rohzeile> &zeilen, const Austausch::Fortschritt &fortschritt = {});
StoreError lies(const QString &pfad, QVector<Austausch::Rohzeile> &zeilen, const Austausch::Fortschritt &fortschritt = {});

// The header row, then one row per question, Stufe as a number. An
// existing file is replaced whole or not at all.
StoreError schreibe(const QString &pfad, const Austausch::Tabelle &tabelle);
}
