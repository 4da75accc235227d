// Windows paths mapped onto the prefix. Whatever the program is given as a path:
// - it maps or throws Laufzeitfehler;
// - a "C:" path never leaves the prefix: its host path is <prefix>/drive_c or below it,
//   one plain name per component, none of them "", "." or "..";
// - the host path maps back to a "C:" path with as many components.

#include <filesystem>

#include "runtime/host/posix/pfade.h"
#include "runtime/runtime.h"
#include "tests/fuzz/fuzz.h"

using kaldorin::Laufzeitfehler;
using kaldorin::posix::Pfadabbildung;
using kaldorin::posix::ZerlegeWindowsPfad;
using namespace kaldorin::fuzz;

namespace {

// A prefix with a few folders, so that components resolve against what exists.
const Pfadabbildung& Abbildung() {
    static const Pfadabbildung abbildung = [] {
        const std::string prefix = Arbeitsordner() + "/prefix";
        for (const char* ordner : {"Programme/KALDORIN/Bilder", "WINDOWS/Desktop", "Straße"})
            std::filesystem::create_directories(prefix + "/drive_c/" + ordner);
        return Pfadabbildung(prefix);
    }();
    return abbildung;
}

void BleibtImPrefix(const std::string& windowsPfad) {
    const Pfadabbildung& abbildung = Abbildung();
    std::size_t anzahl = 0;
    std::string host;
    try {
        const auto teile = ZerlegeWindowsPfad(windowsPfad);
        if (teile.laufwerk != 'C') return;
        anzahl = teile.teile.size();
        host = abbildung.HostPfad(teile);
    } catch (const Laufzeitfehler&) {
        return;
    }
    const std::string wurzel = abbildung.LaufwerkC();
    PRUEFE(host.compare(0, wurzel.size(), wurzel) == 0);
    std::size_t gezaehlt = 0;
    for (std::size_t pos = wurzel.size(), ende; pos < host.size(); pos = ende, ++gezaehlt) {
        PRUEFE(host[pos] == '/');
        ende = std::min(host.find('/', pos + 1), host.size());
        const std::string teil = host.substr(pos + 1, ende - pos - 1);
        PRUEFE(!teil.empty() && teil != "." && teil != "..");
    }
    PRUEFE(gezaehlt == anzahl);

    const std::string zurueck = abbildung.WindowsPfad(host);
    PRUEFE(zurueck.compare(0, 2, "C:") == 0);
    PRUEFE(ZerlegeWindowsPfad(zurueck).teile.size() == anzahl);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string pfad = Text(daten, groesse);
    BleibtImPrefix(pfad);
    BleibtImPrefix("C:\\" + pfad);  // every input once as a path on drive C
    return 0;
}
