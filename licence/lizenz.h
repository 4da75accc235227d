#pragma once
// The licence window: edition check, font-size notice, welcome and agreement pages.

#include "programm/programm.h"

namespace kaldorin {

// Runs the licence window until the user accepts or declines; sets Lizenz_Akzeptiert.
// Ends the program when the normal edition is installed already.
void Lizenz_Fenster(Programm& p);

// Paging and decision buttons of Win_3, and closing it through its frame (a decline).
void cbo_Weiter_Click(Programm& p);
void cbo_Zurück_Click(Programm& p);
void cbo_Akzeptieren_Click(Programm& p);
void cbo_Ablehnen_Click(Programm& p);
void Win_3_Close(Programm& p);

// The pages: 0 welcome, 1 to 5 the agreement.
void Lizenz_Willkommen(Programm& p);
void Lizenz_Text_1(Programm& p);
void Lizenz_Text_2(Programm& p);
void Lizenz_Text_3(Programm& p);
void Lizenz_Text_4(Programm& p);
void Lizenz_Text_5(Programm& p);

}  // namespace kaldorin
