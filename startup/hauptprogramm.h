#pragma once
// The program's top: what an entry (or a test) starts one run with.

#include "programm/programm.h"

namespace kaldorin {

// The main procedure: start-up, licence, wizard and the main loop.
void Hauptprogramm(Programm& p);

// The event table: every handler of the program under its name.
HandlerTable Ereignistabelle(Programm& p);

}  // namespace kaldorin
