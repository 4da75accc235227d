#include "programm/programm.h"

namespace kaldorin {

namespace {
// The product family records its installation folder under these names; start-up
// reads the record under the same pair, so it sees what an installation wrote.
constexpr const char* kAnwendung = "VORK";
constexpr const char* kAbschnitt = "KALDORIN";
constexpr const char* kProgramme = "C:\\Programme";
}  // namespace

// Codes of the main list, positions 0 to 8. Position 6 (the user's parameter file)
// carries "l" and so is kept when it exists already.
const std::vector<std::string> Kennung_Codes = {"0", "4", "7", "8", "9", "x", "l", "o", "e"};

void Vorgaben_Setzen(Programm& p) {
    p.Lizenz_Seite = 0;
    p.Einstellungen_Anwendung = kAnwendung;
    p.Einstellungen_Abschnitt = kAbschnitt;
    p.Kennung = Kennung_Codes;
    p.Kennung.resize(16);  // spare, empty places end the list
}

std::string Ziel_Vorgabe(Programm& p) {
    const std::string alt = std::string(kProgramme) + "\\KALDORIN";
    if (p.host().FolderExists(kProgramme)) return alt;
    try {
        return p.host().UserProgramFilesFolder() + "\\KALDORIN";
    } catch (const Laufzeitfehler&) {
        return alt;  // the installation then reports the folder it cannot write
    }
}

std::string Desktop_Familienordner(Programm& p, bool nt) {
    return p.host().WindowsFolder() + (nt ? "\\Profiles\\All users\\Desktop" : "\\Desktop");
}

std::string Desktop_Ordner(Programm& p, bool nt) {
    const std::string ordner = Desktop_Familienordner(p, nt);
    return p.host().FolderExists(ordner) ? ordner : p.host().UserDesktopFolder();
}

}  // namespace kaldorin
