#include <cmath>

#include "runtime/strings.h"
#include "startup/start.h"

namespace kaldorin {

namespace {

constexpr const char* kInstallierenAbbrechen = "  installieren  |   abbrechen   ";

// A warning that the user may override; button 2 ("abbrechen") ends the program.
void Warnen(Programm& p, const std::string& text) {
    if (p.ui().Alert(kAlertWarning, text, 2, kInstallierenAbbrechen) == 2) EndeProgramm();
}

}  // namespace

void Prozessor_Pruefen(Programm& p) {
    // Bits 4 to 11 hold model and family; family 5 (Pentium) is the minimum.
    if ((p.host().ProcessorSignature() & 0xFF0) >= 0x500) return;
    Warnen(p,
           "Dieses System ist vom Prozessor her nicht geeignet,|die Windows Version von "
           "KALDORIN-Edit ablaufen zu lassen.||Die Mindestanforderung ist ein Pentium "
           "Prozessor||");
}

void Aufloesung_Pruefen(Programm& p) {
    const long breite = std::lround(p.ui().ScreenWidthTwips() / 15.0);
    const long hoehe = std::lround(p.ui().ScreenHeightTwips() / 15.0);
    if (breite >= 800 && hoehe >= 600) return;
    Warnen(p, "Die aktuelle Bildschirmeinstellung beträgt \t\t" + NumberText(breite) + " x " +
                  NumberText(hoehe) +
                  " Punkte|KALDORIN-Edit benötig eine minimale Einstellung von\t"
                  "800 x 600 Punkten|oder besser von 1024 x 768 Punkten.||Wenn KALDORIN-Edit "
                  "mit der aktuellen Einstellung betrieben wird, kann es|zu "
                  "Darstellungsproblemen kommen.||");
}

void Farbtiefe_Pruefen(Programm& p) {
    if (p.ui().Colours() - 1 > 255) return;
    Warnen(p,
           "Die Farbtiefe dieses Systems ist kleiner als 16 Bit (HighColor).||Dies kann zu "
           "Problemen mit der Darstellung bei KALDORIN-Edit führen.||"
           "Die Farbtiefe kann eventuell über:|  Start - Einstellungen - Systemsteuerung - "
           "Anzeige - Einstellungen - Farbpalette|eingestellt werden.||");
}

void Anwendungen_Schliessen(Programm& p) {
    const int knopf = p.ui().Alert(
        19, "Schließen Sie bitte alle laufenden Anwendungen,|bevor Sie KALDORIN installieren!",
        1, " weiter | abbrechen ");
    if (knopf != 2) return;
    p.ui().CloseWindow(p.Win_1);
    EndeProgramm();
}

}  // namespace kaldorin
