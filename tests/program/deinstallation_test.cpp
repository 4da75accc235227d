// Removal: what goes, what stays, the error number and the hand-back to page 1.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

// Installs the demo files, then runs the program again up to removal mode with the
// given boxes ticked and presses "weiter".
class Entfernen : public ::testing::Test {
protected:
    void SetUp() override {
        s.Medium_Fuellen();
        ASSERT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    }
    int Entfernen_Mit(const std::vector<std::string>& kaestchen) {
        std::string script = kBisSeite1 + "click CMD_Entfernen\n";
        for (const auto& k : kaestchen) script += "tick " + k + " 1\n";
        return s.Ausfuehren(script + "click CMD_Weiter\nanswer 1\n");
    }
    std::string Einstellungen() {
        std::ifstream datei(s.prefix + "/settings.ini");
        return std::string(std::istreambuf_iterator<char>(datei), {});
    }
    Szenario s;
};

const std::vector<std::string> kAlle = {"CB_Rem_FP", "CB_Rem_GP", "CB_Rem_DB", "CB_Rem_PI",
                                        "CB_Rem_SO"};

TEST_F(Entfernen, NoBoxKeepsDataFoldersAndTheFolder) {
    EXPECT_EQ(Entfernen_Mit({}), 3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{kEntfernt});
    EXPECT_FALSE(s.Existiert(kZiel + "\\KALDORIN_Edit.EXE"));
    EXPECT_FALSE(s.Existiert(kZiel + "\\Setup.Exe"));
    EXPECT_FALSE(s.Existiert(kZiel + "\\Help"));
    EXPECT_TRUE(s.Existiert(kZiel + "\\Sound\\pfiff3.wav"));
    EXPECT_TRUE(s.Existiert(kZiel + "\\Fahrplan\\test.fpw"));
    EXPECT_FALSE(s.Existiert("C:\\WINDOWS\\Profiles\\All users\\Desktop\\KALDORIN_Edit.LNK"));
    EXPECT_FALSE(s.Existiert(s.host().ProgramsFolder() + "\\KALDORIN"));
    EXPECT_EQ(Einstellungen().find("Dir"), std::string::npos);
    // Back on page 1 in normal mode, the remove button gone for good.
    EXPECT_EQ(s.p().Modus_Entfernen, 0);
    EXPECT_EQ(s.p().Seite, 1);
    EXPECT_TRUE(s.p().Installiert_Ordner.empty());
    EXPECT_FALSE(s.Element("CMD_Entfernen").available);
    EXPECT_FALSE(s.Element("CMD_Zurück").available);
    EXPECT_EQ(s.Element("FRM_3").x, -1000);
    EXPECT_EQ(s.Element("LB_11").text, "Klicken Sie auf die Schaltfläche 'weiter', um mit");
}

TEST_F(Entfernen, AllBoxesRemoveTheWholeInstallation) {
    EXPECT_EQ(Entfernen_Mit(kAlle), 3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{kEntfernt});
    EXPECT_FALSE(s.Existiert(kZiel));
    EXPECT_TRUE(s.Existiert("C:\\Programme")) << "only the installation folder goes";
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
    EXPECT_FALSE(s.Existiert(kZiel + "\\Help"));
    EXPECT_FALSE(s.Existiert(kZiel + "\\Sound"));
    EXPECT_FALSE(s.Existiert(kZiel + "\\KALDORIN_Edit.EXE"));
    EXPECT_TRUE(s.Existiert(kZiel));
}

TEST_F(Entfernen, HiddenFileKeepsTheInstallationFolder) {
    s.Schreiben(kZiel + "\\.versteckt", "x");
    EXPECT_EQ(Entfernen_Mit(kAlle), 3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{Fehler(7)});
    EXPECT_TRUE(s.Existiert(kZiel + "\\.versteckt"));
}

TEST_F(Entfernen, MissingDataFolderFailsItsStep) {
    fs::remove_all(s.Host_Pfad(kZiel + "\\Bilder"));
    EXPECT_EQ(Entfernen_Mit({"CB_Rem_PI"}), 3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{Fehler(2)});
}

TEST_F(Entfernen, MissingStartMenuFolderIsError9) {
    fs::remove_all(s.Host_Pfad(s.host().ProgramsFolder() + "\\KALDORIN"));
    fs::remove(s.Host_Pfad("C:\\WINDOWS\\Profiles\\All users\\Desktop\\KALDORIN_Edit.LNK"));
    EXPECT_EQ(Entfernen_Mit({}), 3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{Fehler(9)}) << "a missing link says nothing";
}

TEST_F(Entfernen, ForeignFilesInTheInstallationFolderSurvive) {
    s.Schreiben(kZiel + "\\Brief an Oma.doc", "Liebe Oma");
    s.Schreiben(kZiel + "\\notizen.TXT", "meins");
    EXPECT_EQ(Entfernen_Mit(kAlle), 3);
    EXPECT_EQ(s.Lesen(kZiel + "\\Brief an Oma.doc"), "Liebe Oma");
    EXPECT_EQ(s.Lesen(kZiel + "\\notizen.TXT"), "meins");
    EXPECT_FALSE(s.Existiert(kZiel + "\\KALDORIN.OCX"));
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{Fehler(7)})
        << "the folder was due to go and could not";

    // Without ticked boxes the folder stays anyway, so foreign files cost no error.
    Szenario ohne;
    ohne.Medium_Fuellen();
    ASSERT_EQ(ohne.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    ohne.Schreiben(kZiel + "\\Brief.doc", "x");
    EXPECT_EQ(ohne.Ausfuehren(kBisSeite1 + "click CMD_Entfernen\nclick CMD_Weiter\nanswer 1\n"), 3);
    EXPECT_EQ(ohne.Meldungen(), std::vector<std::string>{kEntfernt});
    EXPECT_TRUE(ohne.Existiert(kZiel + "\\Brief.doc"));
}

TEST_F(Entfernen, FailuresReportTheLastStep) {
    // Step 3 (fahrplan missing) and step 7 (a file that cannot be deleted): 7 wins.
    fs::remove_all(s.Host_Pfad(kZiel + "\\Fahrplan"));
    fs::permissions(s.Host_Pfad(kZiel + "\\KALDORIN.OCX"), fs::perms::owner_read);
    EXPECT_EQ(Entfernen_Mit(kAlle), 3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{Fehler(7)});
}

// Every folder and file below the prefix, but the settings store itself.
std::set<std::string> Baum(const std::string& wurzel) {
    std::set<std::string> namen;
    for (const auto& eintrag : fs::recursive_directory_iterator(wurzel)) {
        const std::string name = eintrag.path().string().substr(wurzel.size());
        if (name.rfind("/settings.ini", 0) != 0) namen.insert(name);
    }
    return namen;
}

TEST(EntfernenGanz, RemovalLeavesThePrefixAsBeforeTheInstallation) {
    Szenario s;
    s.Medium_Fuellen();
    ASSERT_EQ(s.Ausfuehren(kBisSeite1 + "click CMD_Abbrechen\n"), 0);
    const auto vorher = Baum(s.prefix);
    ASSERT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    ASSERT_NE(Baum(s.prefix), vorher);
    std::string script = kBisSeite1 + "click CMD_Entfernen\n";
    for (const auto& k : kAlle) script += "tick " + k + " 1\n";
    EXPECT_EQ(s.Ausfuehren(script + "click CMD_Weiter\nanswer 1\n"), 3);
    EXPECT_EQ(Baum(s.prefix), vorher);
    std::ifstream datei(s.prefix + "/settings.ini");
    std::string rest(std::istreambuf_iterator<char>(datei), {});
    EXPECT_EQ(rest.find_first_not_of(" \r\n"), std::string::npos) << rest;
}

TEST(EntfernenOhneInstallation, WeiterWithoutRecordJustLeavesRemoveMode) {
    Szenario s;
    s.Schreiben(kZiel + "\\KALDORIN_Edit.EXE", "x");
    std::ofstream(s.prefix + "/settings.ini") << "[VORK\\KALDORIN]\nDir=C:\\Programme\\KALDORIN\n";
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
