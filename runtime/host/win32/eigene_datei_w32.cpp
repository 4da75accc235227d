#include "runtime/host/win32/eigene_datei_w32.h"

#include "runtime/host/win32/windows_w32.h"
#include <ntsecapi.h>

#include <cwchar>
#include <cwctype>
#include <optional>
#include <vector>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/fehler_w32.h"
#include "runtime/host/win32/systemfakten_w32.h"

namespace kaldorin::w32 {

namespace {

constexpr std::wstring_view kVorsilbe = L"KALDORIN-Setup-";
constexpr std::size_t kZiffern = 16;

// Volume and file number: the same file under any of its names.
std::optional<BY_HANDLE_FILE_INFORMATION> Kennung(const std::wstring& pfad) {
    const HANDLE h = CreateFileW(pfad.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool gelesen = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!gelesen) return std::nullopt;
    return info;
}

std::wstring TempOrdner() {
    wchar_t puffer[MAX_PATH + 2] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, puffer);
    if (n == 0 || n > MAX_PATH + 1) SystemFehler("Der Ordner für temporäre Dateien lässt sich nicht ermitteln");
    std::wstring ordner(puffer, n);
    if (!ordner.empty() && ordner.back() != L'\\') ordner += L'\\';
    return ordner;
}

// A name nobody can guess: 64 bits from the system's random source.
std::wstring ZufallsName() {
    unsigned char zufall[kZiffern / 2];
    if (!RtlGenRandom(zufall, sizeof zufall)) Fehler("Der Zufallsgenerator des Systems antwortet nicht.");
    std::wstring name(kVorsilbe);
    for (unsigned char b : zufall) {
        name += L"0123456789abcdef"[b >> 4];
        name += L"0123456789abcdef"[b & 15];
    }
    return name;
}

bool IstUnserName(std::wstring_view name) {
    if (name.size() != kVorsilbe.size() + kZiffern || name.substr(0, kVorsilbe.size()) != kVorsilbe) return false;
    for (wchar_t c : name.substr(kVorsilbe.size()))
        if (!std::iswxdigit(c)) return false;
    return true;
}

// Every entry of `muster` that FindFirstFileW lists, "." and ".." left out.
std::vector<WIN32_FIND_DATAW> Eintraege(const std::wstring& muster) {
    std::vector<WIN32_FIND_DATAW> liste;
    WIN32_FIND_DATAW fund{};
    const HANDLE suche = FindFirstFileW(muster.c_str(), &fund);
    if (suche == INVALID_HANDLE_VALUE) return liste;
    do {
        if (std::wcscmp(fund.cFileName, L".") != 0 && std::wcscmp(fund.cFileName, L"..") != 0) liste.push_back(fund);
    } while (FindNextFileW(suche, &fund));
    FindClose(suche);
    return liste;
}

bool GleichOderDarunter(const std::wstring& pfad, std::wstring ordner) {
    while (ordner.size() > 3 && ordner.back() == L'\\') ordner.pop_back();
    if (pfad.size() < ordner.size()) return false;
    if (CompareStringOrdinal(pfad.c_str(), static_cast<int>(ordner.size()), ordner.c_str(),
                             static_cast<int>(ordner.size()), TRUE) != CSTR_EQUAL)
        return false;
    return pfad.size() == ordner.size() || pfad[ordner.size()] == L'\\' || ordner.back() == L'\\';
}

std::wstring Vollstaendig(const std::wstring& pfad) {
    const DWORD n = GetFullPathNameW(pfad.c_str(), 0, nullptr, nullptr);
    if (n == 0) return pfad;
    std::wstring voll(n, L'\0');
    const DWORD m = GetFullPathNameW(pfad.c_str(), n, voll.data(), nullptr);
    if (m == 0 || m >= n) return pfad;
    voll.resize(m);
    return voll;
}

}  // namespace

bool IstEigeneDatei(const std::wstring& pfad) {
    const auto datei = Kennung(pfad);
    const auto eigen = Kennung(ProgrammDatei());
    return datei && eigen && datei->dwVolumeSerialNumber == eigen->dwVolumeSerialNumber &&
           datei->nFileIndexHigh == eigen->nFileIndexHigh && datei->nFileIndexLow == eigen->nFileIndexLow;
}

void EigeneDateiWegraeumen(const std::wstring& pfad) {
    const std::wstring temp = TempOrdner();
    std::wstring ordner;
    // A new folder, never one that is there already, so that nobody else's goes.
    for (int versuch = 0; ordner.empty(); ++versuch) {
        const std::wstring kandidat = temp + ZufallsName();
        if (CreateDirectoryW(kandidat.c_str(), nullptr)) ordner = kandidat;
        else if (GetLastError() != ERROR_ALREADY_EXISTS || versuch == 3)
            SystemFehler("Der Ordner für das laufende Setup-Programm lässt sich nicht anlegen");
    }
    const std::wstring name = pfad.substr(pfad.find_last_of(L'\\') + 1);
    // Without MOVEFILE_COPY_ALLOWED: a copy would leave the running file where it is.
    if (!MoveFileExW(pfad.c_str(), (ordner + L"\\" + name).c_str(), 0)) {
        const DWORD fehler = GetLastError();
        RemoveDirectoryW(ordner.c_str());
        SystemFehler("Das laufende Setup-Programm " + Anzeige(Schmal(pfad)) + " lässt sich nicht verschieben",
                     fehler);
    }
}

void WeggeraeumtesEntfernen() {
    try {
        const std::wstring temp = TempOrdner();
        for (const auto& ordner : Eintraege(temp + std::wstring(kVorsilbe) + L"*")) {
            if (!(ordner.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IstUnserName(ordner.cFileName)) continue;
            const std::wstring pfad = temp + ordner.cFileName;
            for (const auto& datei : Eintraege(pfad + L"\\*")) DeleteFileW((pfad + L"\\" + datei.cFileName).c_str());
            RemoveDirectoryW(pfad.c_str());
        }
    } catch (const std::exception&) {
        // No temporary folder: nothing was moved there either.
    }
}

void OrdnerVerlassen(const std::wstring& ordner) {
    const DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return;
    std::wstring aktuell(n, L'\0');
    aktuell.resize(GetCurrentDirectoryW(n, aktuell.data()));
    if (!GleichOderDarunter(aktuell, Vollstaendig(ordner))) return;
    try {
        SetCurrentDirectoryW(TempOrdner().c_str());
    } catch (const std::exception&) {
    }
}

}  // namespace kaldorin::w32
