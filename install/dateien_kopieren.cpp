#include "install/installation.h"
#include "runtime/strings.h"

namespace kaldorin {

namespace {


// A main file that could not be copied stops the installation; what was written stays.
bool Abbrechen_Hauptdatei(Programm& p, int position) {
    Face& ui = p.ui();
    ui.Message("\tDATEIFEHLER:\r\rEs sind nicht alle Dateien vorhanden   (" +
                   NumberText(position) + " )",
               "", 0);
    ui.Move(p.PB_Fortschritt, kOutOfView, kOutOfView);
    p.Ende = kJa;
    ui.SetMousePointer(kArrowPointer);
    ui.SetAvailable(p.CMD_Weiter, true);
    return false;
}

// The keep rule: the user's own copy of a file whose source name contains "tl.px_"
// is never overwritten.
bool Behalten(Programm& p, const std::string& quelle, const std::string& ziel) {
    return quelle.find("tl.px_") != std::string::npos && p.host().FileExists(ziel);
}

}  // namespace

bool Dateien_Kopieren(Programm& p) {
    Face& ui = p.ui();
    ui.SetMousePointer(kBusyPointer);
    ui.Move(p.PB_Fortschritt, 118, 80);
    for (int position = 0;; ++position) {
        const std::string& code = p.Kennung.at(position);
        if (code.empty()) {
            ui.Move(p.PB_Fortschritt, kOutOfView, kOutOfView);
            break;
        }
        ui.SetProgress(p.PB_Fortschritt, position);
        p.Ziel_Ordner = UpToNul(p.Ziel_Ordner);
        const std::string quelle = p.Quell_Ordner + Hauptliste_Quelle(position, code);
        const std::string ziel = p.Ziel_Ordner + Hauptliste_Ziele.at(position);
        if (Behalten(p, quelle, ziel)) continue;
        if (!Datei_Entpacken(p, quelle, ziel)) return Abbrechen_Hauptdatei(p, position);
    }
    for (const Zusatzdatei& datei : Zusatzliste) {
        if (datei.nur_mit_Konverter && !ui.Ticked(p.CB_Konvert)) continue;
        Datei_Entpacken(p, p.Quell_Ordner + datei.quelle, p.Ziel_Ordner + datei.ziel);
    }
    return true;
}

}  // namespace kaldorin
