#include "runtime/host/win32/suche_w32.h"

#include "runtime/host/win32/windows_w32.h"

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/fehler_w32.h"

namespace kaldorin::w32 {

namespace {
// The bits the runtime names (runtime.h); the archive bit and the rest stay behind.
constexpr int kBits =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
}

bool Gelistet(unsigned long attribute, int attributklasse) {
    if ((attribute & FILE_ATTRIBUTE_DIRECTORY) && !(attributklasse & 16)) return false;
    if ((attribute & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) && !(attributklasse & 6)) return false;
    return true;
}

std::string Suche::Erste(const std::string& muster, int attributklasse) {
    treffer_.clear();
    naechster_ = 0;
    aktuell_.reset();
    begonnen_ = true;
    WIN32_FIND_DATAW daten{};
    HANDLE h = FindFirstFileExW(Breit(muster).c_str(), FindExInfoStandard, &daten, FindExSearchNameMatch, nullptr, 0);
    if (h == INVALID_HANDLE_VALUE) return "";  // nothing matches, or the folder is missing
    do {
        const std::wstring_view name = daten.cFileName;
        if (name == L"." || name == L"..") continue;
        if (!Gelistet(daten.dwFileAttributes, attributklasse)) continue;
        treffer_.push_back({Schmal(name), static_cast<int>(daten.dwFileAttributes & kBits)});
    } while (FindNextFileW(h, &daten));
    FindClose(h);
    return Naechste();
}

std::string Suche::Naechste() {
    if (!begonnen_) Fehler("Es läuft keine Verzeichnissuche.");
    if (naechster_ >= treffer_.size()) {
        aktuell_.reset();
        return "";
    }
    const Treffer& t = treffer_[naechster_++];
    aktuell_ = t.attribute;
    return t.name;
}

int Suche::AttributeDesTreffers() const {
    if (!aktuell_) Fehler("Die Verzeichnissuche hat keinen Eintrag gefunden.");
    return *aktuell_;
}

}  // namespace kaldorin::w32
