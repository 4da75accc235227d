// Windows, forms and controls of the Win32 face, and the window procedure that turns
// what the user does into queued events.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"
#include <commctrl.h>

#include <algorithm>
#include <set>

#include "runtime/formular.h"
#include "runtime/host/win32/breit.h"
#include "runtime/ui/win32/bibliotheken_w32.h"
#include "runtime/resources.h"
#include "runtime/ui/win32/flaeche_w32.h"
#include "runtime/ui/win32/w32_dpi.h"
#include "runtime/ui/win32/w32_hilfen.h"

namespace kaldorin::w32 {

namespace {

const FontState kStandardschrift{"MS Sans Serif", 8, false};
constexpr wchar_t kFensterKlasse[] = L"KaldorinFenster";
constexpr wchar_t kFlaechenKlasse[] = L"KaldorinFlaeche";

// The one face of this thread, for the window procedures.
Win32Face* gFace = nullptr;

Element* ElementVonHwnd(HWND hwnd) { return gFace ? gFace->ElementVon(hwnd) : nullptr; }

void Malen(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    Element* e = ElementVonHwnd(hwnd);
    if (e && e->flaeche) {
        e->flaeche->Malen(dc, ps.rcPaint);
        gFace->BeschriftungenMalen(hwnd, dc);
    } else {
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
    }
    EndPaint(hwnd, &ps);
}

// Colours of a label, check box or text box, asked by Windows before it draws one.
LRESULT ControlFarben(HDC dc, HWND control, UINT nachricht) {
    Element* e = ElementVonHwnd(control);
    if (!e) return 0;
    const ControlState& z = e->controlState;
    if (z.textColour) SetTextColor(dc, Farbref(*z.textColour));
    if (z.transparent && z.kind == Art::Label) {
        // Without its own background the label shows what lies below: the gradient.
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    if (e->pinsel) {
        SetBkColor(dc, Farbref(*z.backColour));
        return reinterpret_cast<LRESULT>(e->pinsel);
    }
    // Labels and check boxes take the back colour of the surface they sit on.
    if (nachricht == WM_CTLCOLORSTATIC) {
        Element* eltern = ElementVonHwnd(GetParent(control));
        if (eltern && eltern->pinsel) {
            SetBkColor(dc, Farbref(*eltern->windowState.backColour));
            return reinterpret_cast<LRESULT>(eltern->pinsel);
        }
    }
    return 0;
}

// Such a label draws nothing itself: the surface below draws its text on top of what
// it shows, so overlapping labels (the shadowed title) both show.
LRESULT CALLBACK BeschriftungsProzedur(HWND hwnd, UINT nachricht, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    Element* e = ElementVonHwnd(hwnd);
    if (e && Win32Face::VomFensterGemalt(*e)) {
        if (nachricht == WM_ERASEBKGND) return 1;
        if (nachricht == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
    }
    return gebunden::DefSubclassProc(hwnd, nachricht, w, l);
}

LRESULT CALLBACK FensterProzedur(HWND hwnd, UINT nachricht, WPARAM w, LPARAM l) {
    try {
        switch (nachricht) {
            case WM_PAINT:
                Malen(hwnd);
                return 0;
            case WM_ERASEBKGND:
                return 1;  // WM_PAINT covers every pixel
            case WM_CLOSE:
                // The program decides whether the window goes: report the wish only.
                if (Element* e = ElementVonHwnd(hwnd); e && e->isWindow)
                    gFace->Queue(e->windowState.name + "_Close");
                return 0;
            case WM_COMMAND:
                if (HIWORD(w) == BN_CLICKED && l != 0) {
                    if (Element* e = ElementVonHwnd(reinterpret_cast<HWND>(l)))
                        gFace->Queue(e->controlState.name + "_Click");
                    return 0;
                }
                break;
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORBTN: {
                const LRESULT pinsel = ControlFarben(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l), nachricht);
                if (pinsel) return pinsel;
                break;
            }
            case WM_DPICHANGED:
                // Moved to a screen of another DPI: the same layout, at the new scale.
                if (gFace) gFace->DpiWechseln(hwnd, HIWORD(w), *reinterpret_cast<const RECT*>(l));
                return 0;
            case WM_SETCURSOR:
                if (gFace && gFace->Beschaeftigt() && LOWORD(l) == HTCLIENT) {
                    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                    return TRUE;
                }
                break;
        }
    } catch (...) {
        // Nothing may unwind through Windows; a lost event is the lesser harm.
    }
    return DefWindowProcW(hwnd, nachricht, w, l);
}

void KlassenAnmelden() {
    static const bool angemeldet = [] {
        INITCOMMONCONTROLSEX cc{sizeof cc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        gebunden::InitCommonControlsEx(&cc);
        WNDCLASSEXW k{};
        k.cbSize = sizeof k;
        k.lpfnWndProc = FensterProzedur;
        k.hInstance = GetModuleHandleW(nullptr);
        k.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        k.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        k.lpszClassName = kFensterKlasse;
        RegisterClassExW(&k);
        k.hIcon = nullptr;
        k.lpszClassName = kFlaechenKlasse;
        RegisterClassExW(&k);
        return true;
    }();
    (void)angemeldet;
}

constexpr DWORD kRahmenStil = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;

// The screen's size in the program's pixels.
SIZE SchirmInProgrammeinheiten() {
    const int dpi = SystemDpi();
    return SIZE{Programmeinheiten(GetSystemMetrics(SM_CXSCREEN), dpi),
                Programmeinheiten(GetSystemMetrics(SM_CYSCREEN), dpi)};
}

}  // namespace

// --- The face itself ------------------------------------------------------------

Win32Face::Win32Face(const FaceOptions& options, Host& host, std::optional<Script> script,
                     std::ostream* transcript, int halten)
    : FaceCore(options, host, std::move(script), transcript), halten_(halten) {
    gFace = this;
    KlassenAnmelden();
}

Win32Face::~Win32Face() {
    for (auto& [handle, e] : elements_) {
        if (e.isWindow && e.hwnd && IsWindow(e.hwnd)) DestroyWindow(e.hwnd);
        if (e.schrift) DeleteObject(e.schrift);
        if (e.pinsel) DeleteObject(e.pinsel);
    }
    if (gFace == this) gFace = nullptr;
}

Element* Win32Face::ElementVon(HWND hwnd) {
    if (!hwnd) return nullptr;
    const auto handle = static_cast<Handle>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    auto it = elements_.find(handle);
    if (it == elements_.end() || it->second.hwnd != hwnd) return nullptr;
    return &it->second;
}

Element::Element() = default;
Element::Element(Element&&) noexcept = default;
Element::~Element() = default;

Handle Win32Face::Neu(Element element) {
    HWND hwnd = element.hwnd;
    const Handle h = Add(std::move(element));
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(h));
    return h;
}

HWND Win32Face::Hintergrundfenster() const {
    const Handle h = Lookup("Win_1");
    return h && elements_.at(h).open ? elements_.at(h).hwnd : nullptr;
}

std::vector<HWND> Win32Face::OffeneFenster() const {
    std::vector<HWND> fenster;
    for (const auto& [handle, e] : elements_)
        if (e.isWindow && e.open && e.hwnd) fenster.push_back(e.hwnd);
    return fenster;
}

bool Win32Face::VomFensterGemalt(const Element& e) {
    return !e.isWindow && e.controlState.kind == Art::Label && (e.controlState.transparent || !e.controlState.backColour);
}

// Draws the texts of the labels on `fenster` that it paints, in the order they were
// made, so that a later one lies above an earlier one.
void Win32Face::BeschriftungenMalen(HWND fenster, HDC dc) {
    for (auto& [handle, e] : elements_) {
        if (!e.open || !e.hwnd || !VomFensterGemalt(e) || GetParent(e.hwnd) != fenster) continue;
        if (!IsWindowVisible(e.hwnd)) continue;
        RECT r{};
        GetWindowRect(e.hwnd, &r);
        MapWindowPoints(HWND_DESKTOP, fenster, reinterpret_cast<POINT*>(&r), 2);
        const std::wstring text = Breit(e.controlState.text);
        HGDIOBJ alt = SelectObject(dc, e.schrift);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, e.controlState.textColour ? Farbref(*e.controlState.textColour) : GetSysColor(COLOR_WINDOWTEXT));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        SelectObject(dc, alt);
    }
}

// --- Windows -------------------------------------------------------------------

// A window whose inner area is breite x hoehe program pixels, centred; the
// full-screen one covers every real pixel of the screen. `dpi` is set to the DPI the
// window is shown at.
HWND Win32Face::FensterBauen(const std::string& name, const std::string& titel, int breite, int hoehe,
                             HWND besitzer, bool vollbild, int& dpi) {
    const DWORD stil = vollbild ? (WS_POPUP | WS_CLIPSIBLINGS) : kRahmenStil;
    dpi = besitzer ? FensterDpi(besitzer) : SystemDpi();
    const SIZE schirm{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    auto aussen = [&] {
        return vollbild ? schirm : AussenGroesse(stil, 0, Skaliert(breite, dpi), Skaliert(hoehe, dpi), dpi);
    };
    SIZE a = aussen();
    HWND hwnd = CreateWindowExW(0, kFensterKlasse, Breit(titel).c_str(), stil, std::max<int>(0, (schirm.cx - a.cx) / 2),
                                std::max<int>(0, (schirm.cy - a.cy) / 2), a.cx, a.cy, besitzer, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw Laufzeitfehler("Das Fenster " + name + " lässt sich nicht öffnen.");
    if (const int echt = FensterDpi(hwnd); echt != dpi) {
        // Placed on a screen of another DPI than the one it was measured for.
        dpi = echt;
        a = aussen();
        SetWindowPos(hwnd, nullptr, 0, 0, a.cx, a.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return hwnd;
}

int Win32Face::DpiVon(const Element& e) const {
    if (e.isWindow) return e.dpi;
    auto it = elements_.find(e.holder);
    return it == elements_.end() ? kProgrammDpi : it->second.dpi;
}

void Win32Face::DpiWechseln(HWND hwnd, int dpi, const RECT& vorschlag) {
    Element* f = ElementVon(hwnd);
    if (!f || !f->isWindow || dpi <= 0 || dpi == f->dpi) return;
    const int alt = f->dpi;
    f->dpi = dpi;
    const Handle fenster = static_cast<Handle>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    for (auto& [handle, c] : elements_) {
        if (c.isWindow || !c.open || !c.hwnd || c.holder != fenster) continue;
        const RECT o = Ort(c.hwnd);
        auto neu = [&](LONG wert) { return Skaliert(Programmeinheiten(wert, alt), dpi); };
        SetWindowPos(c.hwnd, nullptr, neu(o.left), neu(o.top), neu(o.right - o.left), neu(o.bottom - o.top),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (c.flaeche) c.flaeche->Umskalieren(dpi);
        if (!c.controlState.picture.empty()) SetPicture(handle, c.controlState.picture);  // sharp at the new size
        SchriftAnwenden(c);
    }
    if (f->flaeche) f->flaeche->Umskalieren(dpi);
    SchriftAnwenden(*f);
    const LONG_PTR stil = GetWindowLongPtrW(hwnd, GWL_STYLE);
    RECT innen{};
    GetClientRect(hwnd, &innen);
    const SIZE soll{Skaliert(Programmeinheiten(innen.right, alt), dpi), Skaliert(Programmeinheiten(innen.bottom, alt), dpi)};
    SIZE a = (stil & WS_POPUP) ? SIZE{vorschlag.right - vorschlag.left, vorschlag.bottom - vorschlag.top}
                               : AussenGroesse(static_cast<DWORD>(stil), 0, soll.cx, soll.cy, dpi);
    SetWindowPos(hwnd, nullptr, vorschlag.left, vorschlag.top, a.cx, a.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!(stil & WS_POPUP)) {
        // The frame is as Windows draws it, which need not be what the metrics said.
        GetClientRect(hwnd, &innen);
        if (innen.right != soll.cx || innen.bottom != soll.cy)
            SetWindowPos(hwnd, nullptr, 0, 0, a.cx + soll.cx - innen.right, a.cy + soll.cy - innen.bottom,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
}

Handle Win32Face::OpenWindow(int number, int width, int height, Handle owner) {
    run_.ThrowIfStopping();
    const std::string name = NewWindowName(number, width, height);
    HWND besitzer = owner ? GetWindow(owner).hwnd : nullptr;
    const SIZE schirm = SchirmInProgrammeinheiten();
    const bool vollbild = number == 1 && width >= schirm.cx && height >= schirm.cy;

    Element e;
    e.isWindow = true;
    e.hwnd = FensterBauen(name, "", width, height, besitzer, vollbild, e.dpi);
    RECT innen{};
    GetClientRect(e.hwnd, &innen);
    e.flaeche = std::make_unique<Flaeche>(innen.right, innen.bottom, e.dpi, GetSysColor(COLOR_BTNFACE));
    e.windowState.name = name;
    e.windowState.number = number;
    e.windowState.font = kStandardschrift;
    if (owner) e.windowState.owner = elements_.at(owner).windowState.name;
    const Handle h = Neu(std::move(e));
    SchriftAnwenden(elements_.at(h));
    ShowWindow(elements_.at(h).hwnd, SW_SHOW);
    UpdateWindow(elements_.at(h).hwnd);
    transcript_.Opened(WindowStateOf(h));
    return h;
}

void Win32Face::CloseWindow(Handle window) {
    Element& e = GetWindow(window);
    HWND hwnd = e.hwnd;
    const std::string name = e.windowState.name;
    // The window, the windows it owns (Windows destroys them with it, at any depth)
    // and the controls of all of them close together.
    std::set<HWND> fenster{hwnd};
    for (bool mehr = true; mehr;) {
        mehr = false;
        for (const auto& [handle, element] : elements_) {
            if (!element.isWindow || !element.open || !element.hwnd || fenster.count(element.hwnd)) continue;
            if (fenster.count(::GetWindow(element.hwnd, GW_OWNER))) mehr = fenster.insert(element.hwnd).second;
        }
    }
    for (auto& [handle, element] : elements_) {
        if (!element.open) continue;
        const bool gehoert = element.isWindow ? fenster.count(element.hwnd) > 0
                                                : fenster.count(elements_.at(element.holder).hwnd) > 0;
        if (gehoert) MarkClosed(handle);
    }
    DestroyWindow(hwnd);
    for (auto& [handle, element] : elements_)
        if (!element.open && element.hwnd && !IsWindow(element.hwnd)) element.hwnd = nullptr;
    transcript_.Closed(name);
}

Handle Win32Face::LoadForm(std::string_view resource) {
    run_.ThrowIfStopping();
    const FormDescription form = ParseForm(Resource(resource));
    RefuseOpen(form.name, "Das Formular " + form.name + " ist schon geladen.");
    Element e;
    e.isWindow = true;
    // The form lives on its own, yet stays above the full-screen background.
    e.hwnd = FensterBauen(form.name, form.title, form.width, form.height, Hintergrundfenster(), false, e.dpi);
    e.flaeche = std::make_unique<Flaeche>(Skaliert(form.width, e.dpi), Skaliert(form.height, e.dpi), e.dpi,
                                          GetSysColor(COLOR_BTNFACE));
    e.windowState.name = form.name;
    e.windowState.title = form.title;
    e.windowState.font = kStandardschrift;
    const Handle handle = Neu(std::move(e));
    SchriftAnwenden(elements_.at(handle));
    transcript_.Opened(WindowStateOf(handle));
    for (const FormElement& fe : form.elements) {
        const Handle c = CreateControl(handle, fe.art, fe.name, fe.text, fe.x, fe.y, fe.width, fe.height);
        Element& control = elements_.at(c);
        EnableWindow(control.hwnd, fe.available);
        control.controlState.font.bold = fe.bold;
        if (fe.fontSize > 0) control.controlState.font.size = fe.fontSize;
        SchriftAnwenden(control);
    }
    ShowWindow(elements_.at(handle).hwnd, SW_SHOW);
    UpdateWindow(elements_.at(handle).hwnd);
    return handle;
}

HWND Win32Face::ControlBauen(HWND eltern, Art art, const std::string& text, int x, int y, int breite, int hoehe,
                             Handle handle, int dpi) {
    const wchar_t* klasse = L"STATIC";
    // A frame is drawn everywhere along its edge, also where labels lie above it.
    DWORD stil = WS_CHILD | WS_VISIBLE | (art == Art::Frame ? 0 : WS_CLIPSIBLINGS);
    DWORD erweitert = 0;
    switch (art) {
        case Art::Label: stil |= SS_LEFT | SS_NOPREFIX; break;
        case Art::TextBox:
            klasse = L"EDIT";
            stil |= WS_TABSTOP | ES_AUTOHSCROLL;
            erweitert = WS_EX_CLIENTEDGE;
            break;
        case Art::Button:
            klasse = L"BUTTON";
            stil |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        // A frame only groups visually: a static frame takes no clicks.
        case Art::Frame: stil |= SS_ETCHEDFRAME; break;
        case Art::CheckBox:
            klasse = L"BUTTON";
            stil |= WS_TABSTOP | BS_AUTOCHECKBOX;
            break;
        case Art::ProgressBar: klasse = PROGRESS_CLASSW; break;
        case Art::Picture:
        case Art::TextArea: klasse = kFlaechenKlasse; break;
    }
    HWND hwnd = CreateWindowExW(erweitert, klasse, art == Art::Frame ? L"" : Breit(text).c_str(), stil,
                                Skaliert(x, dpi), Skaliert(y, dpi), Skaliert(std::max(breite, 0), dpi),
                                Skaliert(std::max(hoehe, 0), dpi), eltern,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(handle & 0x7FFF)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw Laufzeitfehler("Das Steuerelement lässt sich nicht anlegen.");
    // A later control lies above an earlier one where they overlap (Windows puts the
    // first child on top); a frame lies below everything it surrounds.
    SetWindowPos(hwnd, art == Art::Frame ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (art == Art::ProgressBar) SendMessageW(hwnd, PBM_SETRANGE32, 0, 100);
    if (art == Art::Label) gebunden::SetWindowSubclass(hwnd, BeschriftungsProzedur, 1, 0);
    return hwnd;
}

Handle Win32Face::CreateControl(Handle window, Art art, std::string_view name, std::string_view text, int x,
                                int y, int width, int height) {
    Element& fenster = WindowForNewControl(window, name);
    const Handle handle = next_;
    Element e;
    e.hwnd = ControlBauen(fenster.hwnd, art, std::string(text), x, y, width, height, handle, fenster.dpi);
    e.holder = window;
    e.controlState.name = std::string(name);
    e.controlState.kind = art;
    e.controlState.window = fenster.windowState.name;
    e.controlState.text = text;
    e.controlState.font = fenster.windowState.font;  // a new control takes its window's font
    if (art == Art::TextArea || art == Art::Picture)
        e.flaeche = std::make_unique<Flaeche>(Skaliert(width, fenster.dpi), Skaliert(height, fenster.dpi), fenster.dpi,
                                              fenster.flaeche->Hintergrund());
    const Handle h = Neu(std::move(e));
    SchriftAnwenden(elements_.at(h));
    return h;
}

void Win32Face::SetResizable(Handle window, bool resizable) {
    Element& e = GetWindow(window);
    e.windowState.resizable = resizable;
    LONG_PTR stil = GetWindowLongPtrW(e.hwnd, GWL_STYLE);
    if (stil & WS_POPUP) return;  // the full-screen window has no frame to change
    RECT innen{};
    GetClientRect(e.hwnd, &innen);
    if (resizable) stil |= WS_THICKFRAME | WS_MAXIMIZEBOX;
    else stil &= ~static_cast<LONG_PTR>(WS_THICKFRAME | WS_MAXIMIZEBOX);
    SetWindowLongPtrW(e.hwnd, GWL_STYLE, stil);
    // The inner area keeps its size when the frame changes.
    const SIZE aussen = AussenGroesse(static_cast<DWORD>(stil), 0, innen.right, innen.bottom, e.dpi);
    SetWindowPos(e.hwnd, nullptr, 0, 0, aussen.cx, aussen.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// --- The display -----------------------------------------------------------------

// The program's pixel is a 96-DPI one at every DPI: 1440 / 96 = 15 twips.
constexpr int kTwipsProPixel = 1440 / kProgrammDpi;

int Win32Face::ScreenWidth() { return options_.screenWidth.value_or(SchirmInProgrammeinheiten().cx); }
int Win32Face::ScreenHeight() { return options_.screenHeight.value_or(SchirmInProgrammeinheiten().cy); }
int Win32Face::ScreenWidthTwips() { return ScreenWidth() * options_.twips.value_or(kTwipsProPixel); }
int Win32Face::ScreenHeightTwips() { return ScreenHeight() * options_.twips.value_or(kTwipsProPixel); }

std::int64_t Win32Face::Colours() {
    if (options_.colours) return *options_.colours;
    HDC dc = GetDC(nullptr);
    const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    ReleaseDC(nullptr, dc);
    // A 32-bit screen shows 24 bits of colour; the rest is alpha or padding.
    return std::int64_t{1} << std::clamp(bits, 1, 24);
}

}  // namespace kaldorin::w32
