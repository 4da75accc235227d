#include "runtime/host/win32/systemfakten_w32.h"

#include "runtime/host/win32/windows_w32.h"
#include <knownfolders.h>
#include <shlobj.h>

#include <cpuid.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/fehler_w32.h"

namespace kaldorin::w32 {

std::wstring ProgrammDatei() {
    std::vector<wchar_t> puffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, puffer.data(), static_cast<DWORD>(puffer.size()));
        if (n == 0) SystemFehler("Der Ordner des Programms lässt sich nicht ermitteln");
        if (n < puffer.size()) return std::wstring(puffer.data(), n);
        puffer.resize(puffer.size() * 2);
    }
}

std::string ProgrammOrdner() {
    std::wstring pfad = ProgrammDatei();
    const auto schnitt = pfad.find_last_of(L'\\');
    if (schnitt != std::wstring::npos) pfad.resize(schnitt);
    return Schmal(pfad);
}

std::string WindowsOrdner() {
    wchar_t puffer[MAX_PATH + 1] = {};
    const UINT n = GetWindowsDirectoryW(puffer, MAX_PATH);
    if (n == 0 || n > MAX_PATH) SystemFehler("Der Windows-Ordner lässt sich nicht ermitteln");
    return Schmal(std::wstring_view(puffer, n));
}

std::string ProgrammeOrdner() {
    wchar_t puffer[MAX_PATH + 1] = {};
    const HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, puffer);
    if (FAILED(hr)) Fehler("Der Programme-Ordner des Startmenüs lässt sich nicht ermitteln.");
    return Schmal(puffer);
}

namespace {

std::string BekannterOrdner(REFKNOWNFOLDERID ordner, DWORD schalter) {
    PWSTR pfad = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(ordner, schalter, nullptr, &pfad);
    std::string ergebnis = SUCCEEDED(hr) && pfad ? Schmal(pfad) : std::string();
    CoTaskMemFree(pfad);
    return ergebnis;
}

}  // namespace

std::string EigenerProgrammOrdner() {
    std::string ordner = BekannterOrdner(FOLDERID_UserProgramFiles, KF_FLAG_CREATE);
    if (!ordner.empty()) return ordner;
    // A shell that does not know the folder (Wine 8): its place on every Windows that
    // does, made here as the shell would make it.
    const std::string lokal = BekannterOrdner(FOLDERID_LocalAppData, 0);
    if (lokal.empty()) Fehler("Der eigene Programme-Ordner des Benutzers lässt sich nicht ermitteln.");
    ordner = lokal + "\\Programs";
    if (!CreateDirectoryW(Breit(ordner).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        SystemFehler("Der Ordner " + Anzeige(ordner) + " lässt sich nicht anlegen");
    return ordner;
}

std::string EigenerDesktop() {
    wchar_t puffer[MAX_PATH + 1] = {};
    const HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, puffer);
    if (FAILED(hr)) Fehler("Der Desktop-Ordner des Benutzers lässt sich nicht ermitteln.");
    return Schmal(puffer);
}

std::int32_t VersionsWort() { return static_cast<std::int32_t>(GetVersion()); }

std::uint32_t CpuSignatur() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d) == 0) return 0x600;
    return a;
}

std::string HeutigesDatum() {
    SYSTEMTIME heute{};
    GetLocalTime(&heute);
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u", heute.wYear, heute.wMonth, heute.wDay);
    return text;
}

std::string BauDatum() {
    // __DATE__ is "Mmm dd yyyy".
    static const char* const monate[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::string datum = __DATE__;
    int monat = 1;
    for (int i = 0; i < 12; ++i)
        if (datum.compare(0, 3, monate[i]) == 0) monat = i + 1;
    std::string tag = datum.substr(4, 2);
    if (tag[0] == ' ') tag[0] = '0';
    return datum.substr(7, 4) + "-" + (monat < 10 ? "0" : "") + std::to_string(monat) + "-" + tag;
}

std::optional<std::string> UnterWine(const std::string& posixPfad) {
    using DosName = wchar_t*(__cdecl*)(const char*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return std::nullopt;
    FARPROC adresse = GetProcAddress(kernel, "wine_get_dos_file_name");
    if (!adresse) return std::nullopt;
    DosName dosName;
    static_assert(sizeof dosName == sizeof adresse);
    std::memcpy(&dosName, &adresse, sizeof dosName);
    wchar_t* name = dosName(posixPfad.c_str());
    if (!name) return std::nullopt;
    std::string pfad = Schmal(name);
    HeapFree(GetProcessHeap(), 0, name);
    if (pfad.starts_with("\\\\?\\")) pfad.erase(0, 4);
    while (pfad.size() > 3 && pfad.back() == '\\') pfad.pop_back();
    return pfad;
}

}  // namespace kaldorin::w32
