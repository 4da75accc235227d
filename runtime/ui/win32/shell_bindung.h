#pragma once
// The shell's folder dialog, bound by name at its first call. One entry per
// function and one library entry shared by both, so the library is loaded once:
// until the first call an entry holds no address, and the call goes to the
// resolver, which loads the library if its handle is still empty, looks the
// function up by name and keeps the address; later calls go straight to it.

#include "runtime/host/win32/windows_w32.h"
#include <shlobj.h>

namespace kaldorin::w32 {

struct Bibliothekseintrag {
    HMODULE modul = nullptr;
    const wchar_t* datei;
};

struct Funktionseintrag {
    FARPROC adresse = nullptr;
    Bibliothekseintrag* bibliothek;
    const char* name;
};

// The address of the entry's function, resolved at the first call. Throws
// Laufzeitfehler when the library or the function cannot be found.
FARPROC Aufloesen(Funktionseintrag& eintrag);

// The two shell functions, through their entries (wide variants).
PIDLIST_ABSOLUTE Shell_BrowseForFolder(BROWSEINFOW* info);
BOOL Shell_GetPathFromIDList(PCIDLIST_ABSOLUTE liste, wchar_t* pfad);

// Whether the shell library was loaded yet, and the entries, for tests.
Bibliothekseintrag& ShellBibliothek();

}  // namespace kaldorin::w32
