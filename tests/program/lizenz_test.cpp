// The licence window: button availability on every page however it was reached, what
// the pages show, and the edition check.

#include <gtest/gtest.h>

#include <fstream>

#include "tests/program/szenario.h"

namespace kaldorin::test {
namespace {

struct Knoepfe {
    bool zurueck, weiter, akzeptieren;
};

Knoepfe Erwartet(int seite) {
    if (seite == 0) return {false, true, false};
    if (seite == 5) return {true, false, true};
    return {true, true, false};
}

// All printed lines of a surface as text, in line order.
std::vector<std::string> Zeilen(const SurfaceOutput& ausgabe) {
    std::vector<std::string> zeilen;
    for (const auto& [nummer, zeile] : ausgabe.printed) zeilen.push_back(zeile.Text());
    return zeilen;
}

bool Enthaelt(const std::vector<std::string>& zeilen, const std::string& text) {
    for (const auto& z : zeilen)
        if (z.find(text) != std::string::npos) return true;
    return false;
}

// Walks a path of page moves and checks the buttons after each one.
TEST(Lizenz, ButtonsFollowThePageWhicheverWayItWasReached) {
    const std::string wege[] = {"+++++", "+++++-", "+++++--", "+++++-----", "+-+-++-+",
                                "++-+++++++", "-----+"};
    for (const std::string& weg : wege) {
        std::string script = kStart;
        for (char c : weg) script += c == '+' ? "click cbo_Weiter\n" : "click cbo_Zurück\n";
        Szenario s;
        EXPECT_EQ(s.Ausfuehren(script), 3) << weg;
        const int seite = s.p().Lizenz_Seite;
        ASSERT_GE(seite, 0);
        ASSERT_LE(seite, 5);
        const Knoepfe k = Erwartet(seite);
        EXPECT_EQ(s.Element("cbo_Zurück").available, k.zurueck) << weg;
        EXPECT_EQ(s.Element("cbo_Weiter").available, k.weiter) << weg;
        EXPECT_EQ(s.Element("cbo_Akzeptieren").available, k.akzeptieren) << weg;
        EXPECT_TRUE(s.Element("cbo_Ablehnen").available) << weg;
    }
}

TEST(Lizenz, OnlyTheLastPageAccepts) {
    Szenario s;
    // Clicks on "Akzeptieren" before page 5 are ignored; the one on page 5 counts.
    const std::string script = kStart + "click cbo_Akzeptieren\nclick cbo_Weiter\nclick "
                               "cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\nclick "
                               "cbo_Akzeptieren\nclick cbo_Weiter\nclick cbo_Akzeptieren\n";
    EXPECT_EQ(s.Ausfuehren(script), 3);
    EXPECT_EQ(s.p().Lizenz_Akzeptiert, 255);
    EXPECT_EQ(s.p().Seite, 1);
    EXPECT_NE(s.Transkript().find("\"ignored\""), std::string::npos);
}

TEST(Lizenz, WelcomePageIsRedrawnCompletelyOnReturn) {
    Szenario s;
    EXPECT_EQ(s.Ausfuehren(kStart + "click cbo_Weiter\nclick cbo_Zurück\n"), 3);
    const auto bild = s.Element("bld");
    EXPECT_EQ(bild.x, 20);
    EXPECT_EQ(bild.y, 20);
    const auto& fenster = s.ui().Output(s.p().Win_3);
    ASSERT_EQ(fenster.texts.size(), 1u);
    EXPECT_EQ(fenster.texts[0].text, "Vorkwerk-Gruppe");
    EXPECT_TRUE(fenster.texts[0].bold);
    EXPECT_EQ(fenster.texts[0].size, 14);
    EXPECT_TRUE(fenster.printed.empty()) << "page 1's lines above tb1 are gone";
    const auto& text = s.ui().Output(s.p().tb1);
    ASSERT_EQ(text.texts.size(), 1u);
    EXPECT_EQ(text.texts[0].text, "Willkommen zum Setup von KALDORIN-Edit");
    const auto zeilen = Zeilen(text);
    EXPECT_TRUE(Enthaelt(zeilen, "  WARNUNG:"));
    EXPECT_FALSE(Enthaelt(zeilen, "Lizenzvertrag"));
    EXPECT_EQ(s.ui().Window(s.p().Win_3).title, "Willkommen");
}

TEST(Lizenz, AgreementPagesShowTheirLayout) {
    Szenario s;
    EXPECT_EQ(s.Ausfuehren(kStart + "click cbo_Weiter\n"), 3);
    EXPECT_EQ(s.Element("bld").x, 1000);
    EXPECT_EQ(s.ui().Window(s.p().Win_3).title, "Lizenzvereinbarung");
    const auto& text = s.ui().Output(s.p().tb1);
    bool rot = false;
    for (const auto& [nr, zeile] : text.printed)
        for (const auto& stueck : zeile.pieces)
            if (stueck.text.find("VORK KALDORIN-Edit Lizenzvertrag") != std::string::npos) {
                rot = stueck.bold && stueck.colour == RGB(255, 0, 0);
                EXPECT_EQ(zeile.Text(), std::string(30, ' ') + "VORK KALDORIN-Edit Lizenzvertrag");
            }
    EXPECT_TRUE(rot);
    const auto oben = Zeilen(s.ui().Output(s.p().Win_3));
    EXPECT_TRUE(Enthaelt(oben, " beendet, ohne KALDORIN-Edit zu installieren."));

    Szenario letzte;
    EXPECT_EQ(letzte.Ausfuehren(kStart + "click cbo_Weiter\nclick cbo_Weiter\nclick "
                                "cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\n"),
              3);
    const auto zeilen = Zeilen(letzte.ui().Output(letzte.p().tb1));
    EXPECT_TRUE(Enthaelt(zeilen, "     installieren.")) << "the closing lines of page 5";
    EXPECT_FALSE(Enthaelt(zeilen, "VORK KALDORIN-Edit Lizenzvertrag"));
}

TEST(Lizenz, InstalledNormalEditionStopsTheSetup) {
    Szenario s;
    s.Schreiben("C:\\KALDORIN\\Kaldorin.exe", "normale Ausgabe");
    std::ofstream(s.prefix + "/settings.ini") << "[VORK\\KALDORIN]\ndir=C:\\KALDORIN\n";
    EXPECT_EQ(s.Ausfuehren("answer 1\nanswer 1\n"), 0);
    const auto dialoge = s.Dialoge();
    ASSERT_EQ(dialoge.size(), 2u);
    EXPECT_EQ(dialoge[1].op, "message");
    EXPECT_EQ(dialoge[1].title, "KALDORIN");
    EXPECT_EQ(dialoge[1].text,
              "Diese Edit-Version von KALDORIN-Edit kann nicht installiert werden,\nda die "
              "normale KALDORIN Version schon installiert ist!");
    EXPECT_FALSE(s.ui().IsOpen(s.p().Win_1));
    EXPECT_EQ(s.p().Win_3, 0);

    // A recorded folder without the normal edition's program is no conflict.
    Szenario ohne;
    ohne.Schreiben("C:\\KALDORIN\\KALDORIN_Edit.EXE", "x");
    std::ofstream(ohne.prefix + "/settings.ini") << "[VORK\\KALDORIN]\nDir=C:\\KALDORIN\n";
    EXPECT_EQ(ohne.Ausfuehren(kBisSeite1), 3);
    EXPECT_TRUE(ohne.Meldungen().empty());
}

}  // namespace
}  // namespace kaldorin::test
