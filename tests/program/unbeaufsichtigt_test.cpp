// The built program from the outside: exit codes, and unattended installs and removals
// (their options, whole runs, and runs killed half-way).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "startup/unbeaufsichtigt.h"
#include "tests/program/szenario.h"

namespace fs = std::filesystem;

namespace kaldorin::test {
namespace {

TEST(Unbeaufsichtigt, OptionsThatDoNotFitAreRefused) {
    std::string fehler;
    // The boxes to tick, or nothing when the options do not fit.
    const auto Pruefen = [&fehler](bool akzeptiert, bool entfernen, const char* daten = "", const char* ziel = "") {
        Unbeaufsichtigt auftrag;
        auftrag.akzeptiert = akzeptiert;
        auftrag.entfernen = entfernen;
        auftrag.datenliste = daten;
        auftrag.ziel = ziel;
        return Unbeaufsichtigt_Pruefen(auftrag, fehler) ? std::optional(auftrag.datenordner) : std::nullopt;
    };
    EXPECT_FALSE(Pruefen(true, false, "all"));
    EXPECT_FALSE(Pruefen(false, true, "keller"));
    EXPECT_NE(fehler.find("keller"), std::string::npos);
    EXPECT_FALSE(Pruefen(false, true, "", "C:\\x"));
    EXPECT_EQ(Pruefen(false, true, "sound,fahrplan"), (std::vector<std::string>{"CB_Rem_SO", "CB_Rem_FP"}));
    EXPECT_EQ(Pruefen(false, true, "all")->size(), 5u);
}

// The goal alone is a success (the whole runs below); with another message it is not.
TEST(Unbeaufsichtigt, SuccessNeedsTheGoalAndNoOtherMessage) {
    Unbeaufsichtigt installieren;
    EXPECT_EQ(Unbeaufsichtigt_Ergebnis(installieren, {"KALDORIN kann nicht instaliert werden",
                                                      "KALDORIN-Edit wurde installiert."}),
              1);
}

// Runs the built setup program (or `programm`, in its own folder) without a display;
// returns its exit code.
int Aufrufen(const Szenario& s, const std::string& argumente,
             const fs::path& programm = KALDORIN_BIN_DIR "/kaldorin-setup") {
    return Befehl("cd '" + programm.parent_path().string() +
                      "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KALDORIN_PREFIX='" + s.prefix +
                      "' '" + programm.string() + "' " + argumente,
                  s.wurzel + "/ausgabe.txt");
}

std::string Ausgabe(const Szenario& s) { return Lies(s.wurzel + "/ausgabe.txt"); }

TEST(Aufruf, ExitCodesAndWhatTheySay) {
    Szenario s;
    const auto datei = [&s](const std::string& name, const std::string& text) {
        Schreibe(s.wurzel + "/" + name, text);
        return s.wurzel + "/" + name;
    };
    const std::string bad = datei("bad.txt", "answer 1\nklick CMD_Weiter\n");
    const std::string leer = datei("empty.txt", "# nothing\n");
    const std::string falsch = datei("wrong.txt", "click CMD_Weiter\n");  // the first alert is open
    const std::string t = " --transcript " + s.wurzel + "/t.jsonl";
    const std::string fehlt = " --transcript " + s.wurzel + "/fehlt/t.jsonl";
    struct Fall { std::string argumente; int code; const char* datei; std::string erwartet; };
    const Fall faelle[] = {
        {"--help", 0, "ausgabe.txt", "Aufruf: kaldorin-setup"},
        {"--headless", 2, "ausgabe.txt", "--script"},
        {"--system farben=2", 2, "ausgabe.txt", "farben"},
        {"--headless --script " + s.wurzel + "/missing", 2, "ausgabe.txt", "missing"},
        {"--headless --script " + bad, 2, "ausgabe.txt", "Skriptzeile 2"},
        {"--headless --script " + leer + t, 3, "t.jsonl", "{\"op\":\"end\",\"code\":3}\n"},
        {"--headless --script " + falsch + t, 2, "t.jsonl", "{\"op\":\"error\",\"line\":1,"},
        // Neither a face nor an unattended run goes on without the transcript asked for.
        {"--headless --script " + leer + fehlt, 2, "ausgabe.txt", "t.jsonl"},
        {"--unattended --remove" + fehlt, 2, "ausgabe.txt", "lässt sich nicht schreiben"},
        // A host that cannot start (its prefix is a file) is a failure, not a bad command line.
        {"--unattended --remove --system prefix=" + datei("datei", "x"), 1, "ausgabe.txt", "datei"},
        {"--unattended --accept-licence --target " + s.wurzel + " --system prefix=" + datei("datei", "x"), 1,
         "ausgabe.txt", "datei"},
        {"--headless --script " + leer + " --system prefix=" + datei("datei", "x"), 1, "ausgabe.txt", "datei"},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(Aufrufen(s, f.argumente), f.code) << f.argumente;
        EXPECT_NE(Lies(s.wurzel + "/" + f.datei).find(f.erwartet), std::string::npos) << f.argumente << "\n" << Ausgabe(s);
    }
}

TEST(Unbeaufsichtigt, InstallsAndRemovesThroughTheProgramAndFailuresSayWhy) {
    Szenario s;
    // A source that names nothing passes the source check; the first main file is missing.
    EXPECT_EQ(Aufrufen(s, "--unattended --accept-licence --source '" + s.medium + "/fehlt'"), 1);
    EXPECT_NE(Ausgabe(s).find("DATEIFEHLER"), std::string::npos);

    s.Medium_Fuellen();
    // A target whose parent is missing: said plainly, before anything is written.
    EXPECT_EQ(Aufrufen(s, "--unattended --accept-licence --source '" + s.medium + "' --target 'C:\\a\\b'"), 2);
    EXPECT_NE(Ausgabe(s).find("Der Ordner C:\\a fehlt"), std::string::npos) << Ausgabe(s);
    EXPECT_FALSE(s.Existiert("C:\\a"));
    EXPECT_EQ(Aufrufen(s, "--unattended --accept-licence --target Ziel"), 2);
    EXPECT_NE(Ausgabe(s).find("vollständigen Pfad"), std::string::npos) << Ausgabe(s);
    EXPECT_EQ(Aufrufen(s, "--unattended --source '" + s.medium + "'"), 2);
    EXPECT_NE(Ausgabe(s).find("--accept-licence"), std::string::npos);

    // Several facts after one --system, as the scripted entry takes them; a Windows
    // target may end in a backslash.
    const std::string ziel = s.Host_Pfad("C:\\Programme\\Neu");
    EXPECT_EQ(Aufrufen(s, "--unattended --accept-licence --system family=9x cpu=0x633 --source '" + s.medium +
                           "' --target 'C:\\Programme\\Neu\\' --no-desktop --no-converter"),
              0)
        << Ausgabe(s);
    EXPECT_NE(Ausgabe(s).find("KALDORIN-Edit wurde installiert."), std::string::npos);
    EXPECT_TRUE(fs::exists(ziel + "/KALDORIN_Edit.EXE"));
    EXPECT_FALSE(fs::exists(ziel + "/DOS_Konverter.Exe"));
    EXPECT_FALSE(s.Existiert("C:\\WINDOWS\\Desktop\\KALDORIN_Edit.LNK"));
    EXPECT_TRUE(fs::exists(ziel + "/Sound/pfiff3.wav"));

    EXPECT_EQ(Aufrufen(s, "--unattended --remove --remove-data sound"), 0) << Ausgabe(s);
    EXPECT_FALSE(fs::exists(ziel + "/KALDORIN_Edit.EXE"));
    EXPECT_FALSE(fs::exists(ziel + "/Sound"));
    EXPECT_TRUE(fs::exists(ziel + "/Fahrplan/test.fpw")) << "unticked data stays";

    // Nothing left to remove: a clear word and exit code 1.
    EXPECT_EQ(Aufrufen(s, "--unattended --remove"), 1);
    EXPECT_NE(Ausgabe(s).find("keine installierte Kopie"), std::string::npos);
}

// The installed setup program, which the entry in the list of installed programs names,
// removes the whole installation, its own file and folder included, and says so by its
// exit code.
TEST(Unbeaufsichtigt, TheInstalledSetupRemovesItsOwnFolder) {
    Szenario s;
    s.Medium_Fuellen();
    s.Packen("Setup.ex_", Lies(KALDORIN_BIN_DIR "/kaldorin-setup"));
    const std::string ziel = s.wurzel + "/Ziel";
    ASSERT_EQ(Aufrufen(s, "--unattended --accept-licence --source '" + s.medium + "' --target '" + ziel + "'"), 0)
        << Ausgabe(s);
    fs::permissions(ziel + "/Setup.Exe", fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_EQ(Aufrufen(s, "--unattended --remove --remove-data all", ziel + "/Setup.Exe"), 0) << Ausgabe(s);
    EXPECT_FALSE(fs::exists(ziel));
}

// Starts an unattended installation into `ziel` without waiting for it.
pid_t InstallationStarten(const Szenario& s, const std::string& ziel) {
    const pid_t kind = fork();
    if (kind == 0) {
        const int nichts = open("/dev/null", O_WRONLY);
        dup2(nichts, 1);
        dup2(nichts, 2);
        setenv("KALDORIN_PREFIX", s.prefix.c_str(), 1);
        execl(KALDORIN_BIN_DIR "/kaldorin-setup", "kaldorin-setup", "--unattended",
              "--accept-licence", "--source", s.medium.c_str(), "--target", ziel.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    return kind;
}

// Names under `ordner` that are temporary files of a write: of any process, or of
// process `pid` from its `ab`-th written file on.
std::vector<std::string> Reste(const std::string& ordner, pid_t pid = 0, int ab = 0) {
    const std::string marke = ".kaldorin-" + (pid ? std::to_string(pid) + "-" : "");
    std::vector<std::string> reste;
    std::error_code fehler;
    for (auto it = fs::recursive_directory_iterator(ordner, fehler);
         it != fs::recursive_directory_iterator(); it.increment(fehler)) {
        const std::string name = it->path().filename().string();
        const auto stelle = name.find(marke);
        if (stelle == std::string::npos) continue;
        if (pid && std::atoi(name.c_str() + stelle + marke.size()) < ab) continue;
        reste.push_back(it->path().string());
    }
    return reste;
}

// Runs an installation into `ziel` in short slices, stopped in between, and kills it
// (SIGKILL) in a pause in which it is writing its `ab`-th file or a later one: true when
// a kill fell into such a write. An installation that ends first is started again, three
// times at most; each gets two minutes (a sanitized build on a busy machine is slow).
bool ImSchreibenToeten(const Szenario& s, const std::string& ziel, int ab) {
    for (int versuch = 0; versuch < 3; ++versuch) {
        const pid_t kind = InstallationStarten(s, ziel);
        const auto ende = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        int status = 0;
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            kill(kind, SIGSTOP);
            waitpid(kind, &status, WUNTRACED);
            if (WIFSTOPPED(status) && !Reste(ziel, kind, ab).empty()) {
                kill(kind, SIGKILL);
                waitpid(kind, nullptr, 0);
                return true;
            }
            kill(kind, SIGCONT);
        } while (WIFSTOPPED(status) && std::chrono::steady_clock::now() < ende);
        if (WIFSTOPPED(status)) {
            kill(kind, SIGKILL);
            waitpid(kind, nullptr, 0);
        }
    }
    return false;
}

// Killed (SIGKILL) in the middle of writing a file, an installation leaves its temporary
// file but never a half-written file under its final name. The next installation clears
// them away, and so does the removal with every data folder ticked, which leaves nothing:
// exit 0 both times.
TEST(Unbeaufsichtigt, KilledInstallationsLeaveNoLitterAfterTheNext) {
    Szenario s;
    // Files of a few MB, so that a kill has a write to fall into.
    for (const auto& [quelle, ziel] : kInstallierterBaum) {
        std::string inhalt;
        for (int zeile = 0; inhalt.size() < (2u << 20); ++zeile)
            inhalt += Szenario::Inhalt(ziel) + std::to_string(zeile * 7919 % 100003) + "\n";
        s.Packen(quelle, inhalt);
    }
    const std::string ziel = s.wurzel + "/Ziel";
    // Kills in the first file, a middle one and a late one.
    for (const int ab : {0, 9, 20}) {
        EXPECT_TRUE(ImSchreibenToeten(s, ziel, ab)) << "file " << ab;
        // Whatever stands under a final name is whole.
        for (const auto& [quelle, name] : kInstallierterBaum) {
            std::string pfad = ziel + name;
            std::replace(pfad.begin(), pfad.end(), '\\', '/');
            if (!fs::exists(pfad)) continue;
            const std::string inhalt = Lies(pfad);
            EXPECT_TRUE(inhalt.starts_with(Szenario::Inhalt(name)) && inhalt.size() >= (2u << 20)) << pfad;
        }
    }

    ASSERT_EQ(Aufrufen(s, "--unattended --accept-licence --source '" + s.medium + "' --target '" + ziel + "'"), 0)
        << Ausgabe(s);
    EXPECT_EQ(Reste(ziel), std::vector<std::string>{});
    // The removal, too, takes along what a killed write left.
    EXPECT_TRUE(ImSchreibenToeten(s, ziel, 5));
    ASSERT_EQ(Aufrufen(s, "--unattended --remove --remove-data all"), 0) << Ausgabe(s);
    EXPECT_FALSE(fs::exists(ziel));
}

}  // namespace
}  // namespace kaldorin::test
