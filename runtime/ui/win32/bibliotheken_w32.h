#pragma once
// The DLLs the program needs beyond those Windows always takes from System32: the
// common controls (version 6, through the manifest) here, GDI+ in bild_w32.cpp. The
// program does not import them. The entry first limits the DLL search to System32
// (NurSystemBibliotheken); each function is then bound by name at its first call
// (shell_bindung.h), so a DLL of the same name in the program's own folder, usually
// Downloads, is never loaded.

#include "runtime/host/win32/windows_w32.h"
#include <commctrl.h>

#include <cstring>

#include "runtime/ui/win32/shell_bindung.h"

namespace kaldorin::w32 {

// Only System32 (and the side-by-side assemblies the manifest names) for every DLL
// loaded from now on. Called first thing at start. Where Windows lacks the call, the
// current folder at least leaves the search.
void NurSystemBibliotheken();

namespace gebunden {

// A function of type F, called like the original; throws Laufzeitfehler when its
// library or the function is missing.
template <typename F>
struct Funktion {
    Funktionseintrag eintrag;
    template <typename... A>
    auto operator()(A... argumente) {
        const FARPROC adresse = Aufloesen(eintrag);
        F f;
        static_assert(sizeof f == sizeof adresse);
        std::memcpy(&f, &adresse, sizeof f);
        return f(argumente...);
    }
};

// decltype names the type only: no import of the original arises.
extern Funktion<decltype(&::InitCommonControlsEx)> InitCommonControlsEx;
extern Funktion<decltype(&::SetWindowSubclass)> SetWindowSubclass;
extern Funktion<decltype(&::DefSubclassProc)> DefSubclassProc;

}  // namespace gebunden

}  // namespace kaldorin::w32
