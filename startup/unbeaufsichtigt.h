#pragma once
// Unattended installs and removals, for administrators: the road of one installation
// (or one removal) played on the headless face, with every warning answered by its
// first button and every message printed.

#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin {

// What an unattended run is to do, as the command line gave it (app/command_line.h).
struct Unbeaufsichtigt {
    bool akzeptiert = false;   // --accept-licence
    bool entfernen = false;    // --remove
    std::string quelle;        // --source DIR (a Windows path or a host path)
    std::string ziel;          // --target DIR
    bool desktop = true;       // --no-desktop
    bool startmenue = true;    // --no-startmenu
    bool konverter = true;     // --no-converter
    std::string datenliste;    // --remove-data as given: all, or data folders by name
    std::vector<std::string> datenordner;  // the check boxes to tick, from datenliste
};

// Checks that the options fit together and fills `datenordner` from `datenliste`.
// Returns false with the problem as a sentence in `fehler` when they do not.
bool Unbeaufsichtigt_Pruefen(Unbeaufsichtigt& auftrag, std::string& fehler);

// The script a user would play for this run; folders already as Windows paths.
std::string Unbeaufsichtigt_Skript(const Unbeaufsichtigt& auftrag);

// The exit code of an unattended run from the messages it showed: 0 when it reached
// its goal and showed no error, 1 otherwise. `meldungen` are the message boxes' texts.
int Unbeaufsichtigt_Ergebnis(const Unbeaufsichtigt& auftrag,
                             const std::vector<std::string>& meldungen);

// Whether the parent folder of a given --target exists ("C:\a" for "C:\a\b"; the
// default target is the program's own choice). The wizard makes one folder level only, so with
// the parent missing the run would end in a file error; checked before anything is
// written. The problem as a sentence in `fehler` when it is missing.
bool Unbeaufsichtigt_Ziel_Pruefen(const Unbeaufsichtigt& auftrag, Host& host, std::string& fehler);

}  // namespace kaldorin
