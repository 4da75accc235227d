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
#include <random>
#include <thread>

#include "startup/unbeaufsichtigt.h"
#include "tests/program/szenario.h"

namespace fs = std::filesystem;

namespace kaldorin::test {
namespace {

TEST(Unbeaufsichtigt, OptionsThatDoNotFitAreRefused) {
    std::string fehler;
    const auto Lesen = [&fehler](const std::vector<std::string>& argumente) { return Unbeaufsichtigt_Lesen(argumente, fehler); };
    EXPECT_FALSE(Lesen({}));
    EXPECT_NE(fehler.find("--accept-licence"), std::string::npos);
    EXPECT_FALSE(Lesen({"--accept-licence", "--remove-data", "all"}));
    EXPECT_FALSE(Lesen({"--remove", "--remove-data", "keller"}));
    EXPECT_NE(fehler.find("keller"), std::string::npos);
    EXPECT_FALSE(Lesen({"--accept-licence", "--target"}));
    EXPECT_FALSE(Lesen({"--accept-licence", "--gibts-nicht"}));
    EXPECT_FALSE(Lesen({"--remove", "--target", "C:\\x"}));
    ASSERT_TRUE(Lesen({"--remove"}));
    EXPECT_EQ(Lesen({"--remove", "--remove-data", "sound,fahrplan"})->datenordner,
              (std::vector<std::string>{"CB_Rem_SO", "CB_Rem_FP"}));
    EXPECT_EQ(Lesen({"--remove", "--remove-data", "all"})->datenordner.size(), 5u);
}

TEST(Unbeaufsichtigt, SuccessNeedsTheGoalAndNoOtherMessage) {
    Unbeaufsichtigt installieren;
    EXPECT_EQ(Unbeaufsichtigt_Ergebnis(installieren, {"KALDORIN-Edit wurde installiert."}), 0);
    EXPECT_EQ(Unbeaufsichtigt_Ergebnis(installieren, {"KALDORIN kann nicht instaliert werden",
                                                      "KALDORIN-Edit wurde installiert."}),
              1);
    Unbeaufsichtigt entfernen;
    entfernen.entfernen = true;
    EXPECT_EQ(Unbeaufsichtigt_Ergebnis(entfernen, {"KALDORIN-Edit wurde installiert."}), 1);
}

// Runs the built setup program without a display; returns its exit code.
int Aufrufen(const Szenario& s, const std::string& argumente) {
    const std::string befehl = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KALDORIN_PREFIX='" + s.prefix +
                               "' '" KALDORIN_BIN_DIR "/kaldorin-setup' " + argumente + " >'" + s.wurzel +
                               "/ausgabe.txt' 2>&1";
    const int status = std::system(befehl.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Ausgabe(const Szenario& s) { return Lies(s.wurzel + "/ausgabe.txt"); }

TEST(Aufruf, ExitCodesAndWhatTheySay) {
    Szenario s;
    if (!fs::exists(KALDORIN_BIN_DIR "/kaldorin-setup")) GTEST_SKIP() << "program not built";
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
        {"--help", 0, "ausgabe.txt", "usage: kaldorin-setup"},
        {"--headless", 2, "ausgabe.txt", "--script"},
        {"--system farben=2", 2, "ausgabe.txt", "farben"},
        {"--headless --script " + s.wurzel + "/missing", 2, "ausgabe.txt", "missing"},
        {"--headless --script " + bad, 2, "ausgabe.txt", "Skriptzeile 2"},
        {"--headless --script " + leer + t, 3, "t.jsonl", "{\"op\":\"end\",\"code\":3}\n"},
        {"--headless --script " + falsch + t, 2, "t.jsonl", "{\"op\":\"error\",\"line\":1,"},
        // Neither a face nor an unattended run goes on without the transcript asked for.
        {"--headless --script " + leer + fehlt, 2, "ausgabe.txt", "t.jsonl"},
        {"--unattended --remove" + fehlt, 2, "ausgabe.txt", "cannot write the transcript"},
    };
    for (const Fall& f : faelle) {
        EXPECT_EQ(Aufrufen(s, f.argumente), f.code) << f.argumente;
        EXPECT_NE(Lies(s.wurzel + "/" + f.datei).find(f.erwartet), std::string::npos) << f.argumente << "\n" << Ausgabe(s);
    }
    EXPECT_EQ(Ausgabe(s).find("nichts wurde entfernt"), std::string::npos);
}

TEST(Unbeaufsichtigt, InstallsAndRemovesThroughTheProgramAndFailuresSayWhy) {
    Szenario s;
    if (!fs::exists(KALDORIN_BIN_DIR "/kaldorin-setup")) GTEST_SKIP() << "program not built";
    // An empty medium: the first main file is missing.
    EXPECT_EQ(Aufrufen(s, "--unattended --accept-licence --source '" + s.medium + "'"), 1);
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
    EXPECT_FALSE(s.Existiert("C:\\Programme\\KALDORIN\\KALDORIN_Edit.EXE"));

    const std::string ziel = s.wurzel + "/Ziel";
    fs::create_directories(ziel);
    // Several facts after one --system, as the scripted entry takes them.
    EXPECT_EQ(Aufrufen(s, "--unattended --accept-licence --system family=9x cpu=0x633 --source '" + s.medium +
                           "' --target '" + ziel + "' --no-desktop --no-converter"),
              0)
        << Ausgabe(s);
    EXPECT_NE(Ausgabe(s).find("KALDORIN-Edit wurde installiert."), std::string::npos);
    EXPECT_TRUE(fs::exists(ziel + "/KALDORIN_Edit.EXE"));
    EXPECT_FALSE(fs::exists(ziel + "/DOS_Konverter.Exe"));
    EXPECT_FALSE(s.Existiert("C:\\WINDOWS\\Profiles\\All users\\Desktop\\KALDORIN_Edit.LNK"));
    EXPECT_TRUE(fs::exists(ziel + "/Sound/pfiff3.wav"));

    EXPECT_EQ(Aufrufen(s, "--unattended --remove --remove-data sound"), 0) << Ausgabe(s);
    EXPECT_FALSE(fs::exists(ziel + "/KALDORIN_Edit.EXE"));
    EXPECT_FALSE(fs::exists(ziel + "/Sound"));
    EXPECT_TRUE(fs::exists(ziel + "/Fahrplan/test.fpw")) << "unticked data stays";

    // Nothing left to remove: a clear word and exit code 1.
    EXPECT_EQ(Aufrufen(s, "--unattended --remove"), 1);
    EXPECT_NE(Ausgabe(s).find("keine installierte Kopie"), std::string::npos);
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

// Names under `ordner` that are the temporary files of an interrupted write.
std::vector<std::string> Reste(const std::string& ordner) {
    std::vector<std::string> reste;
    std::error_code fehler;
    for (auto it = fs::recursive_directory_iterator(ordner, fehler);
         it != fs::recursive_directory_iterator(); it.increment(fehler)) {
        if (it->path().filename().string().find(".kaldorin-") != std::string::npos)
            reste.push_back(it->path().string());
    }
    return reste;
}

// Killed (SIGKILL) at random moments, an installation leaves temporary files but never
// a half-written file under its final name. The next installation clears them away,
// and the removal with every data folder ticked leaves nothing: exit 0 both times.
TEST(Unbeaufsichtigt, KilledInstallationsLeaveNoLitterAfterTheNext) {
    Szenario s;
    if (!fs::exists(KALDORIN_BIN_DIR "/kaldorin-setup")) GTEST_SKIP() << "program not built";
    // Files of a few MB, so that most of a run is spent writing them.
    for (const auto& [quelle, ziel] : kInstallierterBaum) {
        std::string inhalt;
        for (int zeile = 0; inhalt.size() < (2u << 20); ++zeile)
            inhalt += Szenario::Inhalt(ziel) + std::to_string(zeile * 7919 % 100003) + "\n";
        s.Packen(quelle, inhalt);
    }
    const std::string ziel = s.wurzel + "/Ziel";

    // One whole run into another folder gives the span the kills fall into.
    const auto beginn = std::chrono::steady_clock::now();
    int status = 0;
    waitpid(InstallationStarten(s, s.wurzel + "/Probe"), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const auto dauer = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - beginn);

    const unsigned saat = std::random_device{}();
    std::mt19937 zufall(saat);
    std::uniform_int_distribution<long> moment(0, dauer.count());
    std::size_t mitResten = 0;
    for (int versuch = 0; versuch < 12 && mitResten < 3; ++versuch) {
        const pid_t kind = InstallationStarten(s, ziel);
        std::this_thread::sleep_for(std::chrono::microseconds(moment(zufall)));
        kill(kind, SIGKILL);
        waitpid(kind, &status, 0);
        if (!Reste(ziel).empty()) ++mitResten;
        // Whatever stands under a final name is whole.
        for (const auto& [quelle, name] : kInstallierterBaum) {
            std::string pfad = ziel + name;
            std::replace(pfad.begin(), pfad.end(), '\\', '/');
            if (!fs::exists(pfad)) continue;
            const std::string inhalt = Lies(pfad);
            EXPECT_TRUE(inhalt.starts_with(Szenario::Inhalt(name)) && inhalt.size() >= (2u << 20))
                << pfad << " (random start " << saat << ")";
        }
    }
    EXPECT_GT(mitResten, 0u) << "no kill fell into a write (random start " << saat << ")";

    ASSERT_EQ(Aufrufen(s, "--unattended --accept-licence --source '" + s.medium + "' --target '" + ziel + "'"), 0)
        << Ausgabe(s);
    EXPECT_EQ(Reste(ziel), std::vector<std::string>{});
    ASSERT_EQ(Aufrufen(s, "--unattended --remove --remove-data all"), 0) << Ausgabe(s);
    EXPECT_FALSE(fs::exists(ziel)) << "random start " << saat;
}

}  // namespace
}  // namespace kaldorin::test
