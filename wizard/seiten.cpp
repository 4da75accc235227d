#include "wizard/assistent.h"

#include <initializer_list>
#include <utility>

#include "runtime/strings.h"

namespace kaldorin {

namespace {


struct Platz {
    Handle Programm::*control;
    int x, y;
};

// Moves a group's controls, in their order, to their places or out of view.
void Gruppe_Bewegen(Programm& p, std::initializer_list<Platz> gruppe, bool zeigen) {
    for (const Platz& platz : gruppe)
        p.ui().Move(p.*platz.control, zeigen ? platz.x : kOutOfView, zeigen ? platz.y : kOutOfView);
}

const std::initializer_list<Platz> kQuelle = {
    {&Programm::FRM_1, 111, 40}, {&Programm::TB_Von, 118, 88}, {&Programm::CMD_Browse1, 300, 88}};
const std::initializer_list<Platz> kZiel = {
    {&Programm::FRM_2, 111, 110}, {&Programm::TB_Dir, 118, 150}, {&Programm::CMD_Browse, 300, 150}};
const std::initializer_list<Platz> kOptionen = {
    {&Programm::FRM_4, 111, 67}, {&Programm::CB_Start, 140, 80}, {&Programm::CB_Desk, 140, 100},
    {&Programm::CB_Konvert, 140, 120}};
// FRM_4 goes out of view twice when the options are hidden, as it always has.
const std::initializer_list<Platz> kOptionenVerbergen = {
    {&Programm::FRM_4, 111, 67}, {&Programm::FRM_4, 111, 67}, {&Programm::CB_Start, 140, 80},
    {&Programm::CB_Desk, 140, 100}, {&Programm::CB_Konvert, 140, 120}};
const std::initializer_list<Platz> kEntfernen = {
    {&Programm::FRM_3, 111, 40},     {&Programm::CB_Rem_FP, 140, 50},
    {&Programm::CB_Rem_GP, 140, 70}, {&Programm::CB_Rem_DB, 140, 90},
    {&Programm::CB_Rem_PI, 140, 110}, {&Programm::CB_Rem_SO, 140, 130}};

}  // namespace

void Quellgruppe_Zeigen(Programm& p) { Gruppe_Bewegen(p, kQuelle, true); }
void Quellgruppe_Verbergen(Programm& p) { Gruppe_Bewegen(p, kQuelle, false); }
void Zielgruppe_Zeigen(Programm& p) { Gruppe_Bewegen(p, kZiel, true); }
void Zielgruppe_Verbergen(Programm& p) { Gruppe_Bewegen(p, kZiel, false); }
void Optionsgruppe_Zeigen(Programm& p) { Gruppe_Bewegen(p, kOptionen, true); }
void Optionsgruppe_Verbergen(Programm& p) { Gruppe_Bewegen(p, kOptionenVerbergen, false); }
void Entfernengruppe_Zeigen(Programm& p) { Gruppe_Bewegen(p, kEntfernen, true); }
void Entfernengruppe_Verbergen(Programm& p) { Gruppe_Bewegen(p, kEntfernen, false); }

void Texte_Loeschen(Programm& p) {
    for (Handle label : {p.LB_2, p.LB_3, p.LB_4, p.LB_5, p.LB_6, p.LB_7, p.LB_8, p.LB_9,
                         p.LB_10, p.LB_11, p.LB_12})
        p.ui().SetText(label, "");
}

void Seite_Anzeigen(Programm& p) {
    Face& ui = p.ui();
    Texte_Loeschen(p);
    switch (p.Seite) {
        case 1:
            ui.SetText(p.LB_1, Blanks(15) + "KALDORIN-Edit");
            ui.SetText(p.LB_11, "Klicken Sie auf die Schaltfläche 'weiter', um mit");
            ui.SetText(p.LB_12, "der Installation zu beginnen.");
            break;
        case 2:
            ui.SetText(p.LB_4, "Bitte wählen Sie den Ornder aus, aus welchem");
            ui.SetText(p.LB_5, "KALDORIN-Edit installiert werden soll:");
            ui.SetText(p.LB_9, "Bitte wählen Sie den Ornder aus, in welchen");
            ui.SetText(p.LB_10, "KALDORIN-Edit installiert werden soll:");
            break;
        case 4:
            ui.SetText(p.LB_3, "Kopiere Dateien.....");
            break;
        default:
            break;
    }
}

}  // namespace kaldorin
