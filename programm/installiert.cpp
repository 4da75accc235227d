#include "programm/programm.h"

namespace kaldorin {

bool Ordner_Vorhanden(Host& host, const std::string& pfad) {
    try {
        return !host.FindFirst(pfad, 16).empty() && (host.FoundAttributes() & 16);
    } catch (const Laufzeitfehler&) {
        return false;
    }
}

void Entfernen_Pruefen(Programm& p) {
    if (!p.Installiert_Ordner.empty() && !Ordner_Vorhanden(p.host(), p.Installiert_Ordner))
        p.Installiert_Ordner = "";
    if (p.Installiert_Ordner.empty()) p.ui().SetAvailable(p.CMD_Entfernen, false);
}

}  // namespace kaldorin
