#include "runtime/host/win32/fehler_w32.h"

#include "runtime/host/win32/windows_w32.h"

#include "runtime/runtime.h"

namespace kaldorin::w32 {

std::string Grund(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND: return "Die Datei ist nicht vorhanden.";
        case ERROR_PATH_NOT_FOUND: return "Der Ordner ist nicht vorhanden.";
        case ERROR_ACCESS_DENIED: return "Der Zugriff wurde verweigert.";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return "Die Datei wird von einem anderen Programm benutzt.";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return "Der Datenträger ist voll.";
        case ERROR_WRITE_PROTECT: return "Der Datenträger ist schreibgeschützt.";
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS: return "Ein Eintrag dieses Namens ist schon vorhanden.";
        case ERROR_DIR_NOT_EMPTY: return "Der Ordner ist nicht leer.";
        case ERROR_FILENAME_EXCED_RANGE: return "Der Name ist zu lang.";
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME: return "Der Name ist ungültig.";
        case ERROR_NOT_READY: return "Das Laufwerk ist nicht bereit.";
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT: return "Der Datenträger meldet einen Ein-/Ausgabefehler.";
        case ERROR_TOO_MANY_OPEN_FILES: return "Es sind zu viele Dateien geöffnet.";
        default: return "Systemfehler Nummer " + std::to_string(code) + ".";
    }
}

void Fehler(const std::string& satz) { throw Laufzeitfehler(satz); }

void SystemFehler(const std::string& was, unsigned long code) { throw Laufzeitfehler(was + ": " + Grund(code)); }

void SystemFehler(const std::string& was) { SystemFehler(was, GetLastError()); }

std::string Anzeige(const std::string& pfad) { return "\"" + pfad + "\""; }

}  // namespace kaldorin::w32
