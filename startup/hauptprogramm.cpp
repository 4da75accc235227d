#include "licence/lizenz.h"
#include "runtime/strings.h"
#include "startup/start.h"
#include "wizard/assistent.h"

namespace kaldorin {

namespace {

std::string Ohne_Backslash(std::string ordner) {
    if (EndetMit(ordner, "\\")) ordner.pop_back();
    return ordner;
}

// The recorded installation folder. An unreadable settings store counts as no record:
// start-up goes on, and the operations that write the store report it themselves.
std::string Installiert_Lesen(Programm& p) {
    try {
        return p.host().ReadText("VORK", "KALDORIN", "Dir");
    } catch (const Laufzeitfehler&) {
        return "";
    }
}

void Ende_Schliessen(Programm& p) {
    try {
        p.ui().CloseWindow(p.Win_1);
    } catch (const Laufzeitfehler&) {
    }
    try {
        p.ui().CloseWindow(p.FRM_Installation);
    } catch (const Laufzeitfehler&) {
        // After a declined agreement the form was never built.
    }
}

}  // namespace

void Hauptprogramm(Programm& p) {
    Face& ui = p.ui();
    p.Win_1 = ui.OpenWindow(1, ui.ScreenWidth(), ui.ScreenHeight(), 0);
    p.Version_Haupt = 2;
    p.Version_Neben = 32;
    p.Ziel_Ordner = Ziel_Ordner_Vorgabe;
    p.Quell_Ordner = Ohne_Backslash(p.host().ProgramFolder());
    Vorgaben_Setzen(p);
    Hintergrund_Malen(p);
    Titel_Erstellen(p);
    Prozessor_Pruefen(p);
    Aufloesung_Pruefen(p);
    Farbtiefe_Pruefen(p);
    Anwendungen_Schliessen(p);
    Lizenz_Fenster(p);
    if (p.Lizenz_Akzeptiert & 1) {
        Formular_Erstellen(p);
        p.Seite = 1;
        Seite_Anzeigen(p);
        p.Installiert_Ordner = Installiert_Lesen(p);
        Entfernen_Pruefen(p);
        do {
            ui.EventStep();
        } while (!(p.Ende & 1));
    }
    Ende_Schliessen(p);
}

}  // namespace kaldorin
