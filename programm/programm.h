#pragma once
// The program's common base: the program-wide variables of the setup program (one
// instance per run; a new run starts from zeros and empty texts), its fixed defaults and
// the check of the recorded installation that every room asks.

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin {

struct Programm {
    explicit Programm(Laufzeit laufzeit) : rt(laufzeit) {}

    Laufzeit rt;

    // Start-up and the wizard.
    std::uint8_t Seite = 0;
    std::uint8_t Ende = 0;
    std::uint8_t Modus_Entfernen = 0;
    std::uint8_t Eintrag_Desktop = 0;
    std::uint8_t Eintrag_Start = 0;
    std::uint8_t Version_Haupt = 0;
    std::uint8_t Version_Neben = 0;
    std::string Ziel_Ordner;
    std::string Quell_Ordner;
    std::string Installiert_Ordner;
    std::string Start_Ordner;
    std::string Einstellungen_Anwendung;
    std::string Einstellungen_Abschnitt;
    std::vector<std::string> Kennung;
    std::int32_t Verlauf_Blau = 0;
    std::int32_t Verlauf_Gruen = 0;
    std::int32_t Verlauf_Rot = 0;

    // The licence window.
    std::int32_t Lizenz_Seite = 0;
    std::uint8_t Lizenz_Akzeptiert = 0;
    std::uint8_t Lizenz_Fertig = 0;

    // Windows and controls, in the order of the control table.
    Handle Win_1 = 0;
    Handle Win_3 = 0;
    Handle FRM_Installation = 0;
    Handle IMG_Bild = 0;
    Handle fr1 = 0;
    Handle CMD_Zurück = 0;
    Handle CMD_Weiter = 0;
    Handle CMD_Abbrechen = 0;
    Handle LB_1 = 0, LB_2 = 0, LB_3 = 0, LB_4 = 0, LB_5 = 0, LB_6 = 0, LB_7 = 0, LB_8 = 0;
    Handle LB_10 = 0, LB_11 = 0, LB_12 = 0;
    Handle CMD_Entfernen = 0;
    Handle LB_9 = 0;
    Handle txt1 = 0, txt2 = 0;
    Handle TB_Dir = 0, TB_Von = 0;
    Handle CMD_Browse = 0, CMD_Browse1 = 0;
    Handle FRM_1 = 0, FRM_2 = 0, FRM_3 = 0, FRM_4 = 0;
    Handle CB_Start = 0, CB_Desk = 0, CB_Konvert = 0;
    Handle CB_Rem_FP = 0, CB_Rem_GP = 0, CB_Rem_DB = 0, CB_Rem_PI = 0, CB_Rem_SO = 0;
    Handle PB_Fortschritt = 0;
    Handle cbo_Zurück = 0, cbo_Weiter = 0, cbo_Akzeptieren = 0, cbo_Ablehnen = 0;
    Handle tb1 = 0, bld = 0;

    // Short ways to the two halves of the runtime.
    Face& ui() { return rt.ui; }
    Host& host() { return rt.host; }
};

// The completion messages of an installation and a removal. The unattended road knows
// by them that a run reached its goal, so each text has this one home.
inline constexpr const char* Meldung_Installiert = "KALDORIN-Edit wurde installiert.";
inline constexpr const char* Meldung_Entfernt = "KALDORIN-Edit wurde entfernt";

// The installation's entry in Windows' list of installed programs ("Apps & features"),
// per user like the installation, under HKEY_CURRENT_USER\Software: the installation
// writes it, the removal deletes it.
inline constexpr const char* Programmeintrag_Anwendung = "Microsoft";
inline constexpr const char* Programmeintrag_Abschnitt = "Windows\\CurrentVersion\\Uninstall\\KALDORIN-Edit";

// `ordner` without one trailing backslash ("C:\\" becomes "C:").
inline std::string Ohne_Letzten_Backslash(std::string ordner) {
    if (!ordner.empty() && ordner.back() == '\\') ordner.pop_back();
    return ordner;
}

// The settings key that records the installation folder, under the product's
// application and section (Programm::Einstellungen_Anwendung, _Abschnitt).
inline constexpr const char* Einstellung_Ordner = "Dir";

// A flag of the program's variables: set is kJa (all bits), cleared 0; its lowest
// bit is what counts.
inline constexpr std::uint8_t kJa = 255;
constexpr bool Gesetzt(std::uint8_t flagge) { return (flagge & 1) != 0; }

// Program-wide defaults (the product's fixed names and the codes of the main list).
void Vorgaben_Setzen(Programm& p);
// The codes of the main list, positions 0 to 8; they name its files on the medium.
extern const std::vector<std::string> Kennung_Codes;

// The default target folder: "C:\Programme\KALDORIN" where C:\Programme exists (older
// Windows, the POSIX prefix); elsewhere "C:\Programme" is not there and "C:\Program
// Files" needs administrator rights, so the user's own programs folder takes its place.
std::string Ziel_Vorgabe(Programm& p);

// The family's desktop folder under the Windows folder (NT: "\Profiles\All
// users\Desktop", 9x: "\Desktop"); later Windows have no such folder.
std::string Desktop_Familienordner(Programm& p, bool nt);
// The folder that takes the desktop link, and where the removal looks for it first: the
// family's folder where it exists, else the user's own desktop. Throws when neither is
// known.
std::string Desktop_Ordner(Programm& p, bool nt);

// Forgets a recorded installation folder that no longer exists, and makes the remove
// button not available when none is known. Start-up, the wizard and the removal ask it.
void Entfernen_Pruefen(Programm& p);

}  // namespace kaldorin
