// A stand-in for the installed application, put on the demo medium in the Wine tests:
// it prints the installation folder the setup recorded and the folder it runs from, so
// a test started through a link sees whether links, settings and files agree.
//   Dir=<HKCU\Software\VORK\KALDORIN "Dir">
//   Ordner=<the folder of this program>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text, int laenge) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, laenge, nullptr, 0, nullptr, nullptr);
    std::string ergebnis(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, laenge, ergebnis.data(), n, nullptr, nullptr);
    return ergebnis;
}

std::string Verzeichnet() {
    wchar_t wert[1024] = {};
    DWORD groesse = sizeof wert - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\VORK\\KALDORIN", L"Dir", RRF_RT_REG_SZ, nullptr,
                     wert, &groesse) != ERROR_SUCCESS)
        return "";
    return Utf8(wert, -1).c_str();
}

std::string EigenerOrdner() {
    wchar_t pfad[MAX_PATH * 4] = {};
    const DWORD n = GetModuleFileNameW(nullptr, pfad, MAX_PATH * 4);
    std::wstring ordner(pfad, n);
    const auto schnitt = ordner.find_last_of(L'\\');
    if (schnitt != std::wstring::npos) ordner.resize(schnitt);
    return Utf8(ordner.c_str(), static_cast<int>(ordner.size()));
}

}  // namespace

int main() {
    std::printf("Dir=%s\nOrdner=%s\n", Verzeichnet().c_str(), EigenerOrdner().c_str());
    return 0;
}
