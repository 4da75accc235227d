#pragma once
// The program lays out in pixels of a 96-DPI screen; the Win32 face shows them at the
// window's DPI. Everything that crosses between the two goes through these helpers.
// The DPI functions of newer Windows are looked up at run time, so the program still
// starts where they are missing (it then sees the system DPI).

#include "runtime/host/win32/windows_w32.h"

namespace kaldorin::w32 {

constexpr int kProgrammDpi = 96;

#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

// A length in the program's pixels as pixels at `dpi`, and back (rounded).
inline int Skaliert(int wert, int dpi) { return MulDiv(wert, dpi, kProgrammDpi); }
inline int Programmeinheiten(int wert, int dpi) { return MulDiv(wert, kProgrammDpi, dpi); }

// The DPI of the primary screen as this process sees it.
int SystemDpi();
// The DPI `hwnd` is shown at.
int FensterDpi(HWND hwnd);
// The outer size of a window of style `stil` whose inner area is breite x hoehe.
SIZE AussenGroesse(DWORD stil, DWORD erweitert, int breite, int hoehe, int dpi);
// The font of message boxes at `dpi`; kept for the whole run.
HFONT Nachrichtenschrift(int dpi);

}  // namespace kaldorin::w32
