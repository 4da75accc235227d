#include "runtime/ui/win32/bibliotheken_w32.h"

namespace kaldorin::w32 {

void NurSystemBibliotheken() {
    using Setzen = BOOL(WINAPI*)(DWORD);
    Setzen setzen = nullptr;
    const FARPROC adresse = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    static_assert(sizeof setzen == sizeof adresse);
    std::memcpy(&setzen, &adresse, sizeof setzen);
    if (!setzen || !setzen(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

namespace gebunden {

namespace {
Bibliothekseintrag gSteuerelemente{nullptr, L"comctl32.dll"};
}  // namespace

decltype(InitCommonControlsEx) InitCommonControlsEx{{nullptr, &gSteuerelemente, "InitCommonControlsEx"}};
decltype(SetWindowSubclass) SetWindowSubclass{{nullptr, &gSteuerelemente, "SetWindowSubclass"}};
decltype(DefSubclassProc) DefSubclassProc{{nullptr, &gSteuerelemente, "DefSubclassProc"}};

}  // namespace gebunden

}  // namespace kaldorin::w32
