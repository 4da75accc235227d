// Windows, forms and controls of the headless face: the model and its setters.
#include "runtime/ui/headless/headless_face.h"

#include "runtime/formular.h"
#include "runtime/resources.h"

#include <algorithm>
#include <utility>

namespace kaldorin {
namespace {

const FontState kDefaultFont{"MS Sans Serif", 8, false};

}  // namespace

HeadlessFace::HeadlessFace(const FaceOptions& options, Host& host, Script script, std::ostream* transcript)
    : FaceCore(options, host, std::move(script), transcript) {}

bool HeadlessFace::IsOpen(Handle element) const {
    auto it = elements_.find(element);
    return it != elements_.end() && it->second.open;
}

WindowState HeadlessFace::Window(Handle window) const {
    if (!elements_.at(window).isWindow) throw Laufzeitfehler("\"" + elements_.at(window).Name() + "\" ist kein Fenster.");
    return WindowStateOf(window);
}

ControlState HeadlessFace::Control(Handle control) const {
    if (elements_.at(control).isWindow)
        throw Laufzeitfehler("\"" + elements_.at(control).Name() + "\" ist kein Steuerelement.");
    return ControlStateOf(control);
}

bool HeadlessFace::IsSurface(const Element& e) const {
    return e.isWindow || e.controlState.kind == Art::TextArea || e.controlState.kind == Art::Picture;
}

// --- Windows -----------------------------------------------------------------------

Handle HeadlessFace::OpenWindow(int number, int width, int height, Handle owner) {
    run_.ThrowIfStopping();
    Element e;
    e.isWindow = true;
    e.windowState.name = NewWindowName(number, width, height);
    e.windowState.number = number;
    e.windowState.width = width;
    e.windowState.height = height;
    // A window smaller than the screen opens centred on it.
    e.windowState.x = std::max(0, (ScreenWidth() - width) / 2);
    e.windowState.y = std::max(0, (ScreenHeight() - height) / 2);
    if (owner != 0) e.windowState.owner = GetWindow(owner).Name();
    e.windowState.font = kDefaultFont;
    const Handle h = Add(std::move(e));
    transcript_.Opened(elements_.at(h).windowState);
    return h;
}

void HeadlessFace::CloseWindow(Handle window) {
    const std::string name = GetWindow(window).Name();
    MarkClosed(window);
    for (auto& [handle, e] : elements_)
        if (e.holder == window) MarkClosed(handle);
    transcript_.Closed(name);
}

Handle HeadlessFace::LoadForm(std::string_view resource) {
    run_.ThrowIfStopping();
    FormDescription form = ParseForm(Resource(resource));
    RefuseOpen(form.name, "Das Formular " + form.name + " ist schon geladen.");
    Element f;
    f.isWindow = true;
    f.windowState.name = form.name;
    f.windowState.title = form.title;
    f.windowState.width = form.width;
    f.windowState.height = form.height;
    f.windowState.x = std::max(0, (ScreenWidth() - form.width) / 2);
    f.windowState.y = std::max(0, (ScreenHeight() - form.height) / 2);
    f.windowState.font = kDefaultFont;
    const Handle h = Add(std::move(f));
    transcript_.Opened(elements_.at(h).windowState);
    for (const auto& element : form.elements) {
        const Handle c = CreateControl(h, element.art, element.name, element.text, element.x, element.y,
                                       element.width, element.height);
        ControlState& control = elements_.at(c).controlState;
        control.available = element.available;
        control.font.bold = element.bold;
        if (element.fontSize > 0) control.font.size = element.fontSize;
    }
    return h;
}

Handle HeadlessFace::CreateControl(Handle window, Art art, std::string_view name, std::string_view text,
                                   int x, int y, int width, int height) {
    const Element& w = WindowForNewControl(window, name);
    Element e;
    e.holder = window;
    ControlState& c = e.controlState;
    c.name = name;
    c.kind = art;
    c.window = w.windowState.name;
    c.text = text;
    c.x = x;
    c.y = y;
    c.width = width;
    c.height = height;
    c.maximum = 100;
    c.font = w.windowState.font;  // a new control takes its window's font
    return Add(std::move(e));
}

void HeadlessFace::SetResizable(Handle window, bool resizable) { GetWindow(window).windowState.resizable = resizable; }

// --- Properties --------------------------------------------------------------------

void HeadlessFace::SetText(Handle element, std::string_view text) {
    Element& e = Get(element, "Text");
    (e.isWindow ? e.windowState.title : e.controlState.text) = text;
}

std::string HeadlessFace::Text(Handle element) {
    const Element& e = Get(element, "Text");
    return e.isWindow ? e.windowState.title : e.controlState.text;
}

void HeadlessFace::SetTextColour(Handle element, Farbe colour) { Get(element, "Textfarbe").TextColour() = colour; }

void HeadlessFace::SetBackColour(Handle element, Farbe colour) { Get(element, "Hintergrundfarbe").BackColour() = colour; }

void HeadlessFace::SetToolTip(Handle element, std::string_view text) {
    Element& e = Get(element, "Tooltip");
    if (e.isWindow) throw Laufzeitfehler("Ein Fenster hat keinen Tooltip.");
    e.controlState.toolTip = text;
}

void HeadlessFace::SetIcon(Handle window, std::string_view resource) { GetWindow(window).windowState.icon = resource; }

void HeadlessFace::SetPicture(Handle picture, std::string_view resource) {
    GetKind(picture, Art::Picture, "Bild").controlState.picture = resource;
}

void HeadlessFace::SetTransparent(Handle label, bool transparent) {
    GetKind(label, Art::Label, "Transparenz").controlState.transparent = transparent;
}

void HeadlessFace::SetBorder(Handle textBox, int style) {
    CheckBorder(style);
    GetKind(textBox, Art::TextBox, "Rahmen").controlState.border = style;
}

void HeadlessFace::SetSmooth(Handle progressBar, bool smooth) {
    GetKind(progressBar, Art::ProgressBar, "Fortschritt").controlState.smooth = smooth;
}

void HeadlessFace::SetTicked(Handle checkBox, bool ticked) {
    GetKind(checkBox, Art::CheckBox, "Haken").controlState.ticked = ticked;
}

bool HeadlessFace::Ticked(Handle checkBox) { return GetKind(checkBox, Art::CheckBox, "Haken").controlState.ticked; }

void HeadlessFace::SetProgressMax(Handle progressBar, int maximum) {
    Element& e = GetKind(progressBar, Art::ProgressBar, "Fortschritt");
    CheckProgressMax(maximum);
    e.controlState.maximum = maximum;
}

void HeadlessFace::SetProgress(Handle progressBar, int value) {
    Element& e = GetKind(progressBar, Art::ProgressBar, "Fortschritt");
    CheckProgress(value, e.controlState.maximum);
    e.controlState.value = value;
}

void HeadlessFace::Move(Handle element, int x, int y) {
    Element& e = Get(element, "Position");
    (e.isWindow ? e.windowState.x : e.controlState.x) = x;
    (e.isWindow ? e.windowState.y : e.controlState.y) = y;
}

void HeadlessFace::SetAvailable(Handle control, bool available) {
    Element& e = Get(control, "Verfügbarkeit");
    (e.isWindow ? e.windowState.available : e.controlState.available) = available;
}

bool HeadlessFace::Available(Handle control) { return IsAvailable(Get(control, "Verfügbarkeit")); }

void HeadlessFace::Focus(Handle control) {
    Get(control, "Fokus");
    FocusAsked(control);
}

// --- The display -------------------------------------------------------------------

int HeadlessFace::ScreenWidth() { return options_.screenWidth.value_or(1024); }
int HeadlessFace::ScreenHeight() { return options_.screenHeight.value_or(768); }
int HeadlessFace::ScreenWidthTwips() { return ScreenWidth() * options_.twips.value_or(15); }
int HeadlessFace::ScreenHeightTwips() { return ScreenHeight() * options_.twips.value_or(15); }
std::int64_t HeadlessFace::Colours() { return options_.colours.value_or(16777216); }

}  // namespace kaldorin
