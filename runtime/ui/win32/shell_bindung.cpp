#include "runtime/runtime.h"

#include "runtime/ui/win32/shell_bindung.h"

#include <cstring>

#include "runtime/host/win32/breit.h"

namespace kaldorin::w32 {

namespace {

Bibliothekseintrag gShell{nullptr, L"shell32.dll"};
Funktionseintrag gDurchsuchen{nullptr, &gShell, "SHBrowseForFolderW"};
Funktionseintrag gPfad{nullptr, &gShell, "SHGetPathFromIDListW"};

template <typename F>
F Als(FARPROC adresse) {
    F f;
    static_assert(sizeof f == sizeof adresse);
    std::memcpy(&f, &adresse, sizeof f);
    return f;
}

}  // namespace

FARPROC Aufloesen(Funktionseintrag& eintrag) {
    if (eintrag.adresse) return eintrag.adresse;
    Bibliothekseintrag& b = *eintrag.bibliothek;
    if (!b.modul) {
        b.modul = LoadLibraryW(b.datei);
        if (!b.modul) throw Laufzeitfehler("Die Bibliothek " + Schmal(b.datei) + " ist nicht vorhanden.");
    }
    eintrag.adresse = GetProcAddress(b.modul, eintrag.name);
    if (!eintrag.adresse)
        throw Laufzeitfehler("Die Funktion " + std::string(eintrag.name) + " ist in " + Schmal(b.datei) +
                             " nicht vorhanden.");
    return eintrag.adresse;
}

PIDLIST_ABSOLUTE Shell_BrowseForFolder(BROWSEINFOW* info) {
    using F = PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*);
    return Als<F>(Aufloesen(gDurchsuchen))(info);
}

BOOL Shell_GetPathFromIDList(PCIDLIST_ABSOLUTE liste, wchar_t* pfad) {
    using F = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, wchar_t*);
    return Als<F>(Aufloesen(gPfad))(liste, pfad);
}

Bibliothekseintrag& ShellBibliothek() { return gShell; }

}  // namespace kaldorin::w32
