#include "licence/lizenz.h"

namespace kaldorin {

namespace {

constexpr Farbe kHellgrau = RGB(208, 208, 208);

// True when the normal edition is installed: its program lies in the recorded folder.
bool Normale_Version_Installiert(Programm& p) {
    try {
        const std::string ordner =
            p.host().ReadText(p.Einstellungen_Anwendung, p.Einstellungen_Abschnitt, "dir");
        return p.host().FileExists(ordner + "\\Kaldorin.exe");
    } catch (const Laufzeitfehler&) {
        // An unreadable record or an impossible path proves no installation.
        return false;
    }
}

bool Schriftgrad_Hinweis(Programm& p) {
    const std::string text =
        "HINWEIS:||KALDORIN-Edit bringt zur Zeit nur dann die richtige Schrift-Auflösung, "
        "wenn|der Schriftgrad unter der Windows Anzeige auf    'Kleine Schriftarten'|"
        "eingestllt ist.|||"
        "SIEHE: Start -> Einstellungen -> Systemsteuerung -> Anzeige -> Eigenschaften|"
        "\t\t\t\tSchriftgrad = Kleine Schriftarten|||";
    return p.ui().Alert(kAlertWarning, text, 1, " weiter | abbrechen ") == 1;
}

Handle Knopf(Programm& p, const char* name, const char* text, int x, bool verfuegbar) {
    Handle knopf = p.ui().CreateControl(p.Win_3, Art::Button, name, text, x, 330, 80, 24);
    if (!verfuegbar) p.ui().SetAvailable(knopf, false);
    return knopf;
}

void Fenster_Oeffnen(Programm& p) {
    Face& ui = p.ui();
    p.Win_3 = ui.OpenWindow(3, 500, 400, p.Win_1);
    ui.SetResizable(p.Win_3, false);
    ui.SetBackColour(p.Win_3, kHellgrau);
    ui.SetIcon(p.Win_3, ":vork2");
    ui.SetFontName(p.Win_3, "MS Sans Serif");
    ui.SetFontSize(p.Win_3, 8);
    p.cbo_Zurück = Knopf(p, "cbo_Zurück", "< Zurück", 70, false);
    p.cbo_Weiter = Knopf(p, "cbo_Weiter", "Weiter >", 150, true);
    p.cbo_Akzeptieren = Knopf(p, "cbo_Akzeptieren", "Akzeptieren", 250, false);
    p.cbo_Ablehnen = Knopf(p, "cbo_Ablehnen", "Ablehnen", 340, true);
    p.tb1 = ui.CreateControl(p.Win_3, Art::TextArea, "tb1", "", 10, 70, 474, 252);
    ui.SetFontName(p.tb1, "MS Sans Serif");
    ui.SetFontSize(p.tb1, 8);
    ui.SetBackColour(p.tb1, kHellgrau);
    ui.SetAutoRedraw(p.tb1, true);
    p.bld = ui.CreateControl(p.Win_3, Art::Picture, "bld", "", 20, 10, 32, 32);
    ui.SetPicture(p.bld, ":vork2");
}

void Seite_Zeichnen(Programm& p) {
    switch (p.Lizenz_Seite) {
        case 0: Lizenz_Willkommen(p); break;
        case 1: Lizenz_Text_1(p); break;
        case 2: Lizenz_Text_2(p); break;
        case 3: Lizenz_Text_3(p); break;
        case 4: Lizenz_Text_4(p); break;
        case 5: Lizenz_Text_5(p); break;
    }
}

}  // namespace

void Lizenz_Fenster(Programm& p) {
    if (Normale_Version_Installiert(p)) {
        p.ui().Message(
            "Diese Edit-Version von KALDORIN-Edit kann nicht installiert werden,\n"
            "da die normale KALDORIN Version schon installiert ist!",
            "KALDORIN", kMessageStop);
        p.ui().CloseWindow(p.Win_1);
        EndeProgramm();
    }
    if (!Schriftgrad_Hinweis(p)) return;
    Fenster_Oeffnen(p);
    Lizenz_Willkommen(p);
    do {
        p.ui().EventStep();
    } while (!Gesetzt(p.Lizenz_Fertig));
    p.ui().CloseWindow(p.Win_3);
}

void cbo_Weiter_Click(Programm& p) {
    if (p.Lizenz_Seite < 5) ++p.Lizenz_Seite;
    Seite_Zeichnen(p);
}

void cbo_Zurück_Click(Programm& p) {
    if (p.Lizenz_Seite > 0) --p.Lizenz_Seite;
    Seite_Zeichnen(p);
}

void cbo_Akzeptieren_Click(Programm& p) {
    p.Lizenz_Fertig = kJa;
    p.Lizenz_Akzeptiert = kJa;
}

void cbo_Ablehnen_Click(Programm& p) {
    p.Lizenz_Fertig = kJa;
    p.Lizenz_Akzeptiert = 0;
}

// Closing the window through its frame is a decline: the wait must end, and nothing
// may be installed without an accepted agreement.
void Win_3_Close(Programm& p) { cbo_Ablehnen_Click(p); }

}  // namespace kaldorin
