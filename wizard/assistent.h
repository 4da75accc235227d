#pragma once
// The installation wizard: pages, navigation, folder choice and the target tree.

#include <string>

#include "programm/programm.h"

namespace kaldorin {

// Pages and control groups.
void Seite_Anzeigen(Programm& p);
void Texte_Loeschen(Programm& p);
void Quellgruppe_Zeigen(Programm& p);
void Quellgruppe_Verbergen(Programm& p);
void Zielgruppe_Zeigen(Programm& p);
void Zielgruppe_Verbergen(Programm& p);
void Optionsgruppe_Zeigen(Programm& p);
void Optionsgruppe_Verbergen(Programm& p);
void Entfernengruppe_Zeigen(Programm& p);
void Entfernengruppe_Verbergen(Programm& p);

// The form's buttons and the close events of the form and the background window.
void CMD_Weiter_Click(Programm& p);
void CMD_Zurück_Click(Programm& p);
void CMD_Entfernen_Click(Programm& p);
void CMD_Abbrechen_Click(Programm& p);
void FRM_Installation_Close(Programm& p);
void Win_1_Close(Programm& p);

// Folders.
// Opens the folder chooser; returns the chosen folder ending in a backslash, or "".
std::string Ordner_Suchen(Programm& p, Handle besitzer, int flags, const std::string& titel,
                          const std::string& start);
void CMD_Browse_Click(Programm& p);
void CMD_Browse1_Click(Programm& p);
// Takes the source text from TB_Von; false (after its message) when it names a file.
bool Quelle_Pruefen(Programm& p);
// Creates the target folder and its six sub-folders, ignoring every failure.
void Zielbaum_Erstellen(Programm& p);

}  // namespace kaldorin
