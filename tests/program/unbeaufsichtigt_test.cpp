// Unattended installs and removals: the options, and whole runs of the built program.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "startup/unbeaufsichtigt.h"
#include "tests/program/szenario.h"

namespace fs = std::filesystem;

namespace kaldorin::test {
namespace {

std::optional<Unbeaufsichtigt> Lesen(std::vector<std::string> argumente, std::string* fehler = nullptr) {
    std::string f;
    auto auftrag = Unbeaufsichtigt_Lesen(argumente, f);
    if (fehler) *fehler = f;
    return auftrag;
}

TEST(Unbeaufsichtigt, OptionsThatDoNotFitAreRefused) {
    std::string fehler;
    EXPECT_FALSE(Lesen({}, &fehler));
    EXPECT_NE(fehler.find("--accept-licence"), std::string::npos);
    EXPECT_FALSE(Lesen({"--accept-licence", "--remove-data", "all"}));
    EXPECT_FALSE(Lesen({"--remove", "--remove-data", "keller"}, &fehler));
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
    EXPECT_EQ(Unbeaufsichtigt_Ergebnis(installieren, {}), 1);
    EXPECT_EQ(Unbeaufsichtigt_Ergebnis(installieren, {"KALDORIN kann nicht instaliert werden",
                                                      "KALDORIN-Edit wurde installiert."}),
              1);
    Unbeaufsichtigt entfernen;
    entfernen.entfernen = true;
    EXPECT_EQ(Unbeaufsichtigt_Ergebnis(entfernen, {"KALDORIN-Edit wurde entfernt"}), 0);
    EXPECT_EQ(Unbeaufsichtigt_Ergebnis(entfernen, {"KALDORIN-Edit wurde installiert."}), 1);
}

// Runs the built setup program; returns its exit code.
int Aufrufen(const Szenario& s, const std::string& argumente) {
    const std::string befehl = "KALDORIN_PREFIX='" + s.prefix + "' '" KALDORIN_BIN_DIR
                               "/kaldorin-setup' --unattended " + argumente + " >'" + s.wurzel +
                               "/ausgabe.txt' 2>&1";
    const int status = std::system(befehl.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Ausgabe(const Szenario& s) {
    std::ifstream datei(s.wurzel + "/ausgabe.txt");
    return std::string(std::istreambuf_iterator<char>(datei), {});
}

TEST(Unbeaufsichtigt, InstallsAndRemovesThroughTheProgram) {
    Szenario s;
    if (!fs::exists(KALDORIN_BIN_DIR "/kaldorin-setup")) GTEST_SKIP() << "program not built";
    s.Medium_Fuellen();
    const std::string ziel = s.wurzel + "/Ziel";
    fs::create_directories(ziel);
    // Several facts after one --system, as the scripted entry takes them.
    EXPECT_EQ(Aufrufen(s, "--accept-licence --system family=9x cpu=0x633 --source '" + s.medium +
                           "' --target '" + ziel + "' --no-desktop --no-converter"),
              0)
        << Ausgabe(s);
    EXPECT_NE(Ausgabe(s).find("KALDORIN-Edit wurde installiert."), std::string::npos);
    EXPECT_TRUE(fs::exists(ziel + "/KALDORIN_Edit.EXE"));
    EXPECT_FALSE(fs::exists(ziel + "/DOS_Konverter.Exe"));
    EXPECT_FALSE(s.Existiert("C:\\WINDOWS\\Profiles\\All users\\Desktop\\KALDORIN_Edit.LNK"));
    EXPECT_TRUE(fs::exists(ziel + "/Sound/pfiff3.wav"));

    EXPECT_EQ(Aufrufen(s, "--remove --remove-data sound"), 0) << Ausgabe(s);
    EXPECT_FALSE(fs::exists(ziel + "/KALDORIN_Edit.EXE"));
    EXPECT_FALSE(fs::exists(ziel + "/Sound"));
    EXPECT_TRUE(fs::exists(ziel + "/Fahrplan/test.fpw")) << "unticked data stays";

    // Nothing left to remove: a clear word and exit code 1.
    EXPECT_EQ(Aufrufen(s, "--remove"), 1);
    EXPECT_NE(Ausgabe(s).find("keine installierte Kopie"), std::string::npos);
}

TEST(Unbeaufsichtigt, FailuresGiveExitCodeOneAndWithoutAcceptanceNothingRuns) {
    Szenario s;
    if (!fs::exists(KALDORIN_BIN_DIR "/kaldorin-setup")) GTEST_SKIP() << "program not built";
    // An empty medium: the first main file is missing.
    EXPECT_EQ(Aufrufen(s, "--accept-licence --source '" + s.medium + "'"), 1);
    EXPECT_NE(Ausgabe(s).find("DATEIFEHLER"), std::string::npos);

    s.Medium_Fuellen();
    // A target whose parent is missing: said plainly, before anything is written.
    EXPECT_EQ(Aufrufen(s, "--accept-licence --source '" + s.medium + "' --target 'C:\\a\\b'"), 2);
    EXPECT_NE(Ausgabe(s).find("Der Ordner C:\\a fehlt"), std::string::npos) << Ausgabe(s);
    EXPECT_FALSE(s.Existiert("C:\\a"));
    EXPECT_EQ(Aufrufen(s, "--accept-licence --target Ziel"), 2);
    EXPECT_NE(Ausgabe(s).find("vollständigen Pfad"), std::string::npos) << Ausgabe(s);

    EXPECT_EQ(Aufrufen(s, "--source '" + s.medium + "'"), 2);
    EXPECT_NE(Ausgabe(s).find("--accept-licence"), std::string::npos);
    EXPECT_FALSE(s.Existiert("C:\\Programme\\KALDORIN\\KALDORIN_Edit.EXE"));
}

}  // namespace
}  // namespace kaldorin::test
