#include "runtime/strings.h"
#include "startup/start.h"

namespace kaldorin {

namespace {

// The design-time controls that the stored description makes, by name.
void Gespeicherte_Steuerelemente(Programm& p) {
    Face& ui = p.ui();
    struct { Handle& ziel; const char* name; } liste[] = {
        {p.IMG_Bild, "IMG_Bild"},       {p.fr1, "fr1"},
        {p.CMD_Zurück, "CMD_Zurück"},   {p.CMD_Weiter, "CMD_Weiter"},
        {p.CMD_Abbrechen, "CMD_Abbrechen"},
        {p.LB_1, "LB_1"},   {p.LB_2, "LB_2"},   {p.LB_3, "LB_3"},   {p.LB_4, "LB_4"},
        {p.LB_5, "LB_5"},   {p.LB_6, "LB_6"},   {p.LB_7, "LB_7"},   {p.LB_8, "LB_8"},
        {p.LB_10, "LB_10"}, {p.LB_11, "LB_11"}, {p.LB_12, "LB_12"},
        {p.CMD_Entfernen, "CMD_Entfernen"},     {p.LB_9, "LB_9"},
    };
    for (auto& eintrag : liste) eintrag.ziel = ui.FindControl(eintrag.name);
}

Handle Erstellen(Programm& p, Art art, const char* name, const char* text, int breite,
                 int hoehe) {
    return p.ui().CreateControl(p.FRM_Installation, art, name, text, kOutOfView, kOutOfView, breite,
                                hoehe);
}

void Kontrollkaestchen(Programm& p, Handle& ziel, const char* name, const char* text,
                       int breite, bool gesetzt, const char* hinweis = nullptr) {
    ziel = Erstellen(p, Art::CheckBox, name, text, breite, 18);
    p.ui().SetTicked(ziel, gesetzt);
    if (hinweis) p.ui().SetToolTip(ziel, hinweis);
}

// The controls that the code builds, in this order, each set up before the next.
void Code_Steuerelemente(Programm& p) {
    Face& ui = p.ui();
    p.TB_Dir = Erstellen(p, Art::TextBox, "TB_Dir", "", 180, 20);
    ui.SetBorder(p.TB_Dir, 1);
    ui.SetText(p.TB_Dir, p.Ziel_Ordner);
    p.TB_Von = Erstellen(p, Art::TextBox, "TB_Von", "", 180, 20);
    ui.SetBorder(p.TB_Von, 1);
    ui.SetText(p.TB_Von, p.Quell_Ordner);
    p.CMD_Browse = Erstellen(p, Art::Button, "CMD_Browse", "suchen", 50, 20);
    p.CMD_Browse1 = Erstellen(p, Art::Button, "CMD_Browse1", "suchen", 50, 20);
    p.FRM_1 = Erstellen(p, Art::Frame, "FRM_1", "", 244, 74);
    p.FRM_2 = Erstellen(p, Art::Frame, "FRM_2", "", 244, 70);
    p.FRM_3 = Erstellen(p, Art::Frame, "FRM_3", "", 244, 110);
    p.FRM_4 = Erstellen(p, Art::Frame, "FRM_4", "", 244, 74);
    Kontrollkaestchen(p, p.CB_Start, "CB_Start", "Eintrag im Startmenü erstellen", 200, true,
                      "Um KALDORIN-Edit über 'Start - Programme' aufrufen zu können");
    Kontrollkaestchen(p, p.CB_Desk, "CB_Desk", "Eintrag im Desktop erstellen", 200, true,
                      "Um KALDORIN-Edit direkt über das Desktop aufrufen zu können");
    Kontrollkaestchen(p, p.CB_Konvert, "CB_Konvert", "DOS -> Windows Konverter installieren",
                      210, true,
                      "Um den DOS-nach-WINDOWS Konverter zu installieren (aktivierbar über "
                      "Startmenü)");
    Kontrollkaestchen(p, p.CB_Rem_FP, "CB_Rem_FP", "Fahrplan-Verzeichnis löschen", 200, false);
    Kontrollkaestchen(p, p.CB_Rem_GP, "CB_Rem_GP", "Stellwerk-Verzeichnis löschen", 200, false);
    Kontrollkaestchen(p, p.CB_Rem_DB, "CB_Rem_DB", "Lokdatenbank-Verzeichnis löschen", 200,
                      false);
    Kontrollkaestchen(p, p.CB_Rem_PI, "CB_Rem_PI", "Bild-Verzeichnis löschen", 200, false);
    Kontrollkaestchen(p, p.CB_Rem_SO, "CB_Rem_SO", "Sound-Verzeichnis löschen", 200, false);
    p.PB_Fortschritt = Erstellen(p, Art::ProgressBar, "PB_Fortschritt", "", 230, 16);
    ui.SetSmooth(p.PB_Fortschritt, true);
    ui.SetProgressMax(p.PB_Fortschritt, 11);
}

}  // namespace

void Formular_Erstellen(Programm& p) {
    Face& ui = p.ui();
    p.FRM_Installation = ui.LoadForm(":{FRM_Installation");
    Gespeicherte_Steuerelemente(p);
    ui.SetFontName(p.FRM_Installation, "MS Sans Serif");
    ui.SetIcon(p.FRM_Installation, ":vork2");
    ui.SetText(p.FRM_Installation, ui.Text(p.FRM_Installation) + "  " +
                                       NumberText(p.Version_Haupt) + "." +
                                       PaddedNumber(p.Version_Neben, 2) + "-" +
                                       p.host().BuildText());
    ui.SetPicture(p.IMG_Bild, ":setup");
    Code_Steuerelemente(p);
}

}  // namespace kaldorin
