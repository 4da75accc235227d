#include <algorithm>
#include <cstdint>

#include "install/installation.h"
#include "runtime/strings.h"

namespace kaldorin {

namespace {

// The maker as the licence agreement names it.
constexpr const char* kHersteller = "Vorkwerk-Gruppe";

// The size of the files of both lists as they lie in the installation folder, in KiB
// (rounded up). A file that is not there or cannot be read counts nothing: the list
// of installed programs only shows an estimate.
std::uint32_t Groesse_KiB(Programm& p) {
    Host& host = p.host();
    std::uint64_t bytes = 0;
    auto zaehlen = [&](const std::string& ziel) {
        try {
            const std::string pfad = p.Ziel_Ordner + ziel;
            if (!host.FileExists(pfad)) return;
            const int datei = host.OpenRead(pfad);
            try {
                bytes += host.Length(datei);
            } catch (const Laufzeitfehler&) {
            }
            host.Close(datei);
        } catch (const Laufzeitfehler&) {
        }
    };
    for (const auto& ziel : Hauptliste_Ziele) zaehlen(ziel);
    for (const auto& datei : Zusatzliste) zaehlen(datei.ziel);
    return static_cast<std::uint32_t>(std::min<std::uint64_t>((bytes + 1023) / 1024, UINT32_MAX));
}

}  // namespace

void Programmeintrag_Schreiben(Programm& p) {
    Host& host = p.host();
    const auto text = [&](const char* name, const std::string& wert) {
        host.WriteText(Programmeintrag_Anwendung, Programmeintrag_Abschnitt, name, wert);
    };
    const auto zahl = [&](const char* name, std::uint32_t wert) {
        host.WriteDword(Programmeintrag_Anwendung, Programmeintrag_Abschnitt, name, wert);
    };
    const std::string setup = "\"" + p.Ziel_Ordner + "\\Setup.Exe\"";
    text("DisplayVersion", NumberText(p.Version_Haupt) + "." + PaddedNumber(p.Version_Neben, 2));
    text("Publisher", kHersteller);
    text("InstallLocation", p.Ziel_Ordner);
    text("DisplayIcon", p.Ziel_Ordner + "\\KALDORIN_Edit.EXE,0");
    text("UninstallString", setup);
    text("QuietUninstallString", setup + " --unattended --remove");
    zahl("EstimatedSize", Groesse_KiB(p));
    text("InstallDate", host.LocalDate());
    zahl("NoModify", 1);
    zahl("NoRepair", 1);
    text("DisplayName", "KALDORIN-Edit");
}

}  // namespace kaldorin
