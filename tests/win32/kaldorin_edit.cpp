// A stand-in for the installed application, put on the demo medium in the Wine tests:
// it prints the installation folder the setup recorded and the folder it runs from, so
// a test started through a link sees whether links, settings and files agree.
//   Dir=<HKCU\Software\VORK\KALDORIN "Dir">
//   Ordner=<the folder of this program>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string ergebnis(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, ergebnis.data(), n, nullptr, nullptr);
    return ergebnis.c_str();
}

}  // namespace

int main() {
    wchar_t dir[1024] = {}, ordner[MAX_PATH * 4] = {};
    DWORD groesse = sizeof dir - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\VORK\\KALDORIN", L"Dir", RRF_RT_REG_SZ, nullptr, dir, &groesse) !=
        ERROR_SUCCESS)
        dir[0] = L'\0';
    GetModuleFileNameW(nullptr, ordner, MAX_PATH * 4 - 1);
    if (wchar_t* schnitt = std::wcsrchr(ordner, L'\\')) *schnitt = L'\0';
    std::printf("Dir=%s\nOrdner=%s\n", Utf8(dir).c_str(), Utf8(ordner).c_str());
}
