#pragma once

#include <QByteArray>
#include <QString>

namespace JetFormat {
class Schreiber;
}

// The reading of a genuine Access (Jet 3/4) file through libmdb. libmdb
// trusts the file's page numbers and lengths, so a damaged file can crash
// or stall it: the program itself never calls this, only the child process
// kreidolin-mdb does, and the program reads the stream it writes.
namespace JetLesen {

// Writes the table (its name found without regard to case) of the Access
// file at pfad into aus, at most maxZeilen rows; a failure is written into
// the stream as well. True when the whole table was written.
bool lies(const QByteArray &pfad, const QString &tabelle, qint64 maxZeilen, JetFormat::Schreiber &aus);

}
