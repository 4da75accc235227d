// The installation run: files of both lists, the keep rule, failures in either list,
// the settings record, links for both families and the completion.

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <map>

#include "install/installation.h"
#include "tests/program/szenario.h"

namespace fs = std::filesystem;

namespace kaldorin::test {
namespace {

const std::string kZiel = "C:\\Programme\\KALDORIN";
const std::string kFertig = "KALDORIN-Edit wurde installiert.";

std::string Heute() {
    const std::time_t jetzt = std::time(nullptr);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d", std::localtime(&jetzt));
    return text;
}

TEST(Installation, TheRoadOfOneInstallation) {
    Szenario s;
    s.Medium_Fuellen();
    EXPECT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{kFertig});
    // Exactly the expected tree, every file with the content packed for it; targets in
    // "\sound" land in the "Sound" folder the tree made.
    std::map<std::string, std::string> erwartet, installiert;
    for (const auto& [quelle, ziel] : kInstallierterBaum) erwartet[ziel] = Szenario::Inhalt(ziel);
    const fs::path ordner = s.prefix + "/drive_c/Programme/KALDORIN";
    for (const auto& e : fs::recursive_directory_iterator(ordner)) {
        if (!e.is_regular_file()) continue;
        std::string name = "\\" + fs::relative(e.path(), ordner).string();
        std::replace(name.begin(), name.end(), '/', '\\');
        installiert[name] = s.Lesen(kZiel + name);
    }
    EXPECT_EQ(installiert, erwartet);
    // The entry in the list of installed programs, under the same path as in the registry.
    std::size_t bytes = 0;
    for (const auto& [ziel, inhalt] : erwartet) bytes += inhalt.size();
    const std::map<std::string, std::string> eintrag = {
        {"DisplayName", "KALDORIN-Edit"}, {"DisplayVersion", "2.32"}, {"Publisher", "Vorkwerk-Gruppe"},
        {"InstallLocation", kZiel}, {"DisplayIcon", kZiel + "\\KALDORIN_Edit.EXE,0"},
        {"UninstallString", "\"" + kZiel + "\\Setup.Exe\""},
        {"QuietUninstallString", "\"" + kZiel + "\\Setup.Exe\" --unattended --remove"},
        {"EstimatedSize", std::to_string((bytes + 1023) / 1024)}, {"InstallDate", Heute()},
        {"NoModify", "1"}, {"NoRepair", "1"}};
    for (const auto& [name, wert] : eintrag)
        EXPECT_EQ(s.host().ReadText("Microsoft", "Windows\\CurrentVersion\\Uninstall\\KALDORIN-Edit", name), wert) << name;
    // Each link names its own program (the link format itself is pinned by the host's tests).
    EXPECT_NE(s.Lesen("C:\\WINDOWS\\Profiles\\All users\\Desktop\\KALDORIN_Edit.LNK")
                  .find(kZiel + "\\KALDORIN_Edit.EXE"), std::string::npos);
    EXPECT_NE(s.Lesen(s.host().ProgramsFolder() + "\\KALDORIN\\DOS_Konverter.LNK").find(kZiel + "\\DOS_Konverter.EXE"),
              std::string::npos);
    EXPECT_EQ(s.p().Seite, 5);
    EXPECT_EQ(s.ui().MousePointer(), 1);
    // The progress bar counted 0 to 8 and went out of view.
    EXPECT_EQ(s.ui().Control(s.p().PB_Fortschritt).value, 8);
    EXPECT_EQ(s.ui().Control(s.p().PB_Fortschritt).x, -1000);
    EXPECT_TRUE(s.ui().Control(s.p().CMD_Weiter).available);
}

TEST(Installation, MissingMainFileStopsAfterWhatWasWritten) {
    Szenario s;
    s.Medium_Fuellen();
    fs::remove(s.medium + "/t8.px_");  // position 3
    EXPECT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{
                                 "\tDATEIFEHLER:\r\rEs sind nicht alle Dateien vorhanden   (3 )"});
    for (int position = 0; position < 3; ++position)
        EXPECT_TRUE(s.Existiert(kZiel + Hauptliste_Ziele[position])) << position;
    for (int position = 3; position < 9; ++position)
        EXPECT_FALSE(s.Existiert(kZiel + Hauptliste_Ziele[position])) << position;
    EXPECT_FALSE(s.Existiert(kZiel + "\\Setup.Exe"));
    EXPECT_EQ(Lies(s.prefix + "/settings.ini").find("Dir"), std::string::npos) << "no record";
    EXPECT_EQ(s.ui().Control(s.p().PB_Fortschritt).x, -1000);
    EXPECT_EQ(s.ui().MousePointer(), 1);
}

TEST(Installation, KeepRuleSparesTheUsersParameterFile) {
    Szenario s;
    s.Medium_Fuellen();
    fs::remove(s.medium + "/tl.px_");  // kept even with its source gone
    s.Schreiben(kZiel + "\\KALDORIN.PA1", "meine Parameter");
    s.Schreiben(kZiel + "\\T14.ovl", "alt");  // after the kept file in the list
    EXPECT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{kFertig});
    EXPECT_EQ(s.Lesen(kZiel + "\\KALDORIN.PA1"), "meine Parameter");
    EXPECT_EQ(s.Lesen(kZiel + "\\T14.ovl"), Szenario::Inhalt("\\T14.ovl")) << "others overwritten";
}

TEST(Installation, SourceFolderNamedLikeTheKeptFileKeepsEveryMainFile) {
    Szenario s;
    s.medium = s.wurzel + "/cd.tl.px_";
    fs::create_directories(s.medium);
    s.Medium_Fuellen();
    for (const auto& ziel : Hauptliste_Ziele) s.Schreiben(kZiel + ziel, "alt");
    s.Schreiben(kZiel + "\\Setup.Exe", "alt");  // an additional file: the rule does not keep it
    EXPECT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    for (const auto& ziel : Hauptliste_Ziele) EXPECT_EQ(s.Lesen(kZiel + ziel), "alt") << ziel;
    EXPECT_EQ(s.Lesen(kZiel + "\\Setup.Exe"), Szenario::Inhalt("\\Setup.Exe"));
}

TEST(Installation, AdditionalFileFailureStillCompletes) {
    Szenario s;
    s.Medium_Fuellen();
    fs::remove(s.medium + "/lok.bm_");  // absent: skipped without a word
    // A folder where a file must go cannot be written.
    fs::create_directories(s.prefix + "/drive_c/Programme/KALDORIN/Stellwerk/test.tab");
    EXPECT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren + "answer 1\n"), 0);
    const auto meldungen = s.Meldungen();
    ASSERT_EQ(meldungen.size(), 2u);
    EXPECT_EQ(meldungen[0].rfind("KALDORIN kann nicht instaliert werden, da bestimmte\r", 0), 0u);
    EXPECT_EQ(meldungen[1], kFertig);
    EXPECT_FALSE(s.Existiert(kZiel + "\\bilder\\lok.bmp"));
    EXPECT_TRUE(s.Existiert(kZiel + "\\help\\Datensicherung.cnt")) << "later rows still run";
}

// Options ticked off stay so when the user goes back and forth, and leave their part out.
// On the other family the desktop link goes elsewhere; the converter, ticked without a
// Start-menu entry, is copied but gets no link.
TEST(Installation, OptionsTickedOffAreLeftOutAndTheDesktopLinkFollowsTheFamily) {
    for (const bool alt : {false, true}) {
        Szenario s;
        if (alt) s.system["family"] = "9x";
        s.Medium_Fuellen();
        ASSERT_EQ(s.Ausfuehren(kBisSeite1 + "click CMD_Weiter\nclick CMD_Weiter\n" +
                               (alt ? "tick CB_Start 0\n" : "tick CB_Konvert 0\ntick CB_Desk 0\nclick CMD_Zurück\nclick CMD_Weiter\n") +
                               "click CMD_Weiter\nanswer 1\n"),
                  0);
        const std::string start = s.host().ProgramsFolder() + "\\KALDORIN";
        EXPECT_EQ(s.Existiert(kZiel + "\\DOS_Konverter.Exe"), alt);
        EXPECT_FALSE(s.Existiert(start + "\\DOS_Konverter.LNK"));
        EXPECT_EQ(s.Existiert(start), !alt);
        EXPECT_EQ(s.Existiert(start + "\\KALDORIN_Edit.LNK"), !alt);
        EXPECT_EQ(s.Existiert("C:\\WINDOWS\\Desktop\\KALDORIN_Edit.LNK"), alt);
        EXPECT_FALSE(s.Existiert("C:\\WINDOWS\\Profiles\\All users\\Desktop\\KALDORIN_Edit.LNK"));
    }
}

TEST(Installation, UnwritableSettingsStopBeforeTheLinks) {
    Szenario s;
    s.Medium_Fuellen();
    fs::create_directories(s.prefix + "/settings.ini");  // cannot be read or written
    EXPECT_EQ(s.Ausfuehren(kBisSeite1 + kInstallieren), 0);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{"Dateifehler 3.6"});
    EXPECT_EQ(s.Dialoge().back().title, "Setup");
    EXPECT_TRUE(s.Existiert(kZiel + "\\KALDORIN_Edit.EXE")) << "copied files stay";
    EXPECT_FALSE(s.Existiert("C:\\WINDOWS\\Profiles\\All users\\Desktop\\KALDORIN_Edit.LNK"));
}

TEST(Installation, MissingTargetParentIsReportedNotCrashed) {
    Szenario s;
    s.Medium_Fuellen();
    ASSERT_EQ(s.Ausfuehren(kBisSeite1 + "click CMD_Weiter\nclick CMD_Browse\nfolder "
                           "C:\\gibt\\es\\nicht\nclick CMD_Weiter\nclick CMD_Weiter\n"
                           "answer 1\nanswer 1\n"),
              0);
    const auto meldungen = s.Meldungen();
    ASSERT_EQ(meldungen.size(), 2u);
    EXPECT_EQ(meldungen[0].rfind("KALDORIN kann nicht instaliert werden", 0), 0u);
    EXPECT_EQ(meldungen[1], "\tDATEIFEHLER:\r\rEs sind nicht alle Dateien vorhanden   (0 )");
}

}  // namespace
}  // namespace kaldorin::test
