#pragma once
// Small helpers shared by the parts of the Win32 face.

#include <string>
#include <string_view>

#include "runtime/host/win32/windows_w32.h"

namespace kaldorin::w32 {

// The text of a window, as UTF-8.
std::string FensterText(HWND hwnd);

// The position of `hwnd` inside its parent (a control) or on the screen (a window).
RECT Ort(HWND hwnd);

// Line breaks for a Windows text: CR LF, CR and LF each become CR LF; with
// `striche`, "|" breaks the line too.
std::wstring Zeilen(std::string_view text, bool striche);

}  // namespace kaldorin::w32
