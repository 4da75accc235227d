#include "runtime/host/win32/win32_host.h"

#include "runtime/host/win32/windows_w32.h"
#include <shlobj.h>

#include <charconv>
#include <utility>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/dateien_w32.h"
#include "runtime/host/win32/eigene_datei_w32.h"
#include "runtime/host/win32/fehler_w32.h"
#include "runtime/host/win32/registry_w32.h"
#include "runtime/host/win32/suche_w32.h"
#include "runtime/host/win32/systemfakten_w32.h"
#include "runtime/host/win32/verknuepfung_w32.h"

namespace kaldorin {

using namespace w32;

struct Win32Host::Innen {
    Fakten fakten;
    Dateien dateien;
    Suche suche;
    std::string linkZiel;
    BundleFolder buendel;
};

Win32Host::Win32Host(Fakten fakten) : innen_(std::make_unique<Innen>()) { innen_->fakten = std::move(fakten); }

Win32Host::~Win32Host() = default;

namespace {

std::string P(std::string_view pfad) { return std::string(pfad); }

// Attributes of a path; nothing when it does not exist.
std::optional<DWORD> Attribute(std::string_view pfad) {
    const DWORD a = GetFileAttributesW(Breit(pfad).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return a;
}

}  // namespace

// --- Files ---------------------------------------------------------------------------

void Win32Host::CarryBundle(Bundle bundle) {
    std::string pfad = bundle.hostPath;
    innen_->buendel = BundleFolder(std::move(pfad), std::move(bundle));
}

bool Win32Host::FileExists(std::string_view path) {
    if (innen_->buendel.Member(path)) return true;
    const auto a = Attribute(path);
    return a && !(*a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Host::FolderExists(std::string_view path) {
    // "C:" alone names the current folder of drive C; the root is meant.
    const bool laufwerk = path.size() == 2 && path[1] == ':';
    const auto a = Attribute(laufwerk ? std::string(path) + "\\" : std::string(path));
    return a && (*a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32Host::FindFirst(std::string_view pattern, int attributeClass) {
    if (auto name = innen_->buendel.FindFirst(pattern, attributeClass & FILE_ATTRIBUTE_DIRECTORY)) return *name;
    return innen_->suche.Erste(P(pattern), attributeClass);
}

std::string Win32Host::FindNext() {
    if (innen_->buendel.FindNext()) return "";
    return innen_->suche.Naechste();
}

int Win32Host::FoundAttributes() {
    if (innen_->buendel.Found()) return FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY;
    return innen_->suche.AttributeDesTreffers();
}

void Win32Host::DeleteFile(std::string_view path) {
    const auto a = Attribute(path);
    if (!a) Fehler("Die Datei " + Anzeige(P(path)) + " ist nicht vorhanden.");
    if (*a & FILE_ATTRIBUTE_DIRECTORY) Fehler(Anzeige(P(path)) + " ist ein Ordner und keine Datei.");
    const std::wstring pfad = Breit(path);
    if (DeleteFileW(pfad.c_str())) return;
    const DWORD fehler = GetLastError();
    if (fehler != ERROR_FILE_NOT_FOUND && IstEigeneDatei(pfad)) return EigeneDateiWegraeumen(pfad);
    SystemFehler("Die Datei " + Anzeige(P(path)) + " lässt sich nicht löschen", fehler);
}

void Win32Host::ClearAttributes(std::string_view path) {
    const auto a = Attribute(path);
    if (!a) Fehler(Anzeige(P(path)) + " ist nicht vorhanden.");
    const DWORD ohne = *a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if (ohne == *a) return;
    if (!SetFileAttributesW(Breit(path).c_str(), ohne == 0 ? FILE_ATTRIBUTE_NORMAL : ohne))
        SystemFehler("Die Attribute von " + Anzeige(P(path)) + " lassen sich nicht ändern");
}

void Win32Host::MakeFolder(std::string_view path) {
    if (!CreateDirectoryW(Breit(path).c_str(), nullptr))
        SystemFehler("Der Ordner " + Anzeige(P(path)) + " lässt sich nicht anlegen");
}

void Win32Host::RemoveFolder(std::string_view path) {
    const auto a = Attribute(path);
    if (!a) Fehler("Der Ordner " + Anzeige(P(path)) + " ist nicht vorhanden.");
    if (!(*a & FILE_ATTRIBUTE_DIRECTORY)) Fehler(Anzeige(P(path)) + " ist kein Ordner.");
    // Temporary files of writes that died are ours, not the user's: they go with it.
    VerwaisteTempDateienEntfernen(P(path));
    OrdnerVerlassen(Breit(path));
    if (!RemoveDirectoryW(Breit(path).c_str()))
        SystemFehler("Der Ordner " + Anzeige(P(path)) + " lässt sich nicht entfernen");
}

int Win32Host::OpenRead(std::string_view path) {
    if (const BundleEntry* e = innen_->buendel.Member(path))
        return innen_->dateien.OpenRead(innen_->buendel.HostPath(), ByteRange{e->offset, e->length});
    return innen_->dateien.OpenRead(P(path));
}
int Win32Host::OpenWrite(std::string_view path) { return innen_->dateien.OpenWrite(P(path)); }
std::uint64_t Win32Host::Length(int file) { return innen_->dateien.Length(file); }
std::vector<std::uint8_t> Win32Host::Read(int file, std::size_t count) { return innen_->dateien.Read(file, count); }
void Win32Host::Write(int file, std::span<const std::uint8_t> bytes) { innen_->dateien.Write(file, bytes); }
void Win32Host::Close(int file) { innen_->dateien.Close(file); }
void Win32Host::Discard(int file) { innen_->dateien.Discard(file); }
void Win32Host::Unpack(int source, std::span<const ByteRange> stream, int target) {
    innen_->dateien.Unpack(source, stream, target);
}

// --- Settings ------------------------------------------------------------------------

std::string Win32Host::ReadText(std::string_view application, std::string_view section, std::string_view key) {
    return RegistryLesen(application, section, key).value_or("");
}

std::int64_t Win32Host::ReadInt(std::string_view application, std::string_view section, std::string_view key,
                                std::int64_t fallback) {
    const auto text = RegistryLesen(application, section, key);
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

void Win32Host::WriteText(std::string_view application, std::string_view section, std::string_view key,
                          std::string_view value) {
    RegistrySchreiben(application, section, key, value);
}

void Win32Host::WriteInt(std::string_view application, std::string_view section, std::string_view key,
                         std::int64_t value) {
    RegistrySchreiben(application, section, key, std::to_string(value));
}

void Win32Host::DeleteKey(std::string_view application, std::string_view section, std::string_view key) {
    RegistryWertLoeschen(application, section, key);
}

void Win32Host::DeleteSection(std::string_view application, std::string_view section) {
    RegistryAbschnittLoeschen(application, section);
}

void Win32Host::DeleteApplication(std::string_view application) { RegistryAnwendungLoeschen(application); }

void Win32Host::WriteDword(std::string_view application, std::string_view section, std::string_view key,
                           std::uint32_t value) {
    RegistryZahlSchreiben(application, section, key, value);
}

void Win32Host::DeleteSectionTree(std::string_view application, std::string_view section) {
    RegistryAbschnittLoeschen(application, section, true);
}

// --- System --------------------------------------------------------------------------

std::string Win32Host::ProgramFolder() {
    if (innen_->fakten.setupdir.empty() && innen_->buendel.Present()) return innen_->buendel.WindowsPath();
    std::string ordner = innen_->fakten.setupdir.empty() ? ProgrammOrdner() : innen_->fakten.setupdir;
    if (ordner.starts_with('/')) ordner = WindowsPath(ordner);
    while (ordner.size() > 3 && ordner.back() == '\\') ordner.pop_back();
    return ordner;
}

std::string Win32Host::WindowsFolder() { return WindowsOrdner(); }

std::string Win32Host::ProgramsFolder() { return ProgrammeOrdner(); }

std::string Win32Host::UserProgramFilesFolder() { return EigenerProgrammOrdner(); }

std::string Win32Host::UserDesktopFolder() { return EigenerDesktop(); }

void Win32Host::SetLinkTarget(std::string_view target) { innen_->linkZiel = target; }

void Win32Host::CreateLink(std::string_view path) {
    if (innen_->linkZiel.empty()) Fehler("Für die Verknüpfung ist kein Ziel gesetzt.");
    VerknuepfungSchreiben(P(path), innen_->linkZiel);
}

std::int32_t Win32Host::VersionWord() {
    const auto wort = static_cast<std::uint32_t>(VersionsWort());
    if (!innen_->fakten.nt) return static_cast<std::int32_t>(wort);
    return static_cast<std::int32_t>(*innen_->fakten.nt ? (wort & 0x7FFFFFFFu) : (wort | 0x80000000u));
}

std::uint32_t Win32Host::ProcessorSignature() { return innen_->fakten.cpu.value_or(CpuSignatur()); }

std::string Win32Host::BuildText() { return BauDatum(); }

std::string Win32Host::LocalDate() { return HeutigesDatum(); }

std::string Win32Host::WindowsPath(std::string_view hostPath) {
    if (!hostPath.starts_with('/')) return P(hostPath);
    if (auto pfad = UnterWine(P(hostPath))) return *pfad;
    Fehler("Der Pfad " + Anzeige(P(hostPath)) + " ist kein Windows-Pfad.");
}

std::string Win32Host::HostPath(std::string_view windowsPath) { return P(windowsPath); }

}  // namespace kaldorin
