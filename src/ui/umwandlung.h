#pragma once

#include "store/storeerror.h"

#include <QString>

#include <functional>

class QWidget;
class Recordset;

// A question collection kept in a genuine Access file is only ever read.
// Before its first change the user is asked whether to turn it into the
// program's own format; the original stays beside it under a free backup
// name. The editor calls this; the messages go to the window it names.
namespace Umwandlung {

// True when the change may go ahead: at once for a collection in the
// program's own format (rec not over an Access file), otherwise only after
// the user agreed, the file at pfad was converted and wiederOeffnen (which
// opens pfad again in the caller's window) succeeded. A refusal, a failed
// conversion or a failed reopening is told to the user and gives false;
// so does a window that went away while its message was open (wiederOeffnen
// is then not called).
bool bereitZumAendern(QWidget *fenster, const Recordset *rec, const QString &pfad,
                      const std::function<StoreError()> &wiederOeffnen);

}
