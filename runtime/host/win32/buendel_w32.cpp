// The check of the medium a program carries, on Windows: SHA-256 from the system's
// BCrypt, the payload read in pieces, nothing written.
#include "runtime/host/win32/windows_w32.h"
#include <bcrypt.h>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/fehler_w32.h"
#include "runtime/host/win32/systemfakten_w32.h"
#include "runtime/host/win32/win32_host.h"
#include "runtime/sha256.h"

namespace kaldorin {

using namespace w32;

namespace {

// bcrypt.dll is not among the DLLs the program imports (only the system's known
// ones): it is loaded from System32 alone, when a payload is checked.
struct BCrypt {
    decltype(&BCryptOpenAlgorithmProvider) oeffnen = nullptr;
    decltype(&BCryptCreateHash) anlegen = nullptr;
    decltype(&BCryptHashData) hashen = nullptr;
    decltype(&BCryptFinishHash) abschliessen = nullptr;
    decltype(&BCryptDestroyHash) zerstoeren = nullptr;
    BCRYPT_ALG_HANDLE algorithmus = nullptr;

    BCrypt() {
        HMODULE dll = LoadLibraryExW(L"bcrypt.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (dll == nullptr) SystemFehler("Die Prüfsumme lässt sich nicht berechnen (bcrypt.dll)");
        Holen(dll, "BCryptOpenAlgorithmProvider", oeffnen);
        Holen(dll, "BCryptCreateHash", anlegen);
        Holen(dll, "BCryptHashData", hashen);
        Holen(dll, "BCryptFinishHash", abschliessen);
        Holen(dll, "BCryptDestroyHash", zerstoeren);
        if (oeffnen(&algorithmus, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0)
            Fehler("Die Prüfsumme lässt sich nicht berechnen: Windows bietet kein SHA-256.");
    }
    template <class F>
    static void Holen(HMODULE dll, const char* name, F& f) {
        f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
        if (f == nullptr) Fehler(std::string("Die Prüfsumme lässt sich nicht berechnen: bcrypt.dll ohne ") + name + ".");
    }
    static BCrypt& Eins() {
        static BCrypt b;  // kept to the end of the process, like the DLL
        return b;
    }
};

class BCryptSha256 : public Sha256 {
public:
    BCryptSha256() : b_(BCrypt::Eins()) { Neu(); }
    ~BCryptSha256() override {
        if (hash_) b_.zerstoeren(hash_);
    }
    void Update(std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const ULONG n = static_cast<ULONG>(std::min<std::size_t>(bytes.size(), 1u << 30));
            if (b_.hashen(hash_, const_cast<PUCHAR>(bytes.data()), n, 0) != 0)
                Fehler("Die Prüfsumme lässt sich nicht berechnen.");
            bytes = bytes.subspan(n);
        }
    }
    std::array<std::uint8_t, 32> Finish() override {
        std::array<std::uint8_t, 32> digest{};
        if (b_.abschliessen(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0) != 0)
            Fehler("Die Prüfsumme lässt sich nicht berechnen.");
        b_.zerstoeren(hash_);
        hash_ = nullptr;
        Neu();
        return digest;
    }

private:
    void Neu() {
        if (b_.anlegen(b_.algorithmus, &hash_, nullptr, 0, nullptr, 0, 0) != 0)
            Fehler("Die Prüfsumme lässt sich nicht berechnen.");
    }
    BCrypt& b_;
    BCRYPT_HASH_HANDLE hash_ = nullptr;
};

struct Griff {
    HANDLE h;
    ~Griff() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

[[noreturn]] void Unlesbar(const std::string& pfad, DWORD code) {
    Fehler("Das Setup-Programm " + Anzeige(pfad) + " kann sich selbst nicht lesen: " + Grund(code));
}

}  // namespace

std::unique_ptr<Sha256> MakeSha256() { return std::make_unique<BCryptSha256>(); }

std::optional<Bundle> CheckBundleFile(const std::string& pfad, std::span<const std::uint8_t, kBundleLocatorSize> locator) {
    const std::optional<ByteRange> ort = ReadBundleLocator(locator);
    if (!ort) return std::nullopt;
    const Griff d{CreateFileW(Breit(pfad).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
    LARGE_INTEGER groesse{};
    if (d.h == INVALID_HANDLE_VALUE || !GetFileSizeEx(d.h, &groesse)) Unlesbar(pfad, GetLastError());
    Bundle b;
    b.hostPath = pfad;
    b.entries = CheckBundle(
        static_cast<std::uint64_t>(groesse.QuadPart), *ort,
        [&](std::uint64_t offset, std::span<std::uint8_t> ziel) {
            while (!ziel.empty()) {
                OVERLAPPED stelle{};
                stelle.Offset = static_cast<DWORD>(offset);
                stelle.OffsetHigh = static_cast<DWORD>(offset >> 32);
                DWORD n = 0;
                if (!ReadFile(d.h, ziel.data(), static_cast<DWORD>(std::min<std::size_t>(ziel.size(), 1u << 30)), &n,
                              &stelle))
                    Unlesbar(pfad, GetLastError());
                if (n == 0) Unlesbar(pfad, ERROR_HANDLE_EOF);
                ziel = ziel.subspan(n);
                offset += n;
            }
        },
        *MakeSha256());
    return b;
}

std::optional<Bundle> CheckOwnBundle(std::span<const std::uint8_t, kBundleLocatorSize> locator) {
    if (!ReadBundleLocator(locator)) return std::nullopt;
    return CheckBundleFile(Schmal(ProgrammDatei()), locator);
}

}  // namespace kaldorin
