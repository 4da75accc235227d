#include "runtime/strings.h"
#include "wizard/assistent.h"

namespace kaldorin {

namespace {

// Shared by both "suchen" buttons: the chosen folder replaces the variable, and the
// text box shows the variable again, also after a cancel.
void Ordner_Waehlen(Programm& p, std::string& ordner, Handle textfeld, const char* titel) {
    const std::string wahl =
        Ohne_Letzten_Backslash(Ordner_Suchen(p, p.Win_1, -1, titel, ordner));
    if (!wahl.empty()) ordner = wahl;
    p.ui().SetText(textfeld, ordner);
    p.ui().Focus(p.CMD_Weiter);
}

}  // namespace

std::string Ordner_Suchen(Programm& p, Handle besitzer, int flags, const std::string& titel,
                          const std::string& start) {
    p.Start_Ordner = Ohne_Letzten_Backslash(start);
    if (flags <= 0) flags = kBrowseFileSystemOnly;
    std::string ergebnis =
        UpToNul(p.ui().BrowseForFolder(besitzer, flags, titel, p.Start_Ordner));
    if (!ergebnis.empty() && !EndsWith(ergebnis, "\\")) ergebnis += "\\";
    return ergebnis;
}

void CMD_Browse_Click(Programm& p) {
    Ordner_Waehlen(p, p.Ziel_Ordner, p.TB_Dir, "KALDORIN-Edit Ziel-Ordner suchen");
}

void CMD_Browse1_Click(Programm& p) {
    Ordner_Waehlen(p, p.Quell_Ordner, p.TB_Von, "KALDORIN-Edit Quell-Ordner suchen");
}

bool Quelle_Pruefen(Programm& p) {
    p.Quell_Ordner = p.ui().Text(p.TB_Von);
    int attribute = kAttrFolder;
    try {
        if (p.host().FindFirst(p.Quell_Ordner, kAttrFolder).empty()) return true;
        attribute = p.host().FoundAttributes();
    } catch (const Laufzeitfehler&) {
        // A text the search cannot even look at names no file: the file phase reports
        // the first missing file when its turn comes.
        return true;
    }
    if (attribute & kAttrFolder) return true;
    p.ui().Message("Das Verzeichnis:\r\r" + p.Quell_Ordner +
                       "\rist noch nicht vorhanden.\r\rSoll es erstellt werden?",
                   "Setup", 0);
    return false;
}

void Zielbaum_Erstellen(Programm& p) {
    for (const char* unterordner :
         {"", "\\Sound", "\\Bilder", "\\Stellwerk", "\\Fahrplan", "\\Lokdatenbank", "\\Help"}) {
        try {
            p.host().MakeFolder(p.Ziel_Ordner + unterordner);
        } catch (const Laufzeitfehler&) {
            // Exists already, parent missing, access denied: the file phase meets it.
        }
    }
}

}  // namespace kaldorin
