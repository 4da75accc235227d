#pragma once
// A drawing surface that keeps what was drawn into it: the body of a window or a
// text area or picture. Lines, text and pictures go into a memory bitmap that
// WM_PAINT copies to the screen, so the drawing survives every repaint.

#include <string>

#include "runtime/host/win32/windows_w32.h"
#include "runtime/runtime.h"

namespace kaldorin::w32 {

// A runtime colour (blue * 65536 + green * 256 + red) as a COLORREF: the same layout.
inline COLORREF Farbref(Farbe farbe) { return static_cast<COLORREF>(farbe) & 0xFFFFFF; }

class Flaeche {
public:
    Flaeche(int breite, int hoehe, COLORREF hintergrund);
    ~Flaeche();
    Flaeche(const Flaeche&) = delete;
    Flaeche& operator=(const Flaeche&) = delete;

    // Fills the surface with its back colour and puts the print position top left.
    void Leeren();
    void SetzeHintergrund(COLORREF farbe);
    COLORREF Hintergrund() const { return hintergrund_; }

    void Linie(POINT von, POINT bis, COLORREF farbe);
    // Draws text with its top left at `ort` in `schrift`; returns the width drawn.
    int Text(POINT ort, const std::wstring& text, HFONT schrift, COLORREF farbe);
    // Puts a bitmap at the top left, as large as it is.
    void Bild(HBITMAP bild);
    // Line height and average character width of `schrift`.
    SIZE Masse(HFONT schrift) const;

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
    COLORREF hintergrund_;
    RECT geaendert_{0, 0, 0, 0};
};

}  // namespace kaldorin::w32
