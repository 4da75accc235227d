#pragma once
// A drawing surface that keeps what was drawn into it: the body of a window or a
// text area or picture. Lines, text and pictures go into a memory bitmap that
// WM_PAINT copies to the screen, so the drawing survives every repaint. The bitmap
// has the real pixels of the window's DPI; lines come in the program's pixels and
// are drawn as wide as one of those.

#include <string>

#include "runtime/host/win32/windows_w32.h"
#include "runtime/runtime.h"

namespace kaldorin::w32 {

// A runtime colour (blue * 65536 + green * 256 + red) as a COLORREF: the same layout.
inline COLORREF Farbref(Farbe farbe) { return static_cast<COLORREF>(farbe) & 0xFFFFFF; }

class Flaeche {
public:
    // `breite` x `hoehe` real pixels, shown at `dpi`.
    Flaeche(int breite, int hoehe, int dpi, COLORREF hintergrund);
    ~Flaeche();
    Flaeche(const Flaeche&) = delete;
    Flaeche& operator=(const Flaeche&) = delete;

    // Fills the surface with its back colour and puts the print position top left.
    void Leeren();
    void SetzeHintergrund(COLORREF farbe);
    COLORREF Hintergrund() const { return hintergrund_; }

    // A line between two points in the program's pixels, both ends included.
    void Linie(POINT von, POINT bis, COLORREF farbe);
    // Draws text with its top left at `ort` (real pixels) in `schrift`; returns the
    // width drawn.
    int Text(POINT ort, const std::wstring& text, HFONT schrift, COLORREF farbe);
    // Puts a bitmap at the top left, as large as it is.
    void Bild(HBITMAP bild);
    // Line height and average character width of `schrift`.
    SIZE Masse(HFONT schrift) const;

    // The program's pixel at x, y in real pixels.
    POINT Real(POINT programm) const;
    // Shows the surface at `dpi`, its drawing stretched to the new size.
    void Umskalieren(int dpi);
    int Dpi() const { return dpi_; }
    SIZE Groesse() const { return SIZE{breite_, hoehe_}; }
    // Where text was drawn since the surface was last cleared (real pixels).
    RECT Beschrieben() const { return beschrieben_; }

    // Copies the part `bereich` to the screen.
    void Malen(HDC ziel, const RECT& bereich) const;
    // The area that changed since the last call, for InvalidateRect.
    RECT Geaendert();

    POINT druckOrt{0, 0};

private:
    void Merken(RECT bereich);

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ altesBitmap_ = nullptr;
    int breite_ = 1, hoehe_ = 1;
    int dpi_;
    RECT beschrieben_{0, 0, 0, 0};
    COLORREF hintergrund_;
    RECT geaendert_{0, 0, 0, 0};
};

}  // namespace kaldorin::w32
