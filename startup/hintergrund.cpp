#include "startup/start.h"

namespace kaldorin {

namespace {

Farbe Verlaufsfarbe(const Programm& p) {
    return p.Verlauf_Blau * 65536 + p.Verlauf_Gruen * 256 + p.Verlauf_Rot;
}

// Light blue at the top, pure blue at line 320, black at line 830; each colour
// covers two lines. The extra 100 lines lie below the screen.
void Verlauf_Malen(Programm& p) {
    Face& ui = p.ui();
    p.Verlauf_Blau = 255;
    p.Verlauf_Gruen = 160;
    p.Verlauf_Rot = 160;
    ui.SelectOutput(p.Win_1);
    ui.SetForeColour(Verlaufsfarbe(p));
    const int hoehe = ui.ScreenHeight();
    int zaehler = 0;
    for (int y = 0; y <= hoehe + 100; ++y) {
        ui.DrawLine(0, y, ui.ScreenWidth(), y);
        if (++zaehler < 2) continue;
        zaehler = 0;
        if (p.Verlauf_Gruen > 0) {
            --p.Verlauf_Gruen;
            --p.Verlauf_Rot;
        } else if (p.Verlauf_Blau > 0) {
            --p.Verlauf_Blau;
        }
        ui.SetForeColour(Verlaufsfarbe(p));
    }
}

}  // namespace

void Hintergrund_Malen(Programm& p) {
    if (p.ui().Colours() <= 511) {
        p.ui().SetBackColour(p.Win_1, RGB(0, 0, 255));
        return;
    }
    Verlauf_Malen(p);
}

void Titel_Erstellen(Programm& p) {
    Face& ui = p.ui();
    p.txt1 = ui.CreateControl(p.Win_1, Art::Label, "txt1", "KALDORIN-Edit", 57, 57, 1000, 100);
    ui.SetFontName(p.txt1, "Arial");
    ui.SetFontSize(p.txt1, 72);
    ui.SetTextColour(p.txt1, RGB(0, 0, 0));
    ui.SetTransparent(p.txt1, true);
    p.txt2 = ui.CreateControl(p.Win_1, Art::Label, "txt2", "KALDORIN-Edit", 50, 50, 1000, 100);
    ui.SetFontName(p.txt2, "Arial");
    ui.SetFontSize(p.txt2, 72);
    ui.SetTextColour(p.txt2, RGB(255, 255, 255));
    ui.SetTransparent(p.txt2, true);
}

}  // namespace kaldorin
