// The keyboard rules of the desktop faces, on the controls of the licence window and
// the wizard as the program makes them: tab order, the opening focus, and where the
// focus goes when its control is greyed out or moved out of view.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "runtime/ui/keyboard.h"

namespace kaldorin::test {
namespace {

// The wizard's controls in creation order (a part of them), page 1.
enum : Handle { Bild = 10, Rahmen, Zurueck, Weiter, Abbrechen, Titel, Entfernen, Dir, Von,
                Browse, Browse1, Start, Desk };

std::vector<KeyTarget> Assistent() {
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

KeyTarget& Von_(std::vector<KeyTarget>& liste, Handle h) {
    for (auto& c : liste)
        if (c.handle == h) return c;
    throw std::logic_error("no such control");
}

TEST(Taborder, GoesInCreationOrderOverShownAvailableControlsRoundTheEnd) {
    auto liste = Assistent();
    EXPECT_EQ(TabTarget(liste, Abbrechen, false), Entfernen);
    EXPECT_EQ(TabTarget(liste, Entfernen, false), Weiter) << "out of view and greyed out are skipped";
    EXPECT_EQ(TabTarget(liste, Weiter, true), Entfernen);

    // Page 2: the folder group moves into view, text boxes before their buttons.
    for (Handle h : {Dir, Von, Browse, Browse1}) Von_(liste, h).shown = true;
    Von_(liste, Zurueck).available = true;
    Von_(liste, Entfernen).available = false;
    std::vector<Handle> runde;
    for (Handle h = TabTarget(liste, 0, false); runde.size() < 7; h = TabTarget(liste, h, false))
        runde.push_back(h);
    EXPECT_EQ(runde, (std::vector<Handle>{Zurueck, Weiter, Abbrechen, Dir, Von, Browse, Browse1}));

    // From a control that just lost its place, Tab still goes on from where it stood.
    EXPECT_EQ(TabTarget(liste, Entfernen, false), Dir);

    // With no focus yet, Tab starts at the very first control and Shift+Tab at the last.
    const std::vector<KeyTarget> knoepfe = {{Weiter, Art::Button, true, true},
                                            {Abbrechen, Art::Button, true, true},
                                            {Entfernen, Art::Button, true, true}};
    EXPECT_EQ(TabTarget(knoepfe, 0, false), Weiter);
    EXPECT_EQ(TabTarget(knoepfe, 0, true), Entfernen);
}

TEST(Anfangsfokus, IsTheProgramsChoiceElseTheFirstAvailableButton) {
    auto liste = Assistent();
    // (A wish that can be granted is granted: the other window in KeyboardFocusTracker.)
    EXPECT_EQ(OpeningFocus(liste, Zurueck), Weiter) << "a greyed-out wish is not granted: the first available button";
    // A text box made first does not beat the first button; without buttons it gets it.
    std::vector<KeyTarget> feldZuerst{{Dir, Art::TextBox, true, true}, {Weiter, Art::Button, true, true}};
    EXPECT_EQ(OpeningFocus(feldZuerst, 0), Weiter);
    feldZuerst[1].available = false;
    EXPECT_EQ(OpeningFocus(feldZuerst, 0), Dir);
}

TEST(KeyboardFocusTracker, IsCheckedAfterTheHandlerSoWeiterKeepsItThroughItsOwnClick) {
    auto liste = Assistent();
    KeyboardFocusTracker fokus;
    EXPECT_EQ(fokus.Check(1, liste), Weiter);
    // The handler greys weiter and zurück out while it works (a face may move its own
    // focus to abbrechen meanwhile) and makes them available again: no check in between.
    Von_(liste, Zurueck).available = true;
    for (Handle h : {Dir, Von, Browse, Browse1}) Von_(liste, h).shown = true;
    EXPECT_EQ(fokus.Check(1, liste), Weiter);

    // The user tabs to "suchen"; the folder chooser's handler gives the focus to weiter.
    fokus.Got(Browse);
    fokus.Asked(Weiter);
    EXPECT_EQ(fokus.Check(1, liste), Weiter);
    // A control the user left the focus on moves out of view (or is greyed out: the same
    // rule): the next one gets it (so Enter alone walks the licence window from weiter to
    // akzeptieren).
    fokus.Got(Browse1);
    Von_(liste, Browse1).shown = false;
    for (Handle h : {Start, Desk}) Von_(liste, h).shown = true;
    EXPECT_EQ(fokus.Check(1, liste), Start);
    // Nothing available at all: no focus to give, and the old one is kept for later.
    for (auto& c : liste) c.available = false;
    EXPECT_EQ(fokus.Check(1, liste), 0);

    // Another window in front opens with its own opening focus, whatever came before.
    std::vector<KeyTarget> anderes{{50, Art::Button, true, true}, {51, Art::Button, true, true}};
    fokus.Asked(51);
    EXPECT_EQ(fokus.Check(2, anderes), 51);
    fokus.Got(Weiter);  // a control of another window: the front one's opening focus
    EXPECT_EQ(fokus.Check(2, anderes), 50);
}

TEST(Tasten, EnterAndSpacePressButtonsSpaceTogglesEscapeCloses) {
    EXPECT_EQ(EffectOf(Key::Enter, Art::Button), KeyEffect::Press);
    EXPECT_EQ(EffectOf(Key::Space, Art::Button), KeyEffect::Press);
    EXPECT_EQ(EffectOf(Key::Space, Art::CheckBox), KeyEffect::Toggle);
    EXPECT_EQ(EffectOf(Key::Enter, Art::CheckBox), KeyEffect::None);
    EXPECT_EQ(EffectOf(Key::Space, Art::TextBox), KeyEffect::None) << "typing";
    EXPECT_EQ(EffectOf(Key::Escape, Art::TextBox), KeyEffect::Close);
}

}  // namespace
}  // namespace kaldorin::test
