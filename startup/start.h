#pragma once
// Start-up: the main procedure's steps, the background window and the forms.

#include "startup/hauptprogramm.h"

namespace kaldorin {

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

}  // namespace kaldorin
