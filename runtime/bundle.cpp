#include "runtime/bundle.h"

#include <algorithm>
#include <cctype>

#include "runtime/entpacken.h"
#include "runtime/sha256.h"

namespace kaldorin {

namespace {

constexpr std::size_t kStueck = std::size_t{1} << 20;
constexpr std::size_t kKopf = 8 + 4;          // mark, number of entries
constexpr std::size_t kEintragFest = 2 + 8 + 8;  // name length, offset, length

std::uint64_t Zahl(const std::uint8_t* p, int bytes) {
    std::uint64_t wert = 0;
    for (int i = bytes - 1; i >= 0; --i) wert = wert << 8 | p[i];
    return wert;
}

void Anhaengen(std::vector<std::uint8_t>& ziel, std::uint64_t wert, int bytes) {
    for (int i = 0; i < bytes; ++i) ziel.push_back(static_cast<std::uint8_t>(wert >> (8 * i)));
}

[[noreturn]] void Beschaedigt(const std::string& grund) {
    throw Laufzeitfehler("Das Setup-Programm ist beschädigt: " + grund +
                         " Bitte laden Sie es noch einmal herunter.");
}

std::string Klein(std::string_view text) {
    std::string klein(text);
    for (char& c : klein) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return klein;
}

// Reads the table of contents from `daten` (the payload's first bytes, at most the
// payload without its hash) and checks it against `laenge`, the payload's length
// without the hash.
std::vector<BundleEntry> Inhalt(std::span<const std::uint8_t> daten, std::uint64_t laenge) {
    if (daten.size() < kKopf || !std::equal(kBundleMark.begin(), kBundleMark.end(), daten.begin()))
        Beschaedigt("Sein Inhaltsverzeichnis fehlt.");
    const std::uint64_t anzahl = Zahl(daten.data() + 8, 4);
    if (anzahl > kBundleMaxEntries) Beschaedigt("Sein Inhaltsverzeichnis ist unlesbar.");
    std::vector<BundleEntry> eintraege;
    std::vector<std::string> namen;
    std::size_t pos = kKopf;
    for (std::uint64_t i = 0; i < anzahl; ++i) {
        if (daten.size() - pos < 2) Beschaedigt("Sein Inhaltsverzeichnis ist unvollständig.");
        const std::size_t n = static_cast<std::size_t>(Zahl(daten.data() + pos, 2));
        if (n == 0 || n > kBundleMaxName || daten.size() - pos < kEintragFest + n)
            Beschaedigt("Sein Inhaltsverzeichnis ist unvollständig.");
        BundleEntry e;
        e.name.assign(reinterpret_cast<const char*>(daten.data() + pos + 2), n);
        e.offset = Zahl(daten.data() + pos + 2 + n, 8);
        e.length = Zahl(daten.data() + pos + 2 + n + 8, 8);
        pos += kEintragFest + n;
        if (!IsBundleName(e.name))
            Beschaedigt("Sein Inhaltsverzeichnis nennt einen ungültigen Namen.");
        namen.push_back(Klein(e.name));
        eintraege.push_back(std::move(e));
    }
    // The files follow the table without gaps, in its order, up to the hash.
    std::uint64_t naechste = pos;
    for (const BundleEntry& e : eintraege) {
        if (e.offset != naechste || e.length > laenge || e.offset > laenge - e.length)
            Beschaedigt("Eine Datei liegt nicht, wo sein Inhaltsverzeichnis sie nennt.");
        naechste = e.offset + e.length;
    }
    if (naechste != laenge)
        Beschaedigt("Sein Inhaltsverzeichnis passt nicht zu seiner Länge.");
    std::sort(namen.begin(), namen.end());
    if (std::adjacent_find(namen.begin(), namen.end()) != namen.end())
        Beschaedigt("Sein Inhaltsverzeichnis nennt eine Datei zweimal.");
    return eintraege;
}

bool GleichOhneFall(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::optional<ByteRange> ReadBundleLocator(std::span<const std::uint8_t, kBundleLocatorSize> locator) {
    const ByteRange ort{Zahl(locator.data() + 16, 8), Zahl(locator.data() + 24, 8)};
    if (ort.offset == 0 && ort.length == 0) return std::nullopt;
    return ort;
}

bool IsBundleName(std::string_view name) {
    return !name.empty() && name.size() <= kBundleMaxName &&
           name.find_first_of(std::string_view("\\/:\0", 4)) == std::string_view::npos;
}

std::vector<std::uint8_t> MakeBundleContents(std::vector<BundleEntry>& entries) {
    std::vector<std::uint8_t> t(kBundleMark.begin(), kBundleMark.end());
    Anhaengen(t, entries.size(), 4);
    std::uint64_t groesse = kKopf;
    for (const BundleEntry& e : entries) groesse += kEintragFest + e.name.size();
    for (BundleEntry& e : entries) {
        e.offset = groesse;
        groesse += e.length;
        Anhaengen(t, e.name.size(), 2);
        t.insert(t.end(), e.name.begin(), e.name.end());
        Anhaengen(t, e.offset, 8);
        Anhaengen(t, e.length, 8);
    }
    return t;
}

std::vector<BundleEntry> CheckBundle(std::uint64_t fileLength, ByteRange payload, const BundleReader& read,
                                     Sha256& hash) {
    if (payload.offset > fileLength || payload.length > fileLength - payload.offset)
        Beschaedigt("Es ist kürzer, als es sein müsste; vermutlich wurde es nicht vollständig geladen.");
    if (payload.length < kKopf + kBundleHashSize) Beschaedigt("Sein Inhaltsverzeichnis fehlt.");
    const std::uint64_t laenge = payload.length - kBundleHashSize;
    Puffer puffer(static_cast<std::size_t>(std::min<std::uint64_t>(kStueck, laenge)));
    std::vector<std::uint8_t> anfang;  // the first piece holds the table of contents
    for (std::uint64_t pos = 0; pos < laenge;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kStueck, laenge - pos));
        const std::span<std::uint8_t> teil(puffer.data(), n);
        read(payload.offset + pos, teil);
        hash.Update(teil);
        if (pos == 0) anfang.assign(teil.begin(), teil.end());
        pos += n;
    }
    std::array<std::uint8_t, kBundleHashSize> erwartet{};
    read(payload.offset + laenge, erwartet);
    if (hash.Finish() != erwartet) Beschaedigt("Seine Prüfsumme stimmt nicht.");
    // A table larger than the first piece cannot hold kBundleMaxEntries names.
    std::vector<BundleEntry> eintraege = Inhalt(anfang, laenge);
    for (BundleEntry& e : eintraege) e.offset += payload.offset;
    return eintraege;
}

BundleFolder::BundleFolder(std::string windowsPath, Bundle bundle)
    : windowsPath_(std::move(windowsPath)), bundle_(std::move(bundle)) {}

bool BundleFolder::IsFolder(std::string_view path) const {
    if (!Present()) return false;
    if (path.ends_with('\\')) path.remove_suffix(1);
    return GleichOhneFall(path, windowsPath_);
}

std::optional<std::string> BundleFolder::FindFirst(std::string_view pattern, bool folders) {
    found_ = folders && IsFolder(pattern);
    if (!found_) return std::nullopt;
    return windowsPath_.substr(windowsPath_.find_last_of('\\') + 1);
}

const BundleEntry* BundleFolder::Member(std::string_view path) const {
    if (!Present() || path.size() <= windowsPath_.size() + 1 || path[windowsPath_.size()] != '\\' ||
        !GleichOhneFall(path.substr(0, windowsPath_.size()), windowsPath_))
        return nullptr;
    // "<program>\\name" as well: what a source typed with a backslash at its end gives.
    std::string_view name = path.substr(windowsPath_.size() + 1);
    while (name.starts_with('\\')) name.remove_prefix(1);
    for (const BundleEntry& e : bundle_.entries) {
        if (GleichOhneFall(e.name, name)) return &e;
    }
    return nullptr;
}

}  // namespace kaldorin
