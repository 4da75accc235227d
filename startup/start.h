#pragma once
// Start-up: the main procedure's steps, the background window and the forms.

#include "startup/programm.h"

namespace kaldorin {

// Program-wide defaults (the product's fixed names and the codes of the main list).
void Vorgaben_Setzen(Programm& p);
// The codes of the main list, positions 0 to 8; they name its files on the medium.
extern const std::vector<std::string> Kennung_Codes;

// Background of Win_1: a gradient, or plain blue on displays of 511 colours or fewer.
void Hintergrund_Malen(Programm& p);

// The two title labels on Win_1: white text over a black shadow.
void Titel_Erstellen(Programm& p);

// The processor, resolution and colour-depth warnings and the close-applications
// prompt. Each ends the program when the user picks "abbrechen".
void Prozessor_Pruefen(Programm& p);
void Aufloesung_Pruefen(Programm& p);
void Farbtiefe_Pruefen(Programm& p);
void Anwendungen_Schliessen(Programm& p);

// Builds FRM_Installation from its stored description and creates the code-built
// controls, all out of view.
void Formular_Erstellen(Programm& p);

// Forgets a recorded installation folder that no longer exists, and makes the remove
// button not available when none is known.
void Entfernen_Pruefen(Programm& p);

}  // namespace kaldorin
