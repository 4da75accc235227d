#include "runtime/ui/keyboard.h"

#include <algorithm>

namespace kaldorin {

namespace {

bool Contains(std::span<const KeyTarget> controls, Handle h) {
    return h != 0 && std::any_of(controls.begin(), controls.end(), [h](const KeyTarget& c) { return c.handle == h; });
}

bool Takes(std::span<const KeyTarget> controls, Handle h) {
    return h != 0 && std::any_of(controls.begin(), controls.end(),
                                 [h](const KeyTarget& c) { return c.handle == h && TakesFocus(c); });
}

}  // namespace

bool TakesFocus(const KeyTarget& control) {
    const bool kind = control.kind == Art::TextBox || control.kind == Art::Button || control.kind == Art::CheckBox;
    return kind && control.shown && control.available;
}

Handle TabTarget(std::span<const KeyTarget> controls, Handle from, bool back) {
    const auto n = static_cast<std::ptrdiff_t>(controls.size());
    if (n == 0) return 0;
    const auto it = std::find_if(controls.begin(), controls.end(), [from](const KeyTarget& c) { return c.handle == from; });
    // From outside the list, start just before the first (or after the last) place.
    std::ptrdiff_t i = it != controls.end() ? it - controls.begin() : (back ? 0 : n - 1);
    for (std::ptrdiff_t step = 0; step < n; ++step) {
        i = (i + (back ? n - 1 : 1)) % n;
        if (TakesFocus(controls[static_cast<std::size_t>(i)])) return controls[static_cast<std::size_t>(i)].handle;
    }
    return 0;
}

Handle OpeningFocus(std::span<const KeyTarget> controls, Handle wished) {
    if (Takes(controls, wished)) return wished;
    for (const KeyTarget& c : controls)
        if (c.kind == Art::Button && TakesFocus(c)) return c.handle;
    return TabTarget(controls, 0, false);
}

KeyEffect EffectOf(Key key, Art focus) {
    switch (key) {
        case Key::Tab: return KeyEffect::Forward;
        case Key::ShiftTab: return KeyEffect::Back;
        case Key::Escape: return KeyEffect::Close;
        case Key::Enter: return focus == Art::Button ? KeyEffect::Press : KeyEffect::None;
        case Key::Space:
            if (focus == Art::Button) return KeyEffect::Press;
            return focus == Art::CheckBox ? KeyEffect::Toggle : KeyEffect::None;
    }
    return KeyEffect::None;
}

Handle KeyboardFocusTracker::Check(Handle window, std::span<const KeyTarget> controls) {
    Handle target = 0;
    if (window != window_ || !Contains(controls, focus_)) {
        target = OpeningFocus(controls, asked_);
    } else if (Takes(controls, asked_)) {
        target = asked_;
    } else {
        // The focused control still takes the focus, or the next one in tab order does.
        target = Takes(controls, focus_) ? focus_ : TabTarget(controls, focus_, false);
    }
    window_ = window;
    asked_ = 0;
    if (target) focus_ = target;
    return target;
}

}  // namespace kaldorin
