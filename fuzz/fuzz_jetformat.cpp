// libFuzzer entry for the parser of the Access reader's stream: whatever the
// bytes, the parser must come back with a table or a reason, without a
// crash, an overrun or a huge allocation; its UTF-8 check agrees with Qt.

#include "pruefe.h"
#include "store/connection.h"
#include "store/jetformat.h"

#include <QStringDecoder>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t laenge)
{
    const QByteArray stream = QByteArray::fromRawData(reinterpret_cast<const char *>(daten),
                                                      static_cast<qsizetype>(laenge));
    TableData t;
    const JetFormat::Ergebnis e = JetFormat::lies(stream, t, 1000);
    pruefe(e.vollstaendig || e.gescheitert || !e.formfehler.isEmpty());
    pruefe(!(e.vollstaendig && e.gescheitert) && t.rows.size() <= 1000);
    for (const TableRow &r : std::as_const(t.rows))
        pruefe(r.values.size() == t.columns.size());
    // The reader's UTF-8 check judges the bytes as Qt's own decoder does.
    QStringDecoder qt(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = qt(stream);
    pruefe(JetFormat::gueltigesUtf8(stream.constData(), stream.size()) != qt.hasError());
    return 0;
}
