// The licence window: button availability on every page however it was reached, what
// the pages show, and the edition check.

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "tests/program/szenario.h"

namespace kaldorin::test {
namespace {

// All printed lines of a surface as text, in line order.
std::string Zeilen(const SurfaceOutput& ausgabe) {
    std::string zeilen;
    for (const auto& [nummer, zeile] : ausgabe.printed) zeilen += zeile.Text() + "\n";
    return zeilen;
}

// Walks a path of page moves and checks the buttons after each one. "Akzeptieren" can be
// pressed only on the last page: every face ignores a click on a greyed-out button.
TEST(Lizenz, ButtonsFollowThePageWhicheverWayItWasReached) {
    for (const std::string weg : {"+++++", "+++++-", "+++++--", "+++++-----", "+-+-++-+", "++-+++++++", "-----+"}) {
        std::string script = kStart;
        for (char c : weg) script += c == '+' ? "click cbo_Weiter\n" : "click cbo_Zurück\n";
        Szenario s;
        EXPECT_EQ(s.Ausfuehren(script), 3) << weg;
        const int seite = s.p().Lizenz_Seite;
        ASSERT_TRUE(seite >= 0 && seite <= 5) << weg;
        // back, next, accept, decline
        EXPECT_EQ((std::array{s.Element("cbo_Zurück").available, s.Element("cbo_Weiter").available,
                              s.Element("cbo_Akzeptieren").available, s.Element("cbo_Ablehnen").available}),
                  (std::array{seite != 0, seite != 5, seite == 5, true}))
            << weg;
    }
}

TEST(Lizenz, WelcomePageIsRedrawnCompletelyOnReturn) {
    Szenario s;
    EXPECT_EQ(s.Ausfuehren(kStart + "click cbo_Weiter\nclick cbo_Zurück\n"), 3);
    EXPECT_EQ(std::make_pair(s.Element("bld").x, s.Element("bld").y), std::make_pair(20, 20));
    const auto& fenster = s.ui().Output(s.p().Win_3);
    ASSERT_EQ(fenster.texts.size(), 1u);
    EXPECT_EQ(std::tuple(fenster.texts[0].text, fenster.texts[0].bold, fenster.texts[0].size),
              std::tuple("Vorkwerk-Gruppe", true, 14));
    EXPECT_TRUE(fenster.printed.empty()) << "page 1's lines above tb1 are gone";
    const auto& text = s.ui().Output(s.p().tb1);
    ASSERT_EQ(text.texts.size(), 1u);
    EXPECT_EQ(text.texts[0].text, "Willkommen zum Setup von KALDORIN-Edit");
    EXPECT_NE(Zeilen(text).find("  WARNUNG:"), std::string::npos);
    EXPECT_EQ(Zeilen(text).find("Lizenzvertrag"), std::string::npos);
    EXPECT_EQ(s.ui().Window(s.p().Win_3).title, "Willkommen");
}

TEST(Lizenz, AgreementPagesShowTheirLayout) {
    Szenario s;
    EXPECT_EQ(s.Ausfuehren(kStart + "click cbo_Weiter\n"), 3);
    EXPECT_EQ(s.Element("bld").x, 1000);
    EXPECT_EQ(s.ui().Window(s.p().Win_3).title, "Lizenzvereinbarung");
    bool rot = false;
    for (const auto& [nr, zeile] : s.ui().Output(s.p().tb1).printed)
        for (const auto& stueck : zeile.pieces)
            if (stueck.text.find("VORK KALDORIN-Edit Lizenzvertrag") != std::string::npos) {
                rot = stueck.bold && stueck.colour == RGB(255, 0, 0);
                EXPECT_EQ(zeile.Text(), std::string(30, ' ') + "VORK KALDORIN-Edit Lizenzvertrag");
            }
    EXPECT_TRUE(rot);
    EXPECT_NE(Zeilen(s.ui().Output(s.p().Win_3)).find(" beendet, ohne KALDORIN-Edit zu installieren."),
              std::string::npos);

    Szenario letzte;
    EXPECT_EQ(letzte.Ausfuehren(kStart + "click cbo_Weiter\nclick cbo_Weiter\nclick "
                                "cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\n"),
              3);
    const std::string zeilen = Zeilen(letzte.ui().Output(letzte.p().tb1));
    EXPECT_NE(zeilen.find("     installieren."), std::string::npos) << "the closing lines of page 5";
    EXPECT_EQ(zeilen.find("VORK KALDORIN-Edit Lizenzvertrag"), std::string::npos);
}

// (A recorded folder without the normal edition's program is no conflict: the wizard's
// tests start from one.)
TEST(Lizenz, InstalledNormalEditionStopsTheSetup) {
    Szenario s;
    s.Schreiben("C:\\KALDORIN\\Kaldorin.exe", "normale Ausgabe");
    Schreibe(s.prefix + "/settings.ini", "[VORK\\KALDORIN]\ndir=C:\\KALDORIN\n");
    EXPECT_EQ(s.Ausfuehren("answer 1\nanswer 1\n"), 0);
    const auto dialoge = s.Dialoge();
    EXPECT_EQ(dialoge.back().op + "|" + dialoge.back().title + "|" + dialoge.back().text,
              "message|KALDORIN|Diese Edit-Version von KALDORIN-Edit kann nicht installiert werden,\nda die "
              "normale KALDORIN Version schon installiert ist!");
    EXPECT_FALSE(s.ui().IsOpen(s.p().Win_1) || s.p().Win_3);
}

}  // namespace
}  // namespace kaldorin::test
