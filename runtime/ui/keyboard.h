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
struct KeyTarget {
    Handle handle = 0;
    Art kind = Art::Label;
    bool shown = false;      // inside its window, not moved out of view
    bool available = false;  // not greyed out
};

// Text boxes, buttons and check boxes take the focus while shown and available.
bool TakesFocus(const KeyTarget& control);

// Where Tab (forward) or Shift+Tab (back) goes from `from`: the next control that takes
// the focus, in creation order, round the end. From a control not in the list (0: no
// focus) Tab reaches the first and Shift+Tab the last. 0 when none takes the focus.
Handle TabTarget(std::span<const KeyTarget> controls, Handle from, bool back);

// The focus of a window that has just opened: `wished`, the control the program gave
// the focus to, when it takes it; else the first available button; else the first
// control that takes the focus; 0 when none does.
Handle OpeningFocus(std::span<const KeyTarget> controls, Handle wished);

enum class Key { Enter, Space, Escape, Tab, ShiftTab };
enum class KeyEffect { None, Press, Toggle, Close, Forward, Back };

// What a key does with the focus on a control of kind `focus`: Enter and Space press a
// button, Space toggles a check box, Escape is the window's close box, Tab and
// Shift+Tab move the focus. Space in a text box is typing: nothing here.
KeyEffect EffectOf(Key key, Art focus);

// Follows the focus of the front window between the user's actions. The face tells it
// what the user and the program did; at the top-level wait it asks where the focus
// belongs and puts it there. Asked only there, never in a handler's middle: a handler
// that greys its own button out while it works and makes it available again leaves
// the focus where it was.
class KeyboardFocusTracker {
public:
    // The program gave the focus to `control` (Face::Focus). It wins at the next check.
    void Asked(Handle control) { asked_ = control; }
    // The user put the focus on `control` (a click, Tab). 0 changes nothing.
    void Got(Handle control) {
        if (control) focus_ = control;
    }
    // Where the focus belongs in the front window `window` with these controls: the
    // program's wish, else the focus as the user left it, else (that control greyed
    // out or out of view) the next one in tab order; in a window met for the first
    // time, its opening focus. 0 when no control takes it.
    Handle Check(Handle window, std::span<const KeyTarget> controls);

    Handle Focus() const { return focus_; }

private:
    Handle window_ = 0;
    Handle focus_ = 0;
    Handle asked_ = 0;
};

}  // namespace kaldorin
