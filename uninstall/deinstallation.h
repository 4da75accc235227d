#pragma once
// Removal of an installed copy, step by step with one error number.

#include "programm/programm.h"

namespace kaldorin {

// Removes the installed copy named by Installiert_Ordner, then hands back to page 1.
void Deinstallieren(Programm& p);

}  // namespace kaldorin
