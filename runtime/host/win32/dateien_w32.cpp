#include "runtime/host/win32/dateien_w32.h"

#include "runtime/host/win32/windows_w32.h"

#include <algorithm>
#include <cwctype>

#include "runtime/entpacken.h"
#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/fehler_w32.h"

namespace kaldorin::w32 {

namespace {

[[noreturn]] void DateiFehler(const char* was, const std::string& pfad, const std::string& grund) {
    Fehler("Die Datei " + Anzeige(pfad) + " " + was + ": " + grund);
}

[[noreturn]] void NichtSchreibbar(const std::string& pfad, const std::string& grund) {
    DateiFehler("kann nicht geschrieben werden", pfad, grund);
}

std::string OrdnerVon(const std::string& pfad) {
    const auto schnitt = pfad.find_last_of("\\/");
    if (schnitt == std::string::npos) return ".";
    if (schnitt == 2 && pfad[1] == ':') return pfad.substr(0, 3);  // "C:\"
    return pfad.substr(0, schnitt);
}

std::string NameVon(const std::string& pfad) {
    const auto schnitt = pfad.find_last_of("\\/");
    return schnitt == std::string::npos ? pfad : pfad.substr(schnitt + 1);
}

void AllesSchreiben(HANDLE h, std::span<const std::uint8_t> bytes, const std::string& ziel) {
    while (!bytes.empty()) {
        const DWORD stueck = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD geschrieben = 0;
        if (!WriteFile(h, bytes.data(), stueck, &geschrieben, nullptr)) NichtSchreibbar(ziel, Grund(GetLastError()));
        if (geschrieben == 0) NichtSchreibbar(ziel, Grund(ERROR_DISK_FULL));
        bytes = bytes.subspan(geschrieben);
    }
}

// Fills `puffer` from `offset`; throws when the file ends first.
void AllesLesen(HANDLE h, std::uint64_t offset, std::span<std::uint8_t> puffer, const std::string& pfad) {
    while (!puffer.empty()) {
        OVERLAPPED ort{};
        ort.Offset = static_cast<DWORD>(offset);
        ort.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD stueck = static_cast<DWORD>(std::min<std::size_t>(puffer.size(), 1u << 30));
        DWORD gelesen = 0;
        if (!ReadFile(h, puffer.data(), stueck, &gelesen, &ort) && GetLastError() != ERROR_HANDLE_EOF)
            DateiFehler("kann nicht gelesen werden", pfad, Grund(GetLastError()));
        if (gelesen == 0) DateiFehler("kann nicht gelesen werden", pfad, "Sie ist kürzer als erwartet.");
        puffer = puffer.subspan(gelesen);
        offset += gelesen;
    }
}

constexpr std::size_t kTempNameLaenge = 150;  // of the target's name

// Whether `eintrag` is a name OpenWrite gives a temporary file:
// "~<name>.kaldorin-<process>-<counter>.tmp", for the target `name`, or for any target
// when `name` is empty.
bool IstTempName(std::wstring_view eintrag, std::wstring_view name) {
    constexpr std::wstring_view zeichen = L".kaldorin-", ende = L".tmp";
    if (eintrag.size() < 2 || eintrag.front() != L'~' || !eintrag.ends_with(ende)) return false;
    const auto z = eintrag.rfind(zeichen);
    if (z == std::wstring_view::npos || z < 2) return false;
    const std::wstring_view zahlen = eintrag.substr(z + zeichen.size(),
                                                    eintrag.size() - ende.size() - z - zeichen.size());
    const auto strich = zahlen.find(L'-');
    if (strich == std::wstring_view::npos || strich == 0 || strich + 1 == zahlen.size()) return false;
    for (std::size_t i = 0; i < zahlen.size(); ++i) {
        if (i != strich && (zahlen[i] < L'0' || zahlen[i] > L'9')) return false;
    }
    if (name.empty()) return true;
    const std::wstring_view ziel = eintrag.substr(1, z - 1), gesucht = name.substr(0, kTempNameLaenge);
    return ziel.size() == gesucht.size() &&
           std::equal(ziel.begin(), ziel.end(), gesucht.begin(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

// Deletes the temporary files in `ordner` that killed writes left: of the target
// `name`, or of any when empty. A live writer holds its file open without sharing, so
// the system refuses to delete that one.
void VerwaisteEntfernen(const std::string& ordner, const std::wstring& name) {
    const std::wstring basis = Breit(ordner.ends_with('\\') ? ordner : ordner + "\\");
    WIN32_FIND_DATAW fund{};
    HANDLE suche = FindFirstFileW((basis + L"~*.kaldorin-*.tmp").c_str(), &fund);
    if (suche == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> kandidaten;
    do {
        if (!(fund.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IstTempName(fund.cFileName, name))
            kandidaten.push_back(basis + fund.cFileName);
    } while (FindNextFileW(suche, &fund));
    FindClose(suche);
    for (const std::wstring& k : kandidaten) DeleteFileW(k.c_str());
}

// Whether the target may be replaced: checked before anything is written.
void ZielPruefen(const std::string& pfad) {
    const std::wstring w = Breit(pfad);
    const std::string ordner = OrdnerVon(pfad);
    const DWORD o = GetFileAttributesW(Breit(ordner).c_str());
    if (o == INVALID_FILE_ATTRIBUTES || !(o & FILE_ATTRIBUTE_DIRECTORY))
        NichtSchreibbar(pfad, "Der Ordner " + Anzeige(ordner) + " ist nicht vorhanden.");
    const DWORD a = GetFileAttributesW(w.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return;  // a new file
        NichtSchreibbar(pfad, Grund(code));
    }
    if (a & FILE_ATTRIBUTE_DIRECTORY) NichtSchreibbar(pfad, "Ein Ordner dieses Namens ist vorhanden.");
    if (a & FILE_ATTRIBUTE_READONLY) NichtSchreibbar(pfad, "Die Datei ist schreibgeschützt.");
    // A program file that runs, or a file another program holds, cannot be opened
    // for writing; the move at the end would fail the same way.
    HANDLE h = CreateFileW(w.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) NichtSchreibbar(pfad, Grund(GetLastError()));
    CloseHandle(h);
}

}  // namespace

struct Dateien::Datei {
    HANDLE h = INVALID_HANDLE_VALUE;
    bool schreiben = false;
    bool kaputt = false;  // a write or an unpack failed: never complete this write
    std::uint64_t position = 0;
    std::uint64_t basis = 0;            // where a range read as a file begins
    std::optional<std::uint64_t> teil;  // that range's length
    std::string pfad;
    std::wstring temp;

    ~Datei() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (!temp.empty()) DeleteFileW(temp.c_str());
    }
};

Dateien::Dateien() = default;
Dateien::~Dateien() = default;

Dateien::Datei& Dateien::Finden(int file) {
    const auto it = offen_.find(file);
    if (it == offen_.end()) Fehler("Die Dateinummer " + std::to_string(file) + " ist nicht geöffnet.");
    return *it->second;
}

Dateien::Datei& Dateien::Lesedatei(int file) {
    Datei& d = Finden(file);
    if (d.schreiben) Fehler("Die Dateinummer " + std::to_string(file) + " ist nicht zum Lesen geöffnet.");
    return d;
}

Dateien::Datei& Dateien::Schreibdatei(int file) {
    Datei& d = Finden(file);
    if (!d.schreiben) Fehler("Die Dateinummer " + std::to_string(file) + " ist nicht zum Schreiben geöffnet.");
    return d;
}

int Dateien::OpenRead(const std::string& pfad, std::optional<ByteRange> teil) {
    const std::wstring w = Breit(pfad);
    const DWORD a = GetFileAttributesW(w.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
        DateiFehler("kann nicht gelesen werden", pfad, "Ein Ordner dieses Namens ist vorhanden.");
    auto d = std::make_unique<Datei>();
    d->pfad = pfad;
    d->h = CreateFileW(w.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (d->h == INVALID_HANDLE_VALUE) DateiFehler("kann nicht gelesen werden", pfad, Grund(GetLastError()));
    if (teil) {
        LARGE_INTEGER groesse{};
        if (!GetFileSizeEx(d->h, &groesse)) DateiFehler("kann nicht gelesen werden", pfad, Grund(GetLastError()));
        const auto laenge = static_cast<std::uint64_t>(groesse.QuadPart);
        if (teil->offset > laenge || teil->length > laenge - teil->offset)
            DateiFehler("kann nicht gelesen werden", pfad, "Sie ist kürzer als erwartet.");
        d->basis = teil->offset;
        d->teil = teil->length;
    }
    const int nummer = naechste_++;
    offen_[nummer] = std::move(d);
    return nummer;
}

void VerwaisteTempDateienEntfernen(const std::string& ordner) { VerwaisteEntfernen(ordner, L""); }

int Dateien::OpenWrite(const std::string& pfad) {
    ZielPruefen(pfad);
    const std::string ordner = OrdnerVon(pfad);
    // What an earlier writer of this target left when it was killed.
    VerwaisteEntfernen(ordner, Breit(NameVon(pfad)));
    auto d = std::make_unique<Datei>();
    d->schreiben = true;
    d->pfad = pfad;
    const std::string trenner = ordner.ends_with('\\') ? "" : "\\";
    static unsigned zaehler = 0;
    for (int versuch = 0; versuch < 100 && d->h == INVALID_HANDLE_VALUE; ++versuch) {
        // Opened without sharing: while it is open, no other program can delete it.
        const std::wstring temp =
            Breit(ordner + trenner + "~" + NameVon(pfad).substr(0, kTempNameLaenge) + ".kaldorin-" +
                  std::to_string(GetCurrentProcessId()) + "-" + std::to_string(zaehler++) + ".tmp");
        HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            d->h = h;
            d->temp = temp;
        } else if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            NichtSchreibbar(pfad, Grund(GetLastError()));
        }
    }
    if (d->h == INVALID_HANDLE_VALUE) NichtSchreibbar(pfad, Grund(ERROR_FILE_EXISTS));
    const int nummer = naechste_++;
    offen_[nummer] = std::move(d);
    return nummer;
}

std::uint64_t Dateien::Length(int file) {
    Datei& d = Finden(file);
    if (d.teil) return *d.teil;
    LARGE_INTEGER groesse{};
    if (!GetFileSizeEx(d.h, &groesse)) DateiFehler("kann nicht gelesen werden", d.pfad, Grund(GetLastError()));
    return static_cast<std::uint64_t>(groesse.QuadPart);
}

std::vector<std::uint8_t> Dateien::Read(int file, std::size_t count) {
    Datei& d = Lesedatei(file);
    // Checked before allocating, so a wrong count cannot ask for a huge buffer.
    if (count > Length(file) - std::min(d.position, Length(file)))
        DateiFehler("kann nicht gelesen werden", d.pfad, "Sie ist kürzer als erwartet.");
    std::vector<std::uint8_t> daten(count);
    AllesLesen(d.h, d.basis + d.position, daten, d.pfad);
    d.position += count;
    return daten;
}

void Dateien::Write(int file, std::span<const std::uint8_t> bytes) {
    Datei& d = Schreibdatei(file);
    try {
        AllesSchreiben(d.h, bytes, d.pfad);
    } catch (...) {
        d.kaputt = true;
        throw;
    }
}

void Dateien::Close(int file) {
    Finden(file);
    // Released whatever happens below; the destructor removes a temporary file left.
    const std::unique_ptr<Datei> d = std::move(offen_.at(file));
    offen_.erase(file);
    if (!d->schreiben) return;
    if (d->kaputt) NichtSchreibbar(d->pfad, "Sie wurde nicht vollständig geschrieben.");
    if (!FlushFileBuffers(d->h)) NichtSchreibbar(d->pfad, Grund(GetLastError()));
    CloseHandle(d->h);
    d->h = INVALID_HANDLE_VALUE;
    if (!MoveFileExW(d->temp.c_str(), Breit(d->pfad).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        NichtSchreibbar(d->pfad, Grund(GetLastError()));
    d->temp.clear();
}

void Dateien::Discard(int file) {
    Finden(file);
    offen_.erase(file);  // the destructor closes and removes the temporary file
}

void Dateien::Unpack(int source, std::span<const ByteRange> stream, int target) {
    Datei& q = Lesedatei(source);
    Datei& z = Schreibdatei(target);
    try {
        const std::uint64_t laenge = Length(source);
        for (const ByteRange& b : stream) {
            if (b.offset > laenge || b.length > laenge - b.offset)
                DateiFehler("kann nicht entpackt werden", q.pfad, "Die gepackte Datei ist kürzer als erwartet.");
        }
        // The writes happen on a second thread; it touches nothing but the target.
        EntpackenNebenher(
            stream,
            [&q](std::uint64_t offset, std::span<std::uint8_t> ziel) {
                AllesLesen(q.h, q.basis + offset, ziel, q.pfad);
            },
            [&z](std::span<const std::uint8_t> teil) { AllesSchreiben(z.h, teil, z.pfad); });
    } catch (...) {
        z.kaputt = true;
        throw;
    }
}

}  // namespace kaldorin::w32
