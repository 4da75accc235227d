// Start-up: the system warnings, every way out before the wizard, the background and
// the look-up of a recorded installation.

#include <gtest/gtest.h>

#include "doubles/fakes.h"
#include "tests/program/szenario.h"

namespace kaldorin::test {
namespace {

const char* const kProzessor = "Dieses System ist vom Prozessor her nicht geeignet,";
const char* const kAufloesung = "Die aktuelle Bildschirmeinstellung beträgt ";
const char* const kFarbtiefe = "Die Farbtiefe dieses Systems ist kleiner als 16 Bit";

bool Beginnt(const std::string& text, const char* anfang) { return text.rfind(anfang, 0) == 0; }

// The form starts with only its stored controls in view: the groups come with the pages
// (the wizard's tests), the progress bar with the installation.
TEST(Start, AGoodMachineOnlyAsksToCloseApplicationsThenShowsTheForm) {
    Szenario s;
    EXPECT_EQ(s.Ausfuehren(kBisSeite1), 3);
    const auto warnungen = s.Warnungen();
    ASSERT_EQ(warnungen.size(), 2u);  // close-applications prompt, font-size notice
    EXPECT_EQ(warnungen[0],
              "Schließen Sie bitte alle laufenden Anwendungen,|bevor Sie KALDORIN installieren!");
    EXPECT_TRUE(Beginnt(warnungen[1], "HINWEIS:||KALDORIN-Edit bringt zur Zeit"));
    EXPECT_EQ(s.Element("PB_Fortschritt").x, -1000);
    EXPECT_EQ(s.Element("TB_Dir").text, "C:\\Programme\\KALDORIN");
    EXPECT_EQ(s.Element("TB_Von").text, s.host().WindowsPath(s.medium));
    EXPECT_FALSE(s.Element("CB_Rem_DB").ticked);
    EXPECT_TRUE(Beginnt(s.ui().Window(s.p().FRM_Installation).title, "KALDORIN-Edit Setup  2.32-"));
}

TEST(Start, EachWarningStartsAtItsBoundary) {
    // Processor: bits 4 to 11 decide; the bits above them do not.
    struct Fall { const char* fakt; const char* wert; const char* warnung; bool warnt; };
    const Fall faelle[] = {
        {"screen", "800x600", kAufloesung, false}, {"screen", "799x600", kAufloesung, true},
        {"screen", "800x599", kAufloesung, true},  {"colours", "256", kFarbtiefe, true},
        {"colours", "257", kFarbtiefe, false},     {"cpu", "0x500", kProzessor, false},
        {"cpu", "0x4F0", kProzessor, true},        {"cpu", "0xFFFF04F0", kProzessor, true}};
    for (const Fall& f : faelle) {
        Szenario s;
        s.system[f.fakt] = f.wert;
        s.Ausfuehren("answer 2\n");
        int anzahl = 0;
        for (const auto& w : s.Warnungen()) anzahl += Beginnt(w, f.warnung);
        EXPECT_EQ(anzahl, f.warnt ? 1 : 0) << f.wert;
    }
    Szenario s;
    s.system["screen"] = "640x480";
    s.Ausfuehren("answer 2\n");
    EXPECT_EQ(s.Warnungen().at(0),
              "Die aktuelle Bildschirmeinstellung beträgt \t\t640 x 480 Punkte|KALDORIN-Edit "
              "benötig eine minimale Einstellung von\t800 x 600 Punkten|oder besser von 1024 x "
              "768 Punkten.||Wenn KALDORIN-Edit mit der aktuellen Einstellung betrieben wird, "
              "kann es|zu Darstellungsproblemen kommen.||");
}

TEST(Start, BelowFiveHundredTwelveColoursPlainBlueElseAGradientToBlack) {
    Szenario blau;
    blau.system["colours"] = "511";
    blau.Ausfuehren("answer 2\n");
    EXPECT_TRUE(blau.ui().Output(blau.p().Win_1).lines.empty());
    EXPECT_EQ(blau.ui().Window(blau.p().Win_1).backColour, RGB(0, 0, 255));

    Szenario s;
    s.system["screen"] = "1280x1024";
    s.system["colours"] = "512";
    s.Ausfuehren("answer 2\n");
    const auto& linien = s.ui().Output(s.p().Win_1).lines;
    ASSERT_FALSE(linien.empty());  // lines 0 .. H + 100, each across the screen
    EXPECT_EQ(linien.front().y1, 0);
    EXPECT_EQ(linien.back().y1 + linien.back().count - 1, 1024 + 100);
    EXPECT_EQ(linien.front().x2, 1280);
    const std::pair<int, Farbe> farben[] = {
        {0, RGB(160, 160, 255)}, {1, RGB(160, 160, 255)}, {2, RGB(159, 159, 255)},
        {320, RGB(0, 0, 255)},   {321, RGB(0, 0, 255)},   {322, RGB(0, 0, 254)},
        {830, RGB(0, 0, 0)},     {1100, RGB(0, 0, 0)}};
    for (const auto& [y, farbe] : farben) {
        Farbe bei = -1;
        for (const auto& run : linien)
            if (run.y1 <= y && y < run.y1 + run.count) bei = run.colour;
        EXPECT_EQ(bei, farbe) << y;
    }
}

TEST(Start, EveryWayOutBeforeTheWizard) {
    // With all three warnings: "installieren" on the ones before, "abbrechen" on one ends
    // without closing Win_1; "installieren" on all three reaches the wizard.
    for (int warnung = 0; warnung < 4; ++warnung) {
        Szenario s;
        s.system = {{"screen", "640x480"}, {"colours", "256"}, {"cpu", "0x400"}, {"family", "nt"}};
        std::string script;
        for (int i = 0; i < warnung; ++i) script += "answer 1\n";
        const bool alle = warnung == 3;  // then the prompt and the notice follow
        EXPECT_EQ(s.Ausfuehren(script + (alle ? kBisSeite1 + "click CMD_Abbrechen\n" : "answer 2\n")), 0);
        EXPECT_EQ(s.Warnungen().size(), static_cast<size_t>(alle ? 5 : warnung + 1));
        EXPECT_EQ(s.ui().IsOpen(s.p().Win_1), !alle) << warnung;
        EXPECT_FALSE(s.ui().IsOpen(s.p().FRM_Installation)) << warnung;
    }
    // "abbrechen" on the close-applications prompt (which closes the background window
    // first) or the font-size notice, and a declined agreement: no form and no further
    // dialog (one would wait for an answer the script does not give).
    for (const std::string& script :
         {std::string("answer 2\n"), std::string("answer 1\nanswer 2\n"), kStart + "click cbo_Ablehnen\n",
          kStart + "click cbo_Weiter\nclick cbo_Weiter\nclick cbo_Ablehnen\n", kStart + "close Win_3\n"}) {
        Szenario s;
        EXPECT_EQ(s.Ausfuehren(script), 0) << script;
        EXPECT_EQ(s.p().FRM_Installation, 0) << script;
        EXPECT_FALSE(s.ui().IsOpen(s.p().Win_1)) << script;
    }
}

TEST(Start, RemoveButtonOnlyForAnExistingRecordedFolder) {
    // Recorded folder: 0 none, 1 a folder, 2 a file, 3 vanished, 4 a settings file that
    // cannot be read, which counts as no installation and stays untouched.
    for (int fall = 0; fall < 5; ++fall) {
        Szenario s;
        if (fall == 1) s.Schreiben("C:\\Alt\\KALDORIN\\x.txt", "x");
        if (fall == 2) s.Schreiben("C:\\Alt\\KALDORIN", "keine Ordner");
        const std::string ini = s.prefix + "/settings.ini",
                          eintrag = fall == 4 ? "[VORK\\KALDORIN\nDir=C:\\x\n\x01\x02"
                                              : "[VORK\\KALDORIN]\nDir=C:\\Alt\\KALDORIN\n";
        if (fall != 0) Schreibe(ini, eintrag);
        EXPECT_EQ(s.Ausfuehren(kBisSeite1), 3) << fall;
        EXPECT_EQ(s.Element("CMD_Entfernen").available, fall == 1) << fall;
        EXPECT_EQ(Lies(ini), fall == 0 ? "" : eintrag) << fall;  // only read
    }
}

// The default target on a Windows with and without C:\Programme: the old folder where it
// exists, else the user's own programs folder, else the old one again (which the
// installation then reports as not writable).
TEST(Start, DefaultTargetFollowsTheProgrammeFolderElseTheUsersOwn) {
    struct Windows : LeererHost {
        bool programme = false, eigener = true;
        bool FolderExists(std::string_view pfad) override { return programme && pfad == "C:\\Programme"; }
        std::string UserProgramFilesFolder() override {
            if (!eigener) Nicht();
            return "C:\\Users\\Jürgen Groß\\AppData\\Local\\Programs";
        }
    };
    AufzeichnendeFace face;
    Windows host;
    Programm p{Laufzeit{face, host}};
    EXPECT_EQ(Ziel_Vorgabe(p), "C:\\Users\\Jürgen Groß\\AppData\\Local\\Programs\\KALDORIN");
    host.eigener = false;
    EXPECT_EQ(Ziel_Vorgabe(p), "C:\\Programme\\KALDORIN");
    host.programme = true;
    host.eigener = true;
    EXPECT_EQ(Ziel_Vorgabe(p), "C:\\Programme\\KALDORIN");
}

}  // namespace
}  // namespace kaldorin::test
