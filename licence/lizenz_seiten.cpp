#include "licence/lizenz.h"
#include "licence/vertrag.h"
#include "runtime/strings.h"

namespace kaldorin {

namespace {

constexpr Farbe kRot = RGB(255, 0, 0);
constexpr Farbe kSchwarz = RGB(0, 0, 0);

// A heading in bold, then its lines indented by one blank; sub-items with their
// label indented by two blanks and their lines by eight.
void Abschnitt_Drucken(Face& ui, const Abschnitt& abschnitt) {
    ui.SetOutputBold(true);
    ui.PrintLine(abschnitt.titel);
    ui.SetOutputBold(false);
    for (const auto& zeile : abschnitt.zeilen) ui.PrintLine(" " + zeile);
    for (const auto& punkt : abschnitt.punkte) {
        ui.PrintLine(Blanks(2) + punkt.titel);
        for (const auto& zeile : punkt.zeilen) ui.PrintLine(Blanks(8) + zeile);
    }
}

const Abschnitt& Teil(int nummer) { return Lizenzvertrag().abschnitte.at(nummer); }

void Leere_Zeilen(Face& ui, int anzahl) {
    for (int i = 0; i < anzahl; ++i) ui.PrintLine("");
}

}  // namespace

void Lizenz_Willkommen(Programm& p) {
    Face& ui = p.ui();
    ui.SelectOutput(p.Win_3);
    ui.SetText(p.Win_3, "Willkommen");
    ui.ClearOutput();
    ui.SetOutputFontSize(14);
    ui.SetOutputBold(true);
    ui.DrawText(66, 20, "Vorkwerk-Gruppe");

    ui.SelectOutput(p.tb1);
    ui.ClearOutput();
    ui.Move(p.bld, 20, 20);
    ui.SetOutputFontSize(14);
    ui.DrawText(40, 16, "Willkommen zum Setup von KALDORIN-Edit");

    ui.SetPrintPosition(1, 3);
    ui.PrintLine("");
    ui.SetOutputFontSize(10);
    ui.PrintLine("  Bitte lesen Sie die nachfolgende Lizenzvereinbarung gründlich durch.");
    ui.PrintLine("  Um KALDORIN-Edit installieren zu können, müssen Sie den Lizenz-");
    ui.PrintLine("  bedingungen zustimmen. Wenn Sie dies ablehnen, wird Setup beendet,");
    ui.PrintLine("  ohne dass KALDORIN-Edit installiert wurde.");

    ui.SetPrintPosition(1, 11);
    ui.PrintLine("");
    ui.SetOutputBold(true);
    ui.PrintLine("  WARNUNG:");
    ui.SetOutputBold(false);
    ui.PrintLine("           Diese Anwendung ist durch Urheberrecht und internationale");
    ui.PrintLine("           Vereinbarungen geschützt.");

    ui.SetOutputFontSize(8);
    ui.SetAvailable(p.cbo_Zurück, false);
}

void Lizenz_Text_1(Programm& p) {
    Face& ui = p.ui();
    ui.Move(p.bld, 1000, 1000);
    ui.SetText(p.Win_3, "Lizenzvereinbarung");
    ui.SelectOutput(p.Win_3);
    ui.ClearOutput();
    ui.SetOutputBold(false);
    ui.SetOutputFontSize(8);
    ui.PrintLine("");
    ui.PrintLine(" Bitte lesen Sie die folgende Lizenzvereinbarung gründlich durch. Um "
                 "KALDORIN-Edit installieren zu");
    ui.PrintLine(" können, müssen Sie den Lizenzbedingungen zustimmen. Wenn Sie dies "
                 "ablehnen, wird Setup");
    ui.PrintLine(" beendet, ohne KALDORIN-Edit zu installieren.");

    ui.SelectOutput(p.tb1);
    ui.ClearOutput();
    ui.PrintLine(" Damit KALDORIN-Edit installiert werden kann, müssen Sie sich mit den "
                 "Bedingungen der");
    ui.PrintLine(" folgenden Software-Lizenzvereinbarung einverstanden erklären.");
    ui.PrintLine("");
    ui.SetOutputBold(true);
    ui.SetForeColour(kRot);
    ui.PrintLine(Blanks(30) + "VORK KALDORIN-Edit Lizenzvertrag");
    ui.SetOutputBold(false);
    ui.SetForeColour(kSchwarz);
    ui.PrintLine("");
    for (const auto& zeile : Lizenzvertrag().praeambel) ui.PrintLine(Blanks(10) + zeile);
    ui.PrintLine("");
    Abschnitt_Drucken(ui, Teil(0));
    ui.SetAvailable(p.cbo_Zurück, true);
}

void Lizenz_Text_2(Programm& p) {
    Face& ui = p.ui();
    ui.SelectOutput(p.tb1);
    ui.ClearOutput();
    ui.PrintLine("");
    Abschnitt_Drucken(ui, Teil(1));
    ui.PrintLine("");
    Abschnitt_Drucken(ui, Teil(2));
}

void Lizenz_Text_3(Programm& p) {
    Face& ui = p.ui();
    ui.SetAvailable(p.cbo_Akzeptieren, false);
    ui.SelectOutput(p.tb1);
    ui.ClearOutput();
    ui.PrintLine("");
    Abschnitt_Drucken(ui, Teil(3));
    ui.PrintLine("");
    Abschnitt_Drucken(ui, Teil(4));
    ui.PrintLine("");
    ui.SetAvailable(p.cbo_Weiter, true);
}

void Lizenz_Text_4(Programm& p) {
    Face& ui = p.ui();
    ui.SelectOutput(p.tb1);
    ui.ClearOutput();
    Abschnitt_Drucken(ui, Teil(5));
    ui.PrintLine("");
    ui.SetAvailable(p.cbo_Weiter, true);
    ui.SetAvailable(p.cbo_Akzeptieren, false);
}

void Lizenz_Text_5(Programm& p) {
    Face& ui = p.ui();
    ui.SelectOutput(p.tb1);
    ui.ClearOutput();
    ui.PrintLine("");
    Abschnitt_Drucken(ui, Teil(6));
    Leere_Zeilen(ui, 7);
    ui.SetOutputBold(true);
    ui.PrintLine("     Sie können nun dem Vertrag zustimmen  [Akzeptieren]  und KALDORIN-Edit");
    ui.PrintLine("     installieren,  oder ihn ablehnen  [Ablehnen]  um KALDORIN-Edit nicht zu");
    ui.PrintLine("     installieren.");
    ui.SetOutputBold(false);
    ui.SetAvailable(p.cbo_Weiter, false);
    ui.SetAvailable(p.cbo_Akzeptieren, true);
}

}  // namespace kaldorin
