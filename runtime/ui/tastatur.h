#pragma once
// The keyboard, the same on every desktop face: which control Tab reaches, what Enter,
// Space and Escape do, and which control holds the focus when a window opens, after an
// alert, or when the focused control becomes unavailable or moves out of view.
//
// A face describes the controls of its front window in the order they were made and
// asks here; it only carries out the answer on its own widgets. The headless face has
// no keyboard and uses none of this.

#include <span>

#include "runtime/runtime.h"

namespace kaldorin {

// One control of a window as the keyboard sees it.
struct Tastenziel {
    Handle handle = 0;
    Art art = Art::Label;
    bool gezeigt = false;     // inside its window, not moved out of view
    bool verfuegbar = false;  // not greyed out
};

// Text boxes, buttons and check boxes take the focus while shown and available.
bool Fokussierbar(const Tastenziel& control);

// Where Tab (forward) or Shift+Tab (back) goes from `von`: the next control that takes
// the focus, in creation order, round the end. From a control not in the list (0: no
// focus) Tab reaches the first and Shift+Tab the last. 0 when none takes the focus.
Handle TabZiel(std::span<const Tastenziel> controls, Handle von, bool rueckwaerts);

// The focus of a window that has just opened: `gewuenscht`, the control the program
// gave the focus to, when it takes it; else the first available button; else the first
// control that takes the focus; 0 when none does.
Handle AnfangsFokus(std::span<const Tastenziel> controls, Handle gewuenscht);

enum class Taste { Enter, Leertaste, Escape, Tab, UmschaltTab };
enum class Tastenwirkung { Keine, Druecken, Umschalten, Schliessen, Vor, Zurueck };

// What a key does with the focus on a control of kind `fokus`: Enter and Space press a
// button, Space toggles a check box, Escape is the window's close box, Tab and
// Shift+Tab move the focus. Space in a text box is typing: nothing here.
Tastenwirkung Wirkung(Taste taste, Art fokus);

// Follows the focus of the front window between the user's actions. The face tells it
// what the user and the program did; at the top-level wait it asks where the focus
// belongs and puts it there. Asked only there, never in a handler's middle: a handler
// that greys its own button out while it works and makes it available again leaves
// the focus where it was.
class Tastaturfokus {
public:
    // The program gave the focus to `control` (Face::Focus). It wins at the next check.
    void Verlangt(Handle control) { verlangt_ = control; }
    // The user put the focus on `control` (a click, Tab). 0 changes nothing.
    void Bekommen(Handle control) {
        if (control) fokus_ = control;
    }
    // Where the focus belongs in the front window `fenster` with these controls: the
    // program's wish, else the focus as the user left it, else (that control greyed
    // out or out of view) the next one in tab order; in a window met for the first
    // time, its opening focus. 0 when no control takes it.
    Handle Pruefen(Handle fenster, std::span<const Tastenziel> controls);

    Handle Fokus() const { return fokus_; }

private:
    Handle fenster_ = 0;
    Handle fokus_ = 0;
    Handle verlangt_ = 0;
};

}  // namespace kaldorin
