#include "programm/programm.h"

namespace kaldorin {

void Entfernen_Pruefen(Programm& p) {
    if (!p.Installiert_Ordner.empty()) {
        try {
            const std::string name = p.host().FindFirst(p.Installiert_Ordner, kAttrFolder);
            if (name.empty() || !(p.host().FoundAttributes() & kAttrFolder)) p.Installiert_Ordner = "";
        } catch (const Laufzeitfehler&) {
            p.Installiert_Ordner = "";
        }
    }
    if (p.Installiert_Ordner.empty()) p.ui().SetAvailable(p.CMD_Entfernen, false);
}

}  // namespace kaldorin
