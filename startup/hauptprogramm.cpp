#include "licence/lizenz.h"
#include "runtime/strings.h"
#include "startup/start.h"
#include "wizard/assistent.h"

namespace kaldorin {

namespace {

// The recorded installation folder. An unreadable settings store counts as no record:
// start-up goes on, and the operations that write the store report it themselves.
std::string Installiert_Lesen(Programm& p) {
    try {
        return p.host().ReadText(p.Einstellungen_Anwendung, p.Einstellungen_Abschnitt, Einstellung_Ordner);
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
    p.Ziel_Ordner = Ziel_Vorgabe(p);
    p.Quell_Ordner = Ohne_Letzten_Backslash(p.host().ProgramFolder());
    Vorgaben_Setzen(p);
    Hintergrund_Malen(p);
    Titel_Erstellen(p);
    Prozessor_Pruefen(p);
    Aufloesung_Pruefen(p);
    Farbtiefe_Pruefen(p);
    Anwendungen_Schliessen(p);
    Lizenz_Fenster(p);
    if (Gesetzt(p.Lizenz_Akzeptiert)) {
        Formular_Erstellen(p);
        p.Seite = 1;
        Seite_Anzeigen(p);
        p.Installiert_Ordner = Installiert_Lesen(p);
        Entfernen_Pruefen(p);
        do {
            ui.EventStep();
        } while (!Gesetzt(p.Ende));
    }
    Ende_Schliessen(p);
}

}  // namespace kaldorin
