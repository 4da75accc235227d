#include "runtime/host/posix/posix_host.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <utility>

#include "runtime/host/posix/einstellungen.h"
#include "runtime/host/posix/fehler.h"
#include "runtime/host/posix/pfade.h"
#include "runtime/host/posix/suche.h"
#include "runtime/host/posix/systemfakten.h"
#include "runtime/host/posix/verknuepfung.h"

namespace kaldorin {

using namespace posix;

namespace {

constexpr const char* kWindowsOrdner = "C:\\WINDOWS";
constexpr const char* kProgrammeMenue = "C:\\WINDOWS\\Start Menu\\Programs";
// The prefix is the user's own, so its programs folder and its desktop are too.
constexpr const char* kProgramme = "C:\\Programme";
constexpr const char* kDesktop = "C:\\WINDOWS\\Desktop";

// The folders a default installation needs, parents first.
constexpr const char* kGeruest[] = {
    "C:\\WINDOWS",
    "C:\\WINDOWS\\Profiles",
    "C:\\WINDOWS\\Profiles\\All users",
    "C:\\WINDOWS\\Profiles\\All users\\Desktop",
    "C:\\WINDOWS\\Desktop",
    "C:\\WINDOWS\\Start Menu",
    "C:\\WINDOWS\\Start Menu\\Programs",
    "C:\\Programme",
};

bool IstOrdner(const std::string& pfad) {
    struct stat st {};
    return stat(pfad.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void OrdnerAnlegen(const std::string& pfad) {
    if (mkdir(pfad.c_str(), 0777) != 0 && !(errno == EEXIST && IstOrdner(pfad))) {
        SystemFehler("Der Ordner " + pfad + " lässt sich nicht anlegen");
    }
}

// mkdir -p for a normalised absolute host path.
void OrdnerKetteAnlegen(const std::string& pfad) {
    for (std::size_t i = 1; i <= pfad.size(); ++i) {
        if (i == pfad.size() || pfad[i] == '/') OrdnerAnlegen(pfad.substr(0, i));
    }
}

// Built by appending: GCC 12 at -O2 warns falsely (-Wrestrict) about "\"" + std::string.
std::string Anzeige(std::string_view pfad) {
    std::string text;
    text.reserve(pfad.size() + 2);
    text += '"';
    text += pfad;
    text += '"';
    return text;
}

}  // namespace

struct PosixHost::Innen {
    Fakten fakten;
    Pfadabbildung pfade;
    Einstellungen einstellungen;
    Suche suche;
    std::string linkZiel;
    bool bereit = false;
    BundleFolder buendel;

    Innen(Fakten f, const std::string& prefix)
        : fakten(std::move(f)), pfade(prefix), einstellungen(pfade.Prefix() + "/settings.ini") {}

    // Makes the prefix and its Windows skeleton once; a failure is retried next time.
    void Bereit() {
        if (bereit) return;
        OrdnerKetteAnlegen(pfade.LaufwerkC());
        for (const char* ordner : kGeruest) {
            const std::string host = pfade.HostPfad(ordner);
            if (!IstOrdner(host)) OrdnerAnlegen(host);
        }
        bereit = true;
    }

    // Host folder and the name of the entry in it (in its case on disk when it exists).
    std::pair<std::string, std::string> Eintrag(std::string_view pfad, const char* wasFehlt) {
        Bereit();
        const WindowsTeile teile = ZerlegeWindowsPfad(pfad);
        if (teile.teile.empty()) Fehler(std::string(wasFehlt) + " " + Anzeige(pfad) + " ist ein Laufwerk.");
        auto [ordner, name] = pfade.OrdnerUndName(teile);
        if (auto gefunden = FindeEintrag(ordner, name)) name = *gefunden;
        return {ordner, name};
    }
};

PosixHost::PosixHost(Fakten fakten) {
    const std::string prefix = fakten.prefix.empty() ? PrefixAusUmgebung() : Absolut(fakten.prefix);
    innen_ = std::make_unique<Innen>(std::move(fakten), prefix);
}

PosixHost::~PosixHost() = default;

const std::string& PosixHost::Prefix() const { return innen_->pfade.Prefix(); }

// --- Files ---------------------------------------------------------------------------

void PosixHost::CarryBundle(Bundle bundle) {
    const std::string windows = WindowsPath(bundle.hostPath);
    innen_->buendel = BundleFolder(windows, std::move(bundle));
}

bool PosixHost::FileExists(std::string_view path) {
    innen_->Bereit();
    if (innen_->buendel.Member(path)) return true;
    struct stat st {};
    return stat(innen_->pfade.HostPfad(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixHost::FolderExists(std::string_view path) {
    innen_->Bereit();
    try {
        return IstOrdner(innen_->pfade.HostPfad(path));
    } catch (const Laufzeitfehler&) {
        return false;  // a drive or path this host has no place for
    }
}

std::string PosixHost::FindFirst(std::string_view pattern, int attributeClass) {
    innen_->Bereit();
    if (auto name = innen_->buendel.FindFirst(pattern, attributeClass & kOrdner)) {
        innen_->suche.Leeren();
        return *name;
    }
    const WindowsTeile teile = ZerlegeWindowsPfad(pattern);
    // A drive root or a path ending in a separator names no entry.
    if (teile.teile.empty() || teile.trennerAmEnde) {
        innen_->suche.Leeren();
        return "";
    }
    const auto [ordner, muster] = innen_->pfade.OrdnerUndName(teile);
    return innen_->suche.Erste(ordner, muster, attributeClass);
}

std::string PosixHost::FindNext() {
    if (innen_->buendel.FindNext()) return "";
    return innen_->suche.Naechste();
}

int PosixHost::FoundAttributes() {
    if (innen_->buendel.Found()) return kOrdner | kSchreibgeschuetzt;
    return innen_->suche.AttributeDesTreffers();
}

void PosixHost::DeleteFile(std::string_view path) {
    const auto [ordner, name] = innen_->Eintrag(path, "Die Datei");
    const std::string host = Verbinde(ordner, name);
    struct stat st {};
    if (lstat(host.c_str(), &st) != 0) Fehler("Die Datei " + Anzeige(path) + " ist nicht vorhanden.");
    if (S_ISDIR(st.st_mode)) Fehler(Anzeige(path) + " ist ein Ordner und keine Datei.");
    // As on Windows, a read-only file is not deleted until its attribute is cleared.
    if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) {
        Fehler("Die Datei " + Anzeige(path) + " ist schreibgeschützt.");
    }
    if (unlink(host.c_str()) != 0) SystemFehler("Die Datei " + Anzeige(path) + " lässt sich nicht löschen");
}

void PosixHost::ClearAttributes(std::string_view path) {
    const auto [ordner, name] = innen_->Eintrag(path, "Der Pfad");
    const std::string host = Verbinde(ordner, name);
    struct stat st {};
    if (stat(host.c_str(), &st) != 0) Fehler(Anzeige(path) + " ist nicht vorhanden.");
    if ((st.st_mode & S_IWUSR) == 0 && chmod(host.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0) {
        SystemFehler("Die Attribute von " + Anzeige(path) + " lassen sich nicht ändern");
    }
}

void PosixHost::MakeFolder(std::string_view path) {
    const auto [ordner, name] = innen_->Eintrag(path, "Der Ordner");
    if (!IstOrdner(ordner)) {
        Fehler("Der übergeordnete Ordner von " + Anzeige(path) + " ist nicht vorhanden.");
    }
    const std::string host = Verbinde(ordner, name);
    struct stat st {};
    if (lstat(host.c_str(), &st) == 0) Fehler(Anzeige(path) + " existiert bereits.");
    if (mkdir(host.c_str(), 0777) != 0) {
        SystemFehler("Der Ordner " + Anzeige(path) + " lässt sich nicht anlegen");
    }
}

void PosixHost::RemoveFolder(std::string_view path) {
    const auto [ordner, name] = innen_->Eintrag(path, "Der Ordner");
    const std::string host = Verbinde(ordner, name);
    struct stat st {};
    if (lstat(host.c_str(), &st) != 0) Fehler("Der Ordner " + Anzeige(path) + " ist nicht vorhanden.");
    if (!S_ISDIR(st.st_mode)) Fehler(Anzeige(path) + " ist kein Ordner.");
    // Temporary files of writes that died are ours, not the user's: they go with it.
    VerwaisteTempDateienEntfernen(host);
    if (rmdir(host.c_str()) != 0) {
        SystemFehler("Der Ordner " + Anzeige(path) + " lässt sich nicht entfernen");
    }
}

// --- Numbered files ----------------------------------------------------------------------

int PosixHost::OpenRead(std::string_view path) {
    if (const BundleEntry* e = innen_->buendel.Member(path))
        return dateien_.OpenRead(innen_->buendel.HostPath(), ByteRange{e->offset, e->length});
    return dateien_.OpenRead(HostPath(path));
}
int PosixHost::OpenWrite(std::string_view path) { return dateien_.OpenWrite(HostPath(path)); }
std::uint64_t PosixHost::Length(int file) { return dateien_.Length(file); }
std::vector<std::uint8_t> PosixHost::Read(int file, std::size_t count) { return dateien_.Read(file, count); }
void PosixHost::Write(int file, std::span<const std::uint8_t> bytes) { dateien_.Write(file, bytes); }
void PosixHost::Close(int file) { dateien_.Close(file); }
void PosixHost::Discard(int file) { dateien_.Discard(file); }
void PosixHost::Unpack(int source, std::span<const ByteRange> stream, int target) {
    dateien_.Unpack(source, stream, target);
}

// --- Settings ------------------------------------------------------------------------------

std::string PosixHost::ReadText(std::string_view application, std::string_view section,
                                std::string_view key) {
    innen_->Bereit();
    return innen_->einstellungen.Lesen(application, section, key).value_or("");
}

std::int64_t PosixHost::ReadInt(std::string_view application, std::string_view section,
                                std::string_view key, std::int64_t fallback) {
    innen_->Bereit();
    const auto text = innen_->einstellungen.Lesen(application, section, key);
    if (!text) return fallback;
    std::string_view zahl = *text;
    while (!zahl.empty() && zahl.front() == ' ') zahl.remove_prefix(1);
    while (!zahl.empty() && zahl.back() == ' ') zahl.remove_suffix(1);
    if (!zahl.empty() && zahl.front() == '+') zahl.remove_prefix(1);
    std::int64_t wert = 0;
    const auto [ende, fehler] = std::from_chars(zahl.data(), zahl.data() + zahl.size(), wert);
    if (zahl.empty() || fehler != std::errc{} || ende != zahl.data() + zahl.size()) return fallback;
    return wert;
}

void PosixHost::WriteText(std::string_view application, std::string_view section,
                          std::string_view key, std::string_view value) {
    innen_->Bereit();
    // What the settings record (an installed folder) is on the disk before the record.
    dateien_.OrdnerSichern();
    innen_->einstellungen.Schreiben(application, section, key, value);
}

void PosixHost::WriteInt(std::string_view application, std::string_view section,
                         std::string_view key, std::int64_t value) {
    WriteText(application, section, key, std::to_string(value));
}

void PosixHost::DeleteKey(std::string_view application, std::string_view section,
                          std::string_view key) {
    innen_->Bereit();
    innen_->einstellungen.LoescheSchluessel(application, section, key);
}

void PosixHost::DeleteSection(std::string_view application, std::string_view section) {
    innen_->Bereit();
    innen_->einstellungen.LoescheAbschnitt(application, section);
}

void PosixHost::DeleteApplication(std::string_view application) {
    innen_->Bereit();
    innen_->einstellungen.LoescheAnwendung(application);
}

void PosixHost::WriteDword(std::string_view application, std::string_view section,
                           std::string_view key, std::uint32_t value) {
    WriteText(application, section, key, std::to_string(value));
}

void PosixHost::DeleteSectionTree(std::string_view application, std::string_view section) {
    innen_->Bereit();
    innen_->einstellungen.LoescheBaum(application, section);
}

// --- System --------------------------------------------------------------------------------

std::string PosixHost::ProgramFolder() {
    const std::string& eigen = innen_->fakten.setupdir;
    if (eigen.empty() && innen_->buendel.Present()) return innen_->buendel.WindowsPath();
    return WindowsPath(eigen.empty() ? ProgrammOrdner() : Absolut(eigen));
}

std::string PosixHost::WindowsFolder() {
    innen_->Bereit();
    return kWindowsOrdner;
}

std::string PosixHost::ProgramsFolder() {
    innen_->Bereit();
    return kProgrammeMenue;
}

std::string PosixHost::UserProgramFilesFolder() {
    innen_->Bereit();
    const std::string host = innen_->pfade.HostPfad(kProgramme);
    if (!IstOrdner(host)) OrdnerAnlegen(host);
    return kProgramme;
}

std::string PosixHost::UserDesktopFolder() {
    innen_->Bereit();
    return kDesktop;
}

void PosixHost::SetLinkTarget(std::string_view target) { innen_->linkZiel = target; }

void PosixHost::CreateLink(std::string_view path) {
    if (innen_->linkZiel.empty()) Fehler("Für die Verknüpfung ist kein Ziel gesetzt.");
    LinkZiel ziel{LinkPfad(innen_->linkZiel)};
    const auto [ordner, name] = innen_->Eintrag(path, "Die Verknüpfung");
    if (!IstOrdner(ordner)) {
        Fehler("Der Ordner für die Verknüpfung " + Anzeige(path) + " ist nicht vorhanden.");
    }
    const std::string host = Verbinde(ordner, name);
    struct stat st {};
    if (stat(host.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) Fehler(Anzeige(path) + " ist ein Ordner.");
        if ((st.st_mode & S_IWUSR) == 0) Fehler("Die Datei " + Anzeige(path) + " ist schreibgeschützt.");
    }
    // What the target is, when it is on a drive this host can see; it need not exist.
    try {
        struct stat z {};
        if (stat(innen_->pfade.HostPfad(ziel.pfad).c_str(), &z) == 0) {
            ziel.attribute = S_ISDIR(z.st_mode) ? 0x10 : 0x20;
            ziel.groesse = S_ISDIR(z.st_mode) ? 0 : static_cast<std::uint32_t>(z.st_size);
        }
    } catch (const Laufzeitfehler&) {
    }
    SchreibeDateiAtomar(host, LinkBytes(ziel));
}

std::int32_t PosixHost::VersionWord() { return innen_->fakten.nt.value_or(true) ? kVersionNt : kVersion9x; }

std::uint32_t PosixHost::ProcessorSignature() { return innen_->fakten.cpu.value_or(CpuSignatur()); }

std::string PosixHost::BuildText() { return BauDatum(); }

std::string PosixHost::LocalDate() { return HeutigesDatum(); }

std::string PosixHost::WindowsPath(std::string_view hostPath) { return innen_->pfade.WindowsPfad(hostPath); }

std::string PosixHost::HostPath(std::string_view windowsPath) {
    innen_->Bereit();
    return innen_->pfade.HostPfad(windowsPath);
}

}  // namespace kaldorin
