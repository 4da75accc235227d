// Removal: what goes, what stays, the error number and the hand-back to page 1.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/program/szenario.h"
#include "wizard/assistent.h"

namespace fs = std::filesystem;

namespace kaldorin::test {
namespace {

const std::string kZiel = "C:\\Programme\\KALDORIN";
const std::string kEntfernt = "KALDORIN-Edit wurde entfernt";

std::string Fehler(int nummer) {
    return "Beim entfernen von KALDORIN-Edit ist Fehler " + std::to_string(nummer) +
           " aufgetreten!";
}

const std::vector<std::string> kAlle = {"CB_Rem_FP", "CB_Rem_GP", "CB_Rem_DB", "CB_Rem_PI",
                                        "CB_Rem_SO"};

// Runs the program up to removal mode with the given boxes ticked and presses "weiter".
int Entfernen_Mit(Szenario& s, const std::vector<std::string>& kaestchen) {
    std::string script = kBisSeite1 + "click CMD_Entfernen\n";
    for (const auto& k : kaestchen) script += "tick " + k + " 1\n";
    return s.Ausfuehren(script + "click CMD_Weiter\nanswer 1\n");
}

// Installs the demo files first.
class Entfernen : public ::testing::Test {
protected:
    void SetUp() override {
        s.Medium_Fuellen();
        ASSERT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    }
    int Entfernen_Mit(const std::vector<std::string>& kaestchen) { return test::Entfernen_Mit(s, kaestchen); }
    Szenario s;
};

TEST_F(Entfernen, NoBoxKeepsDataFoldersAndTheFolder) {
    // As installed before there was an entry in the list of installed programs.
    s.host().DeleteSectionTree("Microsoft", "Windows\\CurrentVersion\\Uninstall\\KALDORIN-Edit");
    EXPECT_EQ(Entfernen_Mit({}), 3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{kEntfernt});
    for (const char* weg : {"\\KALDORIN_Edit.EXE", "\\Setup.Exe", "\\Help"}) EXPECT_FALSE(s.Existiert(kZiel + weg)) << weg;
    EXPECT_TRUE(s.Existiert(kZiel + "\\Sound\\pfiff3.wav"));
    EXPECT_TRUE(s.Existiert(kZiel + "\\Fahrplan\\test.fpw"));
    // Back on page 1 in normal mode (as "zurück" leaves it), the remove button gone for good.
    EXPECT_EQ(s.p().Modus_Entfernen, 0);
    EXPECT_FALSE(s.Element("CMD_Entfernen").available);
}

TEST_F(Entfernen, HiddenFileOrSubFolderKeepsADataFolder) {
    s.Schreiben(kZiel + "\\Stellwerk\\.versteckt", "x");
    s.Schreiben(kZiel + "\\Fahrplan\\Archiv\\alt.fpw", "x");
    s.Schreiben(kZiel + "\\Help\\.versteckt", "x");  // the help folder loses it anyway
    EXPECT_EQ(Entfernen_Mit(kAlle), 3);
    // Steps 3 and 4 fail; their flags keep the installation folder, so step 7 does not.
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{Fehler(4)});
    EXPECT_TRUE(s.Existiert(kZiel + "\\Stellwerk\\.versteckt"));
    EXPECT_TRUE(s.Existiert(kZiel + "\\Fahrplan\\Archiv\\alt.fpw"));
    for (const char* weg : {"\\Help", "\\Sound", "\\KALDORIN_Edit.EXE"}) EXPECT_FALSE(s.Existiert(kZiel + weg)) << weg;
}

TEST_F(Entfernen, ForeignFilesInTheInstallationFolderSurvive) {
    s.Schreiben(kZiel + "\\Brief an Oma.doc", "Liebe Oma");
    EXPECT_EQ(Entfernen_Mit(kAlle), 3);
    EXPECT_EQ(s.Lesen(kZiel + "\\Brief an Oma.doc"), "Liebe Oma");
    EXPECT_FALSE(s.Existiert(kZiel + "\\KALDORIN.OCX"));
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{Fehler(7)}) << "the folder was due to go and could not";
}

// Each step that fails gives its own number; with several, the last one's. A data
// folder's step fails when its box is ticked and the folder is gone.
struct Stoerung {
    int nummer;
    const char* kaestchen;  // the one box ticked; none, or all for step 7
    const char* weg;        // what is taken away before the removal
};

void PrintTo(const Stoerung& st, std::ostream* os) { *os << "step " << st.nummer; }

class Fehlernummer : public Entfernen, public ::testing::WithParamInterface<Stoerung> {};

TEST_P(Fehlernummer, OfTheLastFailedStep) {
    const Stoerung st = GetParam();
    if (*st.weg) fs::remove_all(s.Host_Pfad(kZiel + st.weg));
    std::vector<std::string> kaestchen;
    if (*st.kaestchen) kaestchen.push_back(st.kaestchen);
    if (st.nummer == 7) {  // step 3 (Fahrplan missing) and step 7 (a file that cannot be deleted)
        fs::permissions(s.Host_Pfad(kZiel + "\\KALDORIN.OCX"), fs::perms::owner_read);
        kaestchen = kAlle;
    }
    if (st.nummer == 9) {  // a missing link says nothing
        fs::remove_all(s.Host_Pfad(s.host().ProgramsFolder() + "\\KALDORIN"));
        fs::remove(s.Host_Pfad("C:\\WINDOWS\\Profiles\\All users\\Desktop\\KALDORIN_Edit.LNK"));
    }
    if (st.nummer == 10) s.anwendung_bleibt = true;
    EXPECT_EQ(Entfernen_Mit(kaestchen), 3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{Fehler(st.nummer)});
}
INSTANTIATE_TEST_SUITE_P(Schritte, Fehlernummer,
                         ::testing::Values(Stoerung{1, "CB_Rem_SO", "\\Sound"}, Stoerung{2, "CB_Rem_PI", "\\Bilder"},
                                           Stoerung{3, "CB_Rem_FP", "\\Fahrplan"},
                                           Stoerung{4, "CB_Rem_GP", "\\Stellwerk"},
                                           Stoerung{5, "CB_Rem_DB", "\\Lokdatenbank"}, Stoerung{6, "", "\\Help"},
                                           Stoerung{7, "", "\\Fahrplan"}, Stoerung{9, "", ""},
                                           Stoerung{10, "", ""}),
                         [](const auto& info) { return "Schritt" + std::to_string(info.param.nummer); });

// Every folder and file below the prefix, but the settings store itself.
std::set<std::string> Baum(const std::string& wurzel) {
    std::set<std::string> namen;
    for (const auto& eintrag : fs::recursive_directory_iterator(wurzel)) {
        const std::string name = eintrag.path().string().substr(wurzel.size());
        if (name.rfind("/settings.ini", 0) != 0) namen.insert(name);
    }
    return namen;
}

TEST(EntfernenGanz, AllBoxesLeaveThePrefixAsBeforeTheInstallation) {
    Szenario s;
    s.Medium_Fuellen();
    ASSERT_EQ(s.Ausfuehren(kBisSeite1 + "click CMD_Abbrechen\n"), 0);
    const auto vorher = Baum(s.prefix);
    ASSERT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    ASSERT_NE(Baum(s.prefix), vorher);
    // Names match without regard to case: a file the user renamed still goes.
    fs::rename(s.Host_Pfad(kZiel + "\\KALDORIN_Edit.EXE"), s.Host_Pfad(kZiel) + "/kaldorin_edit.exe");
    EXPECT_EQ(Entfernen_Mit(s, kAlle), 3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{kEntfernt});
    EXPECT_EQ(Baum(s.prefix), vorher);  // C:\Programme stays: only the installation folder goes
    const std::string rest = Lies(s.prefix + "/settings.ini");
    EXPECT_EQ(rest.find_first_not_of(" \r\n"), std::string::npos) << rest;
}

TEST(EntfernenOhneInstallation, WeiterWithoutRecordJustLeavesRemoveMode) {
    Szenario s;
    s.Schreiben(kZiel + "\\KALDORIN_Edit.EXE", "x");
    Schreibe(s.prefix + "/settings.ini", "[VORK\\KALDORIN]\nDir=C:\\Programme\\KALDORIN\n");
    ASSERT_EQ(s.Ausfuehren(kBisSeite1 + "click CMD_Entfernen\n"), 3);
    // The record is gone by the time "weiter" is pressed: nothing is removed and no
    // message is shown (the finished run's face would throw on any dialog).
    s.p().Installiert_Ordner.clear();
    EXPECT_NO_THROW(CMD_Weiter_Click(s.p()));
    EXPECT_EQ(s.p().Modus_Entfernen, 0);
    EXPECT_FALSE(s.ui().Control(s.p().CMD_Entfernen).available);
    EXPECT_TRUE(s.Existiert(kZiel + "\\KALDORIN_Edit.EXE"));
}

}  // namespace
}  // namespace kaldorin::test
