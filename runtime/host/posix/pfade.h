#pragma once
// Windows paths on a POSIX file system, mapped as Wine maps them: "C:" is
// <prefix>/drive_c, "Z:" is "/". Components resolve without regard to case
// against what exists.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kaldorin::posix {

// A Windows path taken apart: drive letter (upper case) and the components below
// the drive's root, "." and ".." already applied.
struct WindowsTeile {
    char laufwerk = 'C';
    std::vector<std::string> teile;
    bool trennerAmEnde = false;  // the text ended with \ or /
};

// Takes apart an absolute Windows path ("C:\a\b", "c:/a", "C:"). Throws Laufzeitfehler
// for relative, drive-relative ("C:a") or network paths and for control characters.
// ".." never climbs above the drive's root.
WindowsTeile ZerlegeWindowsPfad(std::string_view pfad);

// The name of the entry in folder `ordner` (host path) that equals `name` without
// regard to case: the exact name when it exists, else the first such entry in byte
// order; nothing when there is none or the folder cannot be read.
std::optional<std::string> FindeEintrag(const std::string& ordner, const std::string& name);

// The names in folder `ordner` (host path) without "." and ".."; nothing when the
// folder cannot be read.
std::optional<std::vector<std::string>> Eintraege(const std::string& ordner);

// Host path of `ordner` + "/" + `name` ("/" + name when ordner is "/").
std::string Verbinde(const std::string& ordner, const std::string& name);

class Pfadabbildung {
public:
    explicit Pfadabbildung(std::string prefix);

    const std::string& Prefix() const { return prefix_; }
    // Host path of the root of drive C.
    std::string LaufwerkC() const { return prefix_ + "/drive_c"; }

    // Host path of the root of the path's drive. Throws for drives other than C and Z.
    std::string Wurzel(const WindowsTeile& teile) const;
    // Host path for a Windows path, each existing component in its case on disk.
    std::string HostPfad(std::string_view windowsPfad) const;
    std::string HostPfad(const WindowsTeile& teile) const;
    // Host path of the folder that holds the path's last component and that
    // component as given; for a drive root the component is empty.
    std::pair<std::string, std::string> OrdnerUndName(const WindowsTeile& teile) const;
    // Windows path for an absolute host path; no trailing backslash ("C:", "Z:\tmp").
    std::string WindowsPfad(std::string_view hostPfad) const;

private:
    std::string prefix_;
};

// The prefix from the environment: $KALDORIN_PREFIX, else $XDG_DATA_HOME/kaldorin,
// else ~/.local/share/kaldorin. A relative value is taken against the working folder.
std::string PrefixAusUmgebung();

// `pfad` made absolute against the working folder and lexically normalised.
std::string Absolut(std::string_view pfad);

}  // namespace kaldorin::posix
