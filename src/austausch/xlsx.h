#pragma once

#include "austausch/austausch.h"

// Excel workbooks (.xlsx): the first sheet, the same columns as CSV. Unpacked
// with minizip and read with QXmlStreamReader, written through libxlsxwriter
// (QuaZip would do the unpacking too, but it carries its own minizip under
// the same symbol names, and libxlsxwriter then packs through the wrong one).
namespace Xlsx {
// Every part is unpacked at most to half of Austausch::kMaxBytes; a document type
// declaration (and with it any entity) is refused, not expanded. Texts may
// stand in the shared table or in their cells.
StoreError lies(const QByteArray &bytes, QVector<Austausch::Rohzeile> &zeilen,
                const Austausch::Fortschritt &fortschritt = {});

// Whether bytes are a workbook whose first sheet and shared texts are whole
// XML, whatever their size.
StoreError oeffnet(const QByteArray &bytes);

// The header row, then one row per question, Stufe as a number.
StoreError schreibe(const Austausch::Tabelle &tabelle, QByteArray &bytes);
}
