#include "runtime/host/posix/fehler.h"

#include <cerrno>

#include "runtime/runtime.h"

namespace kaldorin::posix {

void Fehler(const std::string& text) { throw Laufzeitfehler(text); }

std::string Grund(int fehlernummer) {
    switch (fehlernummer) {
        case ENOENT: return "nicht vorhanden";
        case EACCES:
        case EPERM: return "Zugriff verweigert";
        case EEXIST: return "existiert bereits";
        case ENOTEMPTY: return "nicht leer";
        case ENOTDIR: return "ein Teil des Pfades ist kein Ordner";
        case EISDIR: return "ist ein Ordner";
        case ENOSPC: return "Datenträger voll";
        case EROFS: return "Datenträger schreibgeschützt";
        case EBUSY: return "in Benutzung";
        case ENAMETOOLONG: return "Name zu lang";
        case ELOOP: return "zu viele symbolische Verweise";
        case EIO: return "Ein-/Ausgabefehler";
        case EDQUOT: return "Speicherkontingent erschöpft";
        default: return "Systemfehler " + std::to_string(fehlernummer);
    }
}

void SystemFehler(const std::string& text) { SystemFehler(text, errno); }

void SystemFehler(const std::string& text, int fehlernummer) {
    Fehler(text + ": " + Grund(fehlernummer) + ".");
}

}  // namespace kaldorin::posix
