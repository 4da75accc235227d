#pragma once
// The installation run: the file lists, copying and expanding, the settings record,
// the links and the completion.

#include <string>
#include <vector>

#include "install/datei_entpacken.h"
#include "programm/programm.h"

namespace kaldorin {

// Main list: the target names of positions 0 to 8. The source name of a position is
// "\t" + its code + "e.px_" at position 0 and "\t" + its code + ".px_" elsewhere.
extern const std::vector<std::string> Hauptliste_Ziele;

struct Zusatzdatei {
    const char* quelle;     // short name on the medium
    const char* ziel;       // name in the installed tree
    bool nur_mit_Konverter; // copied only when CB_Konvert is ticked
};
// Additional list: 19 rows in copy order.
extern const std::vector<Zusatzdatei> Zusatzliste;

// The source name of main-list position `position` with code `code`.
std::string Hauptliste_Quelle(int position, const std::string& code);

// The whole installation run, inside the forward click that leaves page 3.
void Installieren(Programm& p);

// Writes the installation's entry in the list of installed programs: its name, version,
// maker, folder, icon, the commands that remove it, its size and date. Throws on the
// first value that cannot be written; the name goes last, so that a half-written entry
// is not listed.
void Programmeintrag_Schreiben(Programm& p);

// The file phase: false when a main file was not copied (reported, Ende set).
bool Dateien_Kopieren(Programm& p);

}  // namespace kaldorin
