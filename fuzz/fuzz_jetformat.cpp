// libFuzzer entry for the parser of the Access reader's stream: whatever the
// bytes, the parser must come back with a table or a reason, without a
// crash, an overrun or a huge allocation; its UTF-8 check agrees with Qt.

#include "store/connection.h"
#include "store/jetformat.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t laenge)
{
    const QByteArray stream = QByteArray::fromRawData(reinterpret_cast<const char *>(daten),
                                                      static_cast<qsizetype>(laenge));
    TableData t;
    const JetFormat::Ergebnis e = JetFormat::lies(stream, t, 1000);
    const bool antwort = e.vollstaendig || e.gescheitert || !e.formfehler.isEmpty();
    if (!antwort || (e.vollstaendig && e.gescheitert) || t.rows.size() > 1000)
        std::abort();
    for (const TableRow &r : std::as_const(t.rows)) {
        if (r.values.size() != t.columns.size())
            std::abort();
    }
    // The reader's UTF-8 check judges the bytes as Qt's own decoder does.
    QStringDecoder qt(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = qt(stream);
    if (JetFormat::gueltigesUtf8(stream.constData(), stream.size()) == qt.hasError())
        std::abort();
    return 0;
}
