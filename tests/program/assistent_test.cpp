// The wizard: the pages with their groups, texts and buttons, the remove mode, the
// folder choice and the source check.

#include <gtest/gtest.h>

#include <array>

#include "tests/program/szenario.h"

namespace kaldorin::test {
namespace {

// Which of "zurück", "weiter" and "entfernen" can be pressed.
using Zustand = std::array<bool, 3>;
void Knoepfe_Pruefen(Szenario& s, Zustand z, const std::string& wo) {
    EXPECT_EQ((Zustand{s.Element("CMD_Zurück").available, s.Element("CMD_Weiter").available,
                       s.Element("CMD_Entfernen").available}),
              z)
        << wo;
}

// The control groups in view: source, target, options, removal boxes.
void Gruppen_Pruefen(Szenario& s, std::array<bool, 4> sichtbar, const std::string& wo) {
    const std::vector<std::vector<const char*>> gruppen = {
        {"FRM_1", "TB_Von", "CMD_Browse1"}, {"FRM_2", "TB_Dir", "CMD_Browse"},
        {"FRM_4", "CB_Start", "CB_Desk", "CB_Konvert"},
        {"FRM_3", "CB_Rem_FP", "CB_Rem_GP", "CB_Rem_DB", "CB_Rem_PI", "CB_Rem_SO"}};
    for (std::size_t g = 0; g < gruppen.size(); ++g)
        for (const char* n : gruppen[g]) EXPECT_EQ(s.Element(n).x != -1000, sichtbar[g]) << wo << n;
}

// Labels LB_2 .. LB_12 with text, by name.
std::map<std::string, std::string> Texte(Szenario& s) {
    std::map<std::string, std::string> texte;
    for (int i = 2; i <= 12; ++i)
        if (const std::string n = "LB_" + std::to_string(i); !s.Element(n).text.empty()) texte[n] = s.Element(n).text;
    return texte;
}

// A machine with a recorded installation, so the remove button starts available.
void Installiert(Szenario& s) {
    s.Schreiben("C:\\Programme\\KALDORIN\\KALDORIN_Edit.EXE", "x");
    Schreibe(s.prefix + "/settings.ini", "[VORK\\KALDORIN]\nDir=C:\\Programme\\KALDORIN\n");
}

const std::string kLos = "Klicken Sie auf die Schaltfläche 'weiter', um mit";

TEST(Assistent, PagesAndRemoveModeShowTheirGroupsTextsAndButtons) {
    const std::string weiter = "click CMD_Weiter\n", zurueck = "click CMD_Zurück\n", entfernen = "click CMD_Entfernen\n";
    const bool T = true, F = false;
    // The page, the buttons, the groups in view, how many labels have text, and one of them.
    struct Fall { std::string weg; int seite; Zustand knoepfe; std::array<bool, 4> gruppen; std::size_t texte;
                  std::pair<std::string, std::string> text; };
    const Fall faelle[] = {
        {"", 1, {F, T, T}, {F, F, F, F}, 2, {"LB_11", kLos}},
        {weiter, 2, {T, T, F}, {T, T, F, F}, 4, {"LB_4", "Bitte wählen Sie den Ornder aus, aus welchem"}},
        {weiter + weiter, 3, {T, T, F}, {F, F, T, F}, 0, {}},
        {weiter + zurueck, 1, {F, T, F}, {F, F, F, F}, 2, {"LB_12", "der Installation zu beginnen."}},
        {weiter + weiter + zurueck, 2, {T, T, F}, {T, T, F, F}, 4, {"LB_9", "Bitte wählen Sie den Ornder aus, in welchen"}},
        {entfernen, 1, {T, T, F}, {F, F, F, T}, 1, {"LB_12", "Zum löschen von KALDORIN-Edit auf 'weiter' klicken"}},
        {entfernen + zurueck, 1, {F, T, T}, {F, F, F, F}, 2, {"LB_11", kLos}},
    };
    for (const Fall& fall : faelle) {
        Szenario s;
        Installiert(s);
        ASSERT_EQ(s.Ausfuehren(kBisSeite1 + fall.weg), 3) << fall.weg;
        EXPECT_EQ(s.p().Seite, fall.seite) << fall.weg;
        Knoepfe_Pruefen(s, fall.knoepfe, fall.weg);
        Gruppen_Pruefen(s, fall.gruppen, fall.weg);
        EXPECT_EQ(s.Element("LB_1").text, std::string(15, ' ') + "KALDORIN-Edit");
        const auto texte = Texte(s);
        EXPECT_EQ(texte.size(), fall.texte) << fall.weg;
        EXPECT_EQ(fall.texte ? texte.at(fall.text.first) : "", fall.text.second) << fall.weg;
        if (fall.weg == entfernen) { EXPECT_EQ(s.Element("CB_Rem_SO").y, 130); }
    }
    Szenario s;  // the places of the groups shown on page 2
    ASSERT_EQ(s.Ausfuehren(kBisSeite1 + weiter), 3);
    EXPECT_EQ((std::array{s.Element("FRM_1").x, s.Element("TB_Von").y, s.Element("CMD_Browse").x,
                          s.Element("CMD_Browse").y, s.Element("FRM_2").y}),
              (std::array{111, 88, 300, 150, 110}));
}

// The three ways out end the run at once, without a question (which would wait for an
// answer the script does not give); they do not depend on the page.
TEST(Assistent, CancelOrCloseEndsTheWizard) {
    for (const char* ende : {"click CMD_Abbrechen\n", "close FRM_Installation\n", "close Win_1\n"}) {
        Szenario s;
        EXPECT_EQ(s.Ausfuehren(kBisSeite1 + "click CMD_Weiter\nclick CMD_Weiter\n" + ende), 0) << ende;
    }
}

TEST(Assistent, FolderDialogSetsOrKeepsTheFolder) {
    const std::string seite2 = kBisSeite1 + "click CMD_Weiter\n";
    Szenario s;  // a drive root loses its backslash, any other folder too
    ASSERT_EQ(s.Ausfuehren(seite2 + "click CMD_Browse1\nfolder D:\\Daten\n"
                           "click CMD_Browse\nfolder C:\\Ziel\\\nclick CMD_Browse\nfolder\n"
                           "click CMD_Browse\nfolder C:\\\n"),
              3);
    EXPECT_EQ(s.p().Quell_Ordner, "D:\\Daten");
    EXPECT_EQ(s.Element("TB_Von").text, "D:\\Daten");
    EXPECT_EQ(s.p().Start_Ordner, "C:\\Ziel") << "the preselection after C:\\Ziel\\";
    EXPECT_EQ(s.p().Ziel_Ordner, "C:");
    EXPECT_EQ(s.Element("TB_Dir").text, "C:");

    Szenario abbruch;  // a cancelled dialog puts back the folder the box showed before typing
    ASSERT_EQ(abbruch.Ausfuehren(seite2 + "type TB_Dir irgendwas\nclick CMD_Browse\nfolder\n"), 3);
    EXPECT_EQ(abbruch.Element("TB_Dir").text, "C:\\Programme\\KALDORIN");
    EXPECT_EQ(abbruch.ui().FocusName(), "CMD_Weiter");
}

TEST(Assistent, SourceNamingAFileIsRejected) {
    Szenario s;
    s.Schreiben("C:\\medium.zip", "kein Ordner");
    ASSERT_EQ(s.Ausfuehren(kBisSeite1 + "click CMD_Weiter\ntype TB_Von C:\\medium.zip\n"
                           "click CMD_Weiter\nanswer 1\n"),
              3);
    EXPECT_EQ(s.Meldungen(), std::vector<std::string>{"Das Verzeichnis:\r\rC:\\medium.zip\rist noch nicht "
                                                      "vorhanden.\r\rSoll es erstellt werden?"});
    EXPECT_EQ(s.Dialoge().back().title, "Setup");
    EXPECT_EQ(s.p().Seite, 2);
}

}  // namespace
}  // namespace kaldorin::test
