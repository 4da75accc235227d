// The payload of a setup program that carries its medium. Whatever bytes stand behind
// the program, with a hash that matches them (so the fuzzer gets past the checksum):
// - the check accepts them or throws Laufzeitfehler, nothing else;
// - what it accepts lies inside the payload, without overlaps, before the hash, under
//   names that are unique without regard to case and hold no path separator;
// - the program's path names each of those files and no other name of the table.
#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

#include "runtime/bundle.h"
#include "runtime/sha256.h"
#include "tests/fuzz/fuzz.h"

using namespace kaldorin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    constexpr std::uint64_t kProgramm = 100;  // the program before the payload
    std::vector<std::uint8_t> datei(kProgramm, 0x90);
    datei.insert(datei.end(), daten, daten + groesse);
    const auto hash = MakeSha256();
    hash->Update(std::span(daten, groesse));
    const auto summe = hash->Finish();
    datei.insert(datei.end(), summe.begin(), summe.end());
    const ByteRange nutzlast{kProgramm, groesse + kBundleHashSize};
    const auto lesen = [&](std::uint64_t offset, std::span<std::uint8_t> ziel) {
        PRUEFE(offset <= datei.size() && ziel.size() <= datei.size() - offset);
        std::copy_n(datei.begin() + static_cast<long>(offset), ziel.size(), ziel.begin());
    };
    std::vector<BundleEntry> eintraege;
    try {
        eintraege = CheckBundle(datei.size(), nutzlast, lesen, *MakeSha256());
    } catch (const Laufzeitfehler&) {
        return 0;
    }
    std::uint64_t ende = kProgramm;
    std::set<std::string> namen;
    Bundle b{"/x", eintraege};
    const BundleFolder ordner("Z:\\x", b);
    for (const BundleEntry& e : eintraege) {
        PRUEFE(e.offset >= ende && e.offset <= datei.size() - kBundleHashSize &&
               e.length <= datei.size() - kBundleHashSize - e.offset);
        ende = e.offset + e.length;
        PRUEFE(!e.name.empty() && e.name.find_first_of("\\/") == std::string::npos);
        std::string klein = e.name;
        for (char& c : klein) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        PRUEFE(namen.insert(klein).second);
        const BundleEntry* m = ordner.Member("Z:\\x\\" + e.name);
        PRUEFE(m != nullptr && m->offset == e.offset);
    }
    PRUEFE(ordner.Member("Z:\\x\\") == nullptr && ordner.IsFolder("Z:\\X\\"));
    return 0;
}
