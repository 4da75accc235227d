#include "startup/start.h"

namespace kaldorin {

namespace {
// The product family records its installation folder under these names; start-up
// reads the record under the same pair, so it sees what an installation wrote.
constexpr const char* kAnwendung = "VORK";
constexpr const char* kAbschnitt = "KALDORIN";
// Codes of the main list, positions 0 to 8. Position 6 (the user's parameter file)
// carries "l" and so is kept when it exists already.
constexpr const char* kKennung[] = {"0", "4", "7", "8", "9", "x", "l", "o", "e"};
}  // namespace

void Vorgaben_Setzen(Programm& p) {
    p.Lizenz_Seite = 0;
    p.Einstellungen_Anwendung = kAnwendung;
    p.Einstellungen_Abschnitt = kAbschnitt;
    p.Kennung.assign(std::begin(kKennung), std::end(kKennung));
    p.Kennung.resize(16);  // spare, empty places end the list
}

}  // namespace kaldorin
