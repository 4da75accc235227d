#pragma once
// What both program entries (POSIX and Windows) do alike: one run of the setup, the
// headless face by script, and the unattended road. Each entry supplies only its own
// host and, for unattended runs, the face that plays the road.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "runtime/bundle.h"
#include "runtime/runtime.h"
#include "runtime/ui/script.h"
#include "startup/unbeaufsichtigt.h"

namespace kaldorin {

// The exit code for a command line or script that cannot be used.
constexpr int kBadUsage = 2;
// Where a message about the command line sends the user.
inline constexpr const char* kSieheHilfe = "Alle Angaben: kaldorin-setup --help\n";

// Reads the command line of `plattform` into `line`. Returns the exit code when the run
// ends here: 0 after printing the usage for --help, kBadUsage after printing what cannot
// be used; nullopt when the run goes on.
std::optional<int> ReadCommandLine(const std::vector<std::string>& arguments, Plattform plattform,
                                   CommandLine& line);

// Reads and checks the medium the program carries (a host's CheckOwnBundle), before
// any host or face starts: nothing is written. Returns false after a fault, which it
// prints on the console and, when `transcript` names one, as an error line of the
// transcript; the run then ends with exit code 1. `fault` (when given) gets the text,
// for an entry that shows it in a window as well.
using BundleCheck = std::function<std::optional<Bundle>()>;
bool CheckCarriedMedium(const BundleCheck& check, const std::string& transcript,
                        std::optional<Bundle>& bundle, std::string* fault = nullptr);

// One run of the setup on the face and host of `laufzeit`.
void RunProgram(Laufzeit laufzeit);

// Runs the program on the headless face with --script FILE. Exit code 2 when the
// script is missing or unusable or the transcript cannot be written; else the run's.
int RunHeadless(const FaceOptions& options, Host& host);

// A folder given on the command line, as the program names it: host paths (from "/")
// become Windows paths, anything else is taken as it is.
std::string AsWindowsPath(Host& host, const std::string& folder);

// Makes the platform's host from the facts of --system. May throw when the host cannot
// start.
using HostMaker = std::function<std::unique_ptr<Host>(const SystemFacts&, std::optional<Bundle>)>;

// Plays the unattended road: runs `RunProgram` on a face that answers every dialog by
// its first button, with `script` and writing to `transcript` (nullptr: none). Returns
// the run's code and fills `messages` with the texts of the message boxes shown.
using UnattendedFace = std::function<int(const FaceOptions& options, Host& host, Script script,
                                         std::ostream* transcript, std::vector<std::string>& messages)>;

// An unattended run (`line.unattended`); `check` as for CheckCarriedMedium, its bundle
// handed to the host `makeHost` made. Exit code 0 when the run reached its goal without
// an error message, 1 when it showed one or could not start, 2 for options that do not
// fit together, a target whose parent folder is missing or a transcript that cannot be
// written (these before anything is written).
int RunUnattended(CommandLine line, const HostMaker& makeHost, const UnattendedFace& face,
                  const BundleCheck& check);

}  // namespace kaldorin
