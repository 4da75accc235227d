// Start-up: the system warnings, every way out before the wizard, the background and
// the look-up of a recorded installation.

#include <gtest/gtest.h>

#include <fstream>

#include "tests/program/szenario.h"

namespace kaldorin::test {
namespace {

const char* const kProzessor = "Dieses System ist vom Prozessor her nicht geeignet,";
const char* const kAufloesung = "Die aktuelle Bildschirmeinstellung beträgt ";
const char* const kFarbtiefe = "Die Farbtiefe dieses Systems ist kleiner als 16 Bit";
const char* const kSchliessen = "Schließen Sie bitte alle laufenden Anwendungen,";

bool Beginnt(const std::string& text, const char* anfang) { return text.rfind(anfang, 0) == 0; }

int Anzahl(const std::vector<std::string>& texte, const char* anfang) {
    int n = 0;
    for (const auto& t : texte) n += Beginnt(t, anfang);
    return n;
}

TEST(Start, AGoodMachineOnlyAsksToCloseApplications) {
    Szenario s;
    EXPECT_EQ(s.Ausfuehren(kBisSeite1 + "click CMD_Abbrechen\n"), 0);
    auto warnungen = s.Warnungen();
    ASSERT_EQ(warnungen.size(), 2u);  // close-applications prompt, font-size notice
    EXPECT_EQ(warnungen[0],
              "Schließen Sie bitte alle laufenden Anwendungen,|bevor Sie KALDORIN installieren!");
    EXPECT_TRUE(Beginnt(warnungen[1], "HINWEIS:||KALDORIN-Edit bringt zur Zeit"));
    EXPECT_EQ(s.p().Seite, 1);
    EXPECT_FALSE(s.ui().IsOpen(s.p().Win_1));
    EXPECT_FALSE(s.ui().IsOpen(s.p().FRM_Installation));
}

TEST(Start, ResolutionWarningStartsBelow800x600) {
    struct Fall { const char* bild; bool warnt; };
    for (Fall fall : {Fall{"800x600", false}, Fall{"799x600", true}, Fall{"800x599", true},
                      Fall{"640x480", true}}) {
        Szenario s;
        s.system["screen"] = fall.bild;
        // A warning takes one more answer; "abbrechen" on it ends the program.
        s.Ausfuehren(fall.warnt ? "answer 2\n" : "answer 2\n");
        const auto warnungen = s.Warnungen();
        ASSERT_FALSE(warnungen.empty()) << fall.bild;
        EXPECT_EQ(Beginnt(warnungen[0], kAufloesung), fall.warnt) << fall.bild;
    }
}

TEST(Start, ResolutionWarningNamesWidthThenHeight) {
    Szenario s;
    s.system["screen"] = "640x480";
    s.Ausfuehren("answer 1\n");
    EXPECT_EQ(s.Warnungen().at(0),
              "Die aktuelle Bildschirmeinstellung beträgt \t\t640 x 480 Punkte|KALDORIN-Edit "
              "benötig eine minimale Einstellung von\t800 x 600 Punkten|oder besser von 1024 x "
              "768 Punkten.||Wenn KALDORIN-Edit mit der aktuellen Einstellung betrieben wird, "
              "kann es|zu Darstellungsproblemen kommen.||");
}

TEST(Start, ColourDepthDecidesBackgroundAndWarning) {
    struct Fall { const char* farben; bool warnt; bool verlauf; };
    for (Fall fall : {Fall{"256", true, false}, Fall{"257", false, false},
                      Fall{"511", false, false}, Fall{"512", false, true}}) {
        Szenario s;
        s.system["colours"] = fall.farben;
        s.Ausfuehren("answer 2\n");
        EXPECT_EQ(Anzahl(s.Warnungen(), kFarbtiefe), fall.warnt ? 1 : 0) << fall.farben;
        const auto& ausgabe = s.ui().Output(s.p().Win_1);
        const auto fenster = s.ui().Window(s.p().Win_1);
        if (fall.verlauf) {
            EXPECT_FALSE(ausgabe.lines.empty()) << fall.farben;
        } else {
            EXPECT_TRUE(ausgabe.lines.empty()) << fall.farben;
            EXPECT_EQ(fenster.backColour, RGB(0, 0, 255)) << fall.farben;
        }
    }
}

TEST(Start, GradientRunsFromLightBlueThroughBlueToBlack) {
    Szenario s;
    s.system["screen"] = "1280x1024";
    s.Ausfuehren("answer 2\n");
    const auto& linien = s.ui().Output(s.p().Win_1).lines;
    // Lines 0 .. H + 100, each across the screen.
    ASSERT_FALSE(linien.empty());
    EXPECT_EQ(linien.front().y1, 0);
    EXPECT_EQ(linien.back().y1 + linien.back().count - 1, 1024 + 100);
    EXPECT_EQ(linien.front().x2, 1280);
    EXPECT_EQ(linien.front().colour, RGB(160, 160, 255));
    auto farbe_bei = [&](int y) {
        for (const auto& run : linien)
            if (run.y1 <= y && y < run.y1 + run.count) return run.colour;
        return -1;
    };
    EXPECT_EQ(farbe_bei(1), RGB(160, 160, 255));
    EXPECT_EQ(farbe_bei(2), RGB(159, 159, 255));
    EXPECT_EQ(farbe_bei(320), RGB(0, 0, 255));
    EXPECT_EQ(farbe_bei(321), RGB(0, 0, 255));
    EXPECT_EQ(farbe_bei(322), RGB(0, 0, 254));
    EXPECT_EQ(farbe_bei(830), RGB(0, 0, 0));
    EXPECT_EQ(farbe_bei(1100), RGB(0, 0, 0));
}

TEST(Start, OldProcessorWarnsAndInstallierenGoesOn) {
    Szenario s;
    s.system["cpu"] = "0x435";  // family 4
    EXPECT_EQ(s.Ausfuehren("answer 1\n" + kBisSeite1 + "click CMD_Abbrechen\n"), 0);
    EXPECT_TRUE(Beginnt(s.Warnungen().at(0), kProzessor));
    EXPECT_EQ(s.p().Seite, 1);  // the wizard was reached

    Szenario abbruch;
    abbruch.system["cpu"] = "0x435";
    EXPECT_EQ(abbruch.Ausfuehren("answer 2\n"), 0);
    EXPECT_EQ(abbruch.Warnungen().size(), 1u);
    EXPECT_EQ(abbruch.p().FRM_Installation, 0);

    Szenario pentium;
    pentium.system["cpu"] = "0x52c";
    pentium.Ausfuehren("answer 2\n");
    EXPECT_EQ(Anzahl(pentium.Warnungen(), kProzessor), 0);
}

TEST(Start, ProcessorWarningFollowsFamilyAndModelOnly) {
    // Bits 4 to 11 decide; the stepping below and the bits above them do not.
    struct Fall { const char* cpu; bool warnt; };
    for (Fall fall : {Fall{"0x500", false}, Fall{"0x4F0", true}, Fall{"0x4FF", true},
                      Fall{"0xFFFF04F0", true}, Fall{"0x7000500", false}}) {
        Szenario s;
        s.system["cpu"] = fall.cpu;
        s.Ausfuehren("answer 2\n");
        EXPECT_EQ(Anzahl(s.Warnungen(), kProzessor), fall.warnt ? 1 : 0) << fall.cpu;
    }
}

TEST(Start, EveryWayOutBeforeTheWizard) {
    Szenario alle;
    alle.system = {{"screen", "640x480"}, {"colours", "256"}, {"cpu", "0x400"}, {"family", "nt"}};
    // Each warning in turn: "installieren" on the ones before, "abbrechen" on it.
    for (int warnung = 0; warnung < 3; ++warnung) {
        Szenario s;
        s.system = alle.system;
        std::string script;
        for (int i = 0; i < warnung; ++i) script += "answer 1\n";
        EXPECT_EQ(s.Ausfuehren(script + "answer 2\n"), 0);
        EXPECT_EQ(s.Warnungen().size(), static_cast<size_t>(warnung + 1));
        EXPECT_TRUE(s.ui().IsOpen(s.p().Win_1)) << "a warning ends without closing Win_1";
        EXPECT_EQ(s.p().FRM_Installation, 0);
    }
    // The close-applications prompt closes the background window first.
    Szenario prompt;
    EXPECT_EQ(prompt.Ausfuehren("answer 2\n"), 0);
    EXPECT_TRUE(Beginnt(prompt.Warnungen().at(0), kSchliessen));
    EXPECT_FALSE(prompt.ui().IsOpen(prompt.p().Win_1));
    // "abbrechen" on the font-size notice, and a declined agreement: no further message.
    for (const std::string& script :
         {std::string("answer 1\nanswer 2\n"), kStart + "click cbo_Ablehnen\n",
          kStart + "click cbo_Weiter\nclick cbo_Weiter\nclick cbo_Ablehnen\n",
          kStart + "close Win_3\n"}) {
        Szenario s;
        EXPECT_EQ(s.Ausfuehren(script), 0) << script;
        EXPECT_TRUE(s.Meldungen().empty()) << script;
        EXPECT_EQ(s.p().FRM_Installation, 0) << script;
        EXPECT_EQ(s.p().Lizenz_Akzeptiert, 0) << script;
        EXPECT_FALSE(s.ui().IsOpen(s.p().Win_1)) << script;
    }
}

TEST(Start, RemoveButtonOnlyForAnExistingRecordedFolder) {
    struct Fall { const char* name; bool ordner; bool datei; bool verfuegbar; };
    for (Fall fall : {Fall{"kein Eintrag", false, false, false},
                      Fall{"Ordner", true, false, true},
                      Fall{"Datei", false, true, false},
                      Fall{"verschwunden", false, false, false}}) {
        Szenario s;
        if (fall.ordner) s.Schreiben("C:\\Alt\\KALDORIN\\x.txt", "x");
        if (fall.datei) s.Schreiben("C:\\Alt\\KALDORIN", "keine Ordner");
        if (std::string(fall.name) != "kein Eintrag")
            std::ofstream(s.prefix + "/settings.ini")
                << "[VORK\\KALDORIN]\nDir=C:\\Alt\\KALDORIN\n";
        EXPECT_EQ(s.Ausfuehren(kBisSeite1), 3) << fall.name;
        EXPECT_EQ(s.Element("CMD_Entfernen").available, fall.verfuegbar) << fall.name;
        EXPECT_EQ(s.p().Installiert_Ordner.empty(), !fall.verfuegbar) << fall.name;
    }
}

TEST(Start, UnreadableSettingsCountAsNoInstallationAndStayUntouched) {
    Szenario s;
    const std::string kaputt = "[VORK\\KALDORIN\nDir=C:\\x\n\x01\x02";
    std::ofstream(s.prefix + "/settings.ini", std::ios::binary) << kaputt;
    EXPECT_EQ(s.Ausfuehren(kBisSeite1), 3);
    EXPECT_FALSE(s.Element("CMD_Entfernen").available);
    std::ifstream datei(s.prefix + "/settings.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(datei), {}), kaputt);
}

TEST(Start, FormStartsWithOnlyItsStoredControlsInView) {
    Szenario s;
    EXPECT_EQ(s.Ausfuehren(kBisSeite1), 3);
    for (const char* name : {"TB_Dir", "TB_Von", "CMD_Browse", "CMD_Browse1", "FRM_1", "FRM_2",
                             "FRM_3", "FRM_4", "CB_Start", "CB_Desk", "CB_Konvert", "CB_Rem_FP",
                             "CB_Rem_SO", "PB_Fortschritt"}) {
        EXPECT_EQ(s.Element(name).x, -1000) << name;
        EXPECT_EQ(s.Element(name).y, -1000) << name;
    }
    EXPECT_EQ(s.Element("TB_Dir").text, "C:\\Programme\\KALDORIN");
    EXPECT_EQ(s.Element("TB_Von").text, s.host().WindowsPath(s.medium));
    EXPECT_TRUE(s.Element("CB_Start").ticked);
    EXPECT_TRUE(s.Element("CB_Konvert").ticked);
    EXPECT_FALSE(s.Element("CB_Rem_DB").ticked);
    EXPECT_EQ(s.Element("PB_Fortschritt").maximum, 11);
    const std::string titel = s.ui().Window(s.p().FRM_Installation).title;
    EXPECT_EQ(titel.rfind("KALDORIN-Edit Setup  2.32-", 0), 0u) << titel;
}

}  // namespace
}  // namespace kaldorin::test
