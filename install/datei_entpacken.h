#pragma once
// Copies one packed file from the medium into the installed tree, expanding it.

#include <string>

#include "programm/programm.h"

namespace kaldorin {

// True when the target now holds the expanded content. False when the source is
// missing (nothing shown), when the target cannot be written (the installation's
// message, Ende = kJa) or when expanding or writing fails afterwards (a message
// naming the source and the cause, Ende = kJa). On every false the old target stays
// as it was.
bool Datei_Entpacken(Programm& p, const std::string& quelle, const std::string& ziel);

}  // namespace kaldorin
