// Windows, forms and controls of the headless face: the model and its setters.
#include "runtime/ui/headless/headless_face.h"

#include "runtime/formular.h"
#include "runtime/resources.h"

#include <algorithm>
#include <utility>

namespace kaldorin {
namespace {

const FontState kDefaultFont{"MS Sans Serif", 8, false};

[[noreturn]] void Fail(const std::string& what) { throw Laufzeitfehler(what); }

}  // namespace

HeadlessFace::HeadlessFace(const FaceOptions& options, Host& host, Script script, std::ostream* transcript)
    : options_(options), host_(host), script_(std::move(script)), transcript_(transcript) {}

// --- Looking elements up ------------------------------------------------------------

const HeadlessFace::Element& HeadlessFace::Get(Handle element) const {
    auto it = elements_.find(element);
    if (it == elements_.end()) Fail("Ungültiges Element " + std::to_string(element) + ".");
    if (!it->second.open) Fail("Das Element " + NameOf(it->second) + " ist geschlossen.");
    return it->second;
}

HeadlessFace::Element& HeadlessFace::Get(Handle element) {
    return const_cast<Element&>(std::as_const(*this).Get(element));
}

HeadlessFace::Element& HeadlessFace::GetWindow(Handle window) {
    Element& e = Get(window);
    if (!e.isWindow) Fail(NameOf(e) + " ist kein Fenster.");
    return e;
}

HeadlessFace::Element& HeadlessFace::GetControl(Handle control, Art kind) {
    Element& e = Get(control);
    if (e.isWindow || e.control.kind != kind)
        Fail(NameOf(e) + " ist kein Steuerelement der Art " + std::string(KindName(kind)) + ".");
    return e;
}

const std::string& HeadlessFace::NameOf(const Element& e) const {
    return e.isWindow ? e.window.name : e.control.name;
}

FontState& HeadlessFace::FontOf(Element& e) { return e.isWindow ? e.window.font : e.control.font; }

std::optional<Farbe>& HeadlessFace::TextColourOf(Element& e) {
    return e.isWindow ? e.window.textColour : e.control.textColour;
}

Handle HeadlessFace::Lookup(std::string_view name) const {
    Handle closed = 0;
    for (const auto& [handle, e] : elements_) {
        if (NameOf(e) != name) continue;
        if (e.open) return handle;
        closed = handle;
    }
    return closed;
}

Handle HeadlessFace::FindControl(std::string_view name) {
    Handle h = Lookup(name);
    if (h == 0 || !elements_.at(h).open) Fail("Kein Element namens " + std::string(name) + ".");
    return h;
}

bool HeadlessFace::IsOpen(Handle element) const {
    auto it = elements_.find(element);
    return it != elements_.end() && it->second.open;
}

WindowState HeadlessFace::Window(Handle window) const {
    const Element& e = elements_.at(window);
    if (!e.isWindow) Fail(NameOf(e) + " ist kein Fenster.");
    WindowState state = e.window;
    state.output = &e.output;
    return state;
}

ControlState HeadlessFace::Control(Handle control) const {
    const Element& e = elements_.at(control);
    if (e.isWindow) Fail(NameOf(e) + " ist kein Steuerelement.");
    ControlState state = e.control;
    if (state.kind == Art::TextArea) state.output = &e.output;
    return state;
}

const SurfaceOutput& HeadlessFace::Output(Handle surface) const { return elements_.at(surface).output; }

// --- Windows -----------------------------------------------------------------------

Handle HeadlessFace::OpenWindow(int number, int width, int height, Handle owner) {
    run_.ThrowIfStopping();
    std::string name = "Win_" + std::to_string(number);
    if (Handle open = Lookup(name); open != 0 && elements_.at(open).open)
        Fail("Das Fenster " + name + " ist schon offen.");
    if (width <= 0 || height <= 0) Fail("Ungültige Fenstergröße.");
    Element e;
    e.isWindow = true;
    e.window.name = name;
    e.window.number = number;
    e.window.width = width;
    e.window.height = height;
    // A window smaller than the screen opens centred on it.
    e.window.x = std::max(0, (ScreenWidth() - width) / 2);
    e.window.y = std::max(0, (ScreenHeight() - height) / 2);
    if (owner != 0) e.window.owner = NameOf(GetWindow(owner));
    e.window.font = kDefaultFont;
    Handle h = next_++;
    auto& stored = elements_.emplace(h, std::move(e)).first->second;
    transcript_.Opened(stored.window);
    return h;
}

void HeadlessFace::CloseWindow(Handle window) {
    Element& w = GetWindow(window);
    w.open = false;
    for (auto& [handle, e] : elements_)
        if (e.holder == window) e.open = false;
    if (output_ != 0 && !IsOpen(output_)) output_ = 0;
    transcript_.Closed(w.window.name);
}

Handle HeadlessFace::LoadForm(std::string_view resource) {
    run_.ThrowIfStopping();
    FormDescription form = ParseForm(Ressource(resource));
    if (Handle open = Lookup(form.name); open != 0 && elements_.at(open).open)
        Fail("Das Formular " + form.name + " ist schon geladen.");
    Element f;
    f.isWindow = true;
    f.window.name = form.name;
    f.window.title = form.title;
    f.window.width = form.width;
    f.window.height = form.height;
    f.window.x = std::max(0, (ScreenWidth() - form.width) / 2);
    f.window.y = std::max(0, (ScreenHeight() - form.height) / 2);
    f.window.font = kDefaultFont;
    Handle h = next_++;
    transcript_.Opened(elements_.emplace(h, std::move(f)).first->second.window);
    for (const auto& element : form.elements) {
        Handle c = CreateControl(h, element.art, element.name, element.text, element.x, element.y,
                                 element.width, element.height);
        Element& control = elements_.at(c);
        control.control.available = element.available;
        control.control.font.bold = element.bold;
        if (element.fontSize > 0) control.control.font.size = element.fontSize;
    }
    return h;
}

Handle HeadlessFace::CreateControl(Handle window, Art art, std::string_view name, std::string_view text,
                                   int x, int y, int width, int height) {
    Element& w = GetWindow(window);
    if (name.empty()) Fail("Ein Steuerelement braucht einen Namen.");
    if (Handle same = Lookup(name); same != 0 && elements_.at(same).open)
        Fail("Es gibt schon ein Element namens " + std::string(name) + ".");
    Element e;
    e.holder = window;
    ControlState& c = e.control;
    c.name = name;
    c.kind = art;
    c.window = w.window.name;
    c.text = text;
    c.x = x;
    c.y = y;
    c.width = width;
    c.height = height;
    c.maximum = 100;
    c.font = w.window.font;  // a new control takes its window's font
    Handle h = next_++;
    elements_.emplace(h, std::move(e));
    return h;
}

void HeadlessFace::SetResizable(Handle window, bool resizable) { GetWindow(window).window.resizable = resizable; }

// --- Properties --------------------------------------------------------------------

void HeadlessFace::SetText(Handle element, std::string_view text) {
    Element& e = Get(element);
    (e.isWindow ? e.window.title : e.control.text) = text;
}

std::string HeadlessFace::Text(Handle element) {
    const Element& e = Get(element);
    return e.isWindow ? e.window.title : e.control.text;
}

void HeadlessFace::SetFontName(Handle element, std::string_view name) { FontOf(Get(element)).name = name; }

void HeadlessFace::SetFontSize(Handle element, int points) {
    if (points <= 0) Fail("Ungültige Schriftgröße " + std::to_string(points) + ".");
    FontOf(Get(element)).size = points;
}

void HeadlessFace::SetFontBold(Handle element, bool bold) { FontOf(Get(element)).bold = bold; }

void HeadlessFace::SetTextColour(Handle element, Farbe colour) { TextColourOf(Get(element)) = colour; }

void HeadlessFace::SetBackColour(Handle element, Farbe colour) {
    Element& e = Get(element);
    (e.isWindow ? e.window.backColour : e.control.backColour) = colour;
}

void HeadlessFace::SetToolTip(Handle element, std::string_view text) {
    Element& e = Get(element);
    if (e.isWindow) Fail("Ein Fenster hat keinen Tooltip.");
    e.control.toolTip = text;
}

void HeadlessFace::SetIcon(Handle window, std::string_view resource) { GetWindow(window).window.icon = resource; }

void HeadlessFace::SetPicture(Handle picture, std::string_view resource) {
    GetControl(picture, Art::Picture).control.picture = resource;
}

void HeadlessFace::SetTransparent(Handle label, bool transparent) {
    GetControl(label, Art::Label).control.transparent = transparent;
}

void HeadlessFace::SetBorder(Handle textBox, int style) {
    if (style != 0 && style != 1) Fail("Ungültiger Rahmenstil " + std::to_string(style) + ".");
    GetControl(textBox, Art::TextBox).control.border = style;
}

void HeadlessFace::SetSmooth(Handle progressBar, bool smooth) {
    GetControl(progressBar, Art::ProgressBar).control.smooth = smooth;
}

void HeadlessFace::SetAutoRedraw(Handle surface, bool keep) {
    Element& e = Get(surface);
    if (e.isWindow) {
        e.window.autoRedraw = keep;
        return;
    }
    if (e.control.kind != Art::TextArea && e.control.kind != Art::Picture)
        Fail(NameOf(e) + " ist keine Ausgabefläche.");
    e.control.autoRedraw = keep;
}

void HeadlessFace::SetTicked(Handle checkBox, bool ticked) { GetControl(checkBox, Art::CheckBox).control.ticked = ticked; }

bool HeadlessFace::Ticked(Handle checkBox) { return GetControl(checkBox, Art::CheckBox).control.ticked; }

void HeadlessFace::SetProgressMax(Handle progressBar, int maximum) {
    Element& e = GetControl(progressBar, Art::ProgressBar);
    if (maximum < 1) Fail("Ungültiges Maximum " + std::to_string(maximum) + ".");
    e.control.maximum = maximum;
}

void HeadlessFace::SetProgress(Handle progressBar, int value) {
    Element& e = GetControl(progressBar, Art::ProgressBar);
    // Like the real control: a value outside 0..maximum is refused, not clamped.
    if (value < 0 || value > e.control.maximum) Fail("Ungültiger Fortschrittswert " + std::to_string(value) + ".");
    e.control.value = value;
}

void HeadlessFace::Move(Handle element, int x, int y) {
    Element& e = Get(element);
    (e.isWindow ? e.window.x : e.control.x) = x;
    (e.isWindow ? e.window.y : e.control.y) = y;
}

void HeadlessFace::SetAvailable(Handle control, bool available) {
    Element& e = Get(control);
    (e.isWindow ? e.window.available : e.control.available) = available;
}

bool HeadlessFace::Available(Handle control) {
    const Element& e = Get(control);
    return e.isWindow ? e.window.available : e.control.available;
}

void HeadlessFace::Focus(Handle control) { focus_ = NameOf(Get(control)); }

void HeadlessFace::SetMousePointer(int shape) { mousePointer_ = shape; }

// --- The display -------------------------------------------------------------------

int HeadlessFace::ScreenWidth() { return options_.screenWidth.value_or(1024); }
int HeadlessFace::ScreenHeight() { return options_.screenHeight.value_or(768); }
int HeadlessFace::ScreenWidthTwips() { return ScreenWidth() * options_.twips.value_or(15); }
int HeadlessFace::ScreenHeightTwips() { return ScreenHeight() * options_.twips.value_or(15); }
std::int64_t HeadlessFace::Colours() { return options_.colours.value_or(16777216); }

}  // namespace kaldorin
