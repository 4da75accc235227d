#include "runtime/host/win32/dateien_w32.h"

#include "runtime/host/win32/windows_w32.h"

#include <algorithm>

#include "runtime/entpacken.h"
#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/fehler_w32.h"

namespace kaldorin::w32 {

namespace {

constexpr std::size_t kLesePuffer = std::size_t{1} << 20;

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

int Dateien::OpenRead(const std::string& pfad) {
    const std::wstring w = Breit(pfad);
    const DWORD a = GetFileAttributesW(w.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
        DateiFehler("kann nicht gelesen werden", pfad, "Ein Ordner dieses Namens ist vorhanden.");
    auto d = std::make_unique<Datei>();
    d->pfad = pfad;
    d->h = CreateFileW(w.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (d->h == INVALID_HANDLE_VALUE) DateiFehler("kann nicht gelesen werden", pfad, Grund(GetLastError()));
    const int nummer = naechste_++;
    offen_[nummer] = std::move(d);
    return nummer;
}

int Dateien::OpenWrite(const std::string& pfad) {
    ZielPruefen(pfad);
    auto d = std::make_unique<Datei>();
    d->schreiben = true;
    d->pfad = pfad;
    const std::string ordner = OrdnerVon(pfad);
    const std::string trenner = ordner.ends_with('\\') ? "" : "\\";
    static unsigned zaehler = 0;
    for (int versuch = 0; versuch < 100 && d->h == INVALID_HANDLE_VALUE; ++versuch) {
        const std::wstring temp =
            Breit(ordner + trenner + "~" + NameVon(pfad).substr(0, 150) + ".kaldorin-" +
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
    AllesLesen(d.h, d.position, daten, d.pfad);
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
        std::uint64_t gesamt = 0;
        for (const ByteRange& b : stream) {
            if (b.offset > laenge || b.length > laenge - b.offset)
                DateiFehler("kann nicht entpackt werden", q.pfad, "Die gepackte Datei ist kürzer als erwartet.");
            gesamt += b.length;
        }
        LaengePruefen(gesamt);
        Entpacker entpacker([&z](std::span<const std::uint8_t> teil) { AllesSchreiben(z.h, teil, z.pfad); });
        std::vector<std::uint8_t> puffer(kLesePuffer);
        for (const ByteRange& b : stream) {
            for (std::uint64_t gelesen = 0; gelesen < b.length;) {
                const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(puffer.size(), b.length - gelesen));
                const std::span<std::uint8_t> stueck(puffer.data(), n);
                AllesLesen(q.h, b.offset + gelesen, stueck, q.pfad);
                entpacker.Weiter(stueck);
                gelesen += n;
            }
        }
        entpacker.Abschliessen();
    } catch (...) {
        z.kaputt = true;
        throw;
    }
}

}  // namespace kaldorin::w32
