// The keyboard rules of the desktop faces, on the controls of the licence window and
// the wizard as the program makes them: tab order, the opening focus, and where the
// focus goes when its control is greyed out or moved out of view.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "runtime/ui/tastatur.h"

namespace kaldorin::test {
namespace {

// The wizard's controls in creation order (a part of them), page 1.
enum : Handle { Bild = 10, Rahmen, Zurueck, Weiter, Abbrechen, Titel, Entfernen, Dir, Von,
                Browse, Browse1, Start, Desk };

std::vector<Tastenziel> Assistent() {
    return {
        {Bild, Art::Picture, true, true},       {Rahmen, Art::Frame, true, true},
        {Zurueck, Art::Button, true, false},    {Weiter, Art::Button, true, true},
        {Abbrechen, Art::Button, true, true},   {Titel, Art::Label, true, true},
        {Entfernen, Art::Button, true, true},   {Dir, Art::TextBox, false, true},
        {Von, Art::TextBox, false, true},       {Browse, Art::Button, false, true},
        {Browse1, Art::Button, false, true},    {Start, Art::CheckBox, false, true},
        {Desk, Art::CheckBox, false, true},
    };
}

Tastenziel& Von_(std::vector<Tastenziel>& liste, Handle h) {
    for (auto& c : liste)
        if (c.handle == h) return c;
    throw std::logic_error("no such control");
}

TEST(Taborder, GoesInCreationOrderOverShownAvailableControlsRoundTheEnd) {
    auto liste = Assistent();
    EXPECT_EQ(TabZiel(liste, Abbrechen, false), Entfernen);
    EXPECT_EQ(TabZiel(liste, Entfernen, false), Weiter) << "out of view and greyed out are skipped";
    EXPECT_EQ(TabZiel(liste, Weiter, true), Entfernen);
    EXPECT_EQ(TabZiel(liste, 0, true), Entfernen);

    // Page 2: the folder group moves into view, text boxes before their buttons.
    for (Handle h : {Dir, Von, Browse, Browse1}) Von_(liste, h).gezeigt = true;
    Von_(liste, Zurueck).verfuegbar = true;
    Von_(liste, Entfernen).verfuegbar = false;
    std::vector<Handle> runde;
    for (Handle h = TabZiel(liste, 0, false); runde.size() < 7; h = TabZiel(liste, h, false))
        runde.push_back(h);
    EXPECT_EQ(runde, (std::vector<Handle>{Zurueck, Weiter, Abbrechen, Dir, Von, Browse, Browse1}));

    // From a control that just lost its place, Tab still goes on from where it stood.
    EXPECT_EQ(TabZiel(liste, Entfernen, false), Dir);
    EXPECT_EQ(TabZiel(std::vector<Tastenziel>{{Titel, Art::Label, true, true}}, 0, false), 0);

    // With no focus yet, Tab starts at the very first control and Shift+Tab at the last.
    const std::vector<Tastenziel> knoepfe = {{Weiter, Art::Button, true, true},
                                             {Abbrechen, Art::Button, true, true},
                                             {Entfernen, Art::Button, true, true}};
    EXPECT_EQ(TabZiel(knoepfe, 0, false), Weiter);
    EXPECT_EQ(TabZiel(knoepfe, 0, true), Entfernen);
}

TEST(Anfangsfokus, IsTheProgramsChoiceElseTheFirstAvailableButton) {
    auto liste = Assistent();
    EXPECT_EQ(AnfangsFokus(liste, 0), Weiter) << "zurück is greyed out on page 1";
    EXPECT_EQ(AnfangsFokus(liste, Abbrechen), Abbrechen);
    EXPECT_EQ(AnfangsFokus(liste, Zurueck), Weiter) << "a greyed-out wish is not granted";
    // A text box made first does not beat the first button; without buttons it gets it.
    std::vector<Tastenziel> feldZuerst{{Dir, Art::TextBox, true, true}, {Weiter, Art::Button, true, true}};
    EXPECT_EQ(AnfangsFokus(feldZuerst, 0), Weiter);
    feldZuerst[1].verfuegbar = false;
    EXPECT_EQ(AnfangsFokus(feldZuerst, 0), Dir);
    EXPECT_EQ(AnfangsFokus(std::vector<Tastenziel>{}, 0), 0);
}

TEST(Tastaturfokus, IsCheckedAfterTheHandlerSoWeiterKeepsItThroughItsOwnClick) {
    auto liste = Assistent();
    Tastaturfokus fokus;
    EXPECT_EQ(fokus.Pruefen(1, liste), Weiter);
    // The handler greys weiter and zurück out while it works (a face may move its own
    // focus to abbrechen meanwhile) and makes them available again: no check in between.
    Von_(liste, Zurueck).verfuegbar = true;
    for (Handle h : {Dir, Von, Browse, Browse1}) Von_(liste, h).gezeigt = true;
    EXPECT_EQ(fokus.Pruefen(1, liste), Weiter);

    // The user tabs to "suchen"; the folder chooser's handler gives the focus to weiter.
    fokus.Bekommen(Browse);
    fokus.Verlangt(Weiter);
    EXPECT_EQ(fokus.Pruefen(1, liste), Weiter);
    // A control the user left the focus on moves out of view or is greyed out: the next
    // one gets it (so Enter alone walks the licence window from weiter to akzeptieren).
    fokus.Bekommen(Browse1);
    Von_(liste, Browse1).gezeigt = false;
    for (Handle h : {Start, Desk}) Von_(liste, h).gezeigt = true;
    EXPECT_EQ(fokus.Pruefen(1, liste), Start);
    Von_(liste, Start).verfuegbar = false;
    EXPECT_EQ(fokus.Pruefen(1, liste), Desk);
    // Nothing available at all: no focus to give, and the old one is kept for later.
    for (auto& c : liste) c.verfuegbar = false;
    EXPECT_EQ(fokus.Pruefen(1, liste), 0);

    // Another window in front opens with its own opening focus, whatever came before.
    std::vector<Tastenziel> anderes{{50, Art::Button, true, true}, {51, Art::Button, true, true}};
    fokus.Verlangt(51);
    EXPECT_EQ(fokus.Pruefen(2, anderes), 51);
    fokus.Bekommen(Weiter);  // a control of another window: the front one's opening focus
    EXPECT_EQ(fokus.Pruefen(2, anderes), 50);
}

TEST(Tasten, EnterAndSpacePressButtonsSpaceTogglesEscapeCloses) {
    EXPECT_EQ(Wirkung(Taste::Enter, Art::Button), Tastenwirkung::Druecken);
    EXPECT_EQ(Wirkung(Taste::Leertaste, Art::Button), Tastenwirkung::Druecken);
    EXPECT_EQ(Wirkung(Taste::Leertaste, Art::CheckBox), Tastenwirkung::Umschalten);
    EXPECT_EQ(Wirkung(Taste::Enter, Art::CheckBox), Tastenwirkung::Keine);
    EXPECT_EQ(Wirkung(Taste::Leertaste, Art::TextBox), Tastenwirkung::Keine) << "typing";
    EXPECT_EQ(Wirkung(Taste::Escape, Art::TextBox), Tastenwirkung::Schliessen);
}

}  // namespace
}  // namespace kaldorin::test
