#pragma once

namespace Start {
// Installs the register that turns window names into the program's windows.
void installiereFensterregister();
}
