#include "runtime/ui/win32/flaeche_w32.h"

#include <algorithm>

#include "runtime/ui/win32/w32_dpi.h"

namespace kaldorin::w32 {

Flaeche::Flaeche(int breite, int hoehe, int dpi, COLORREF hintergrund)
    : breite_(std::max(breite, 1)), hoehe_(std::max(hoehe, 1)), dpi_(dpi), hintergrund_(hintergrund) {
    HDC schirm = GetDC(nullptr);
    dc_ = CreateCompatibleDC(schirm);
    bitmap_ = CreateCompatibleBitmap(schirm, breite_, hoehe_);
    ReleaseDC(nullptr, schirm);
    altesBitmap_ = SelectObject(dc_, bitmap_);
    SetBkMode(dc_, TRANSPARENT);
    Leeren();
}

Flaeche::~Flaeche() {
    SelectObject(dc_, altesBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void Flaeche::Merken(RECT bereich) {
    if (IsRectEmpty(&geaendert_)) geaendert_ = bereich;
    else UnionRect(&geaendert_, &geaendert_, &bereich);
}

RECT Flaeche::Geaendert() {
    const RECT r = geaendert_;
    SetRectEmpty(&geaendert_);
    return r;
}

void Flaeche::Leeren() {
    HBRUSH pinsel = CreateSolidBrush(hintergrund_);
    const RECT alles{0, 0, breite_, hoehe_};
    FillRect(dc_, &alles, pinsel);
    DeleteObject(pinsel);
    druckOrt = POINT{0, 0};
    SetRectEmpty(&beschrieben_);
    Merken(alles);
}

void Flaeche::SetzeHintergrund(COLORREF farbe) {
    hintergrund_ = farbe;
    Leeren();
}

POINT Flaeche::Real(POINT programm) const { return POINT{Skaliert(programm.x, dpi_), Skaliert(programm.y, dpi_)}; }

void Flaeche::Linie(POINT von, POINT bis, COLORREF farbe) {
    if (von.x == bis.x || von.y == bis.y) {
        // Upright and level lines cover whole program pixels, so that neighbouring
        // lines (the gradient's bands) tile the surface without gaps at any DPI.
        const POINT a = Real(POINT{std::min(von.x, bis.x), std::min(von.y, bis.y)});
        const POINT b = Real(POINT{std::max(von.x, bis.x) + 1, std::max(von.y, bis.y) + 1});
        const RECT r{a.x, a.y, b.x, b.y};
        HBRUSH pinsel = CreateSolidBrush(farbe);
        FillRect(dc_, &r, pinsel);
        DeleteObject(pinsel);
        Merken(r);
        return;
    }
    const POINT a = Real(von), b = Real(bis);
    HPEN stift = CreatePen(PS_SOLID, std::max(1, Skaliert(1, dpi_)), farbe);
    HGDIOBJ alt = SelectObject(dc_, stift);
    MoveToEx(dc_, a.x, a.y, nullptr);
    LineTo(dc_, b.x, b.y);
    // LineTo leaves out the last point; the runtime's line includes it.
    SetPixel(dc_, b.x, b.y, farbe);
    SelectObject(dc_, alt);
    DeleteObject(stift);
    const int rand = Skaliert(1, dpi_) + 1;
    Merken(RECT{std::min(a.x, b.x) - rand, std::min(a.y, b.y) - rand, std::max(a.x, b.x) + rand,
                std::max(a.y, b.y) + rand});
}

int Flaeche::Text(POINT ort, const std::wstring& text, HFONT schrift, COLORREF farbe) {
    HGDIOBJ alt = SelectObject(dc_, schrift);
    SetTextColor(dc_, farbe);
    SIZE groesse{};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &groesse);
    TextOutW(dc_, ort.x, ort.y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc_, alt);
    const RECT gedruckt{ort.x, ort.y, ort.x + groesse.cx, ort.y + groesse.cy};
    if (IsRectEmpty(&beschrieben_)) beschrieben_ = gedruckt;
    else UnionRect(&beschrieben_, &beschrieben_, &gedruckt);
    Merken(RECT{ort.x - 1, ort.y, ort.x + groesse.cx + 2, ort.y + groesse.cy + 1});
    return groesse.cx;
}

void Flaeche::Bild(HBITMAP bild) {
    BITMAP info{};
    GetObjectW(bild, sizeof info, &info);
    HDC quelle = CreateCompatibleDC(dc_);
    HGDIOBJ alt = SelectObject(quelle, bild);
    BitBlt(dc_, 0, 0, info.bmWidth, info.bmHeight, quelle, 0, 0, SRCCOPY);
    SelectObject(quelle, alt);
    DeleteDC(quelle);
    Merken(RECT{0, 0, info.bmWidth, info.bmHeight});
}

SIZE Flaeche::Masse(HFONT schrift) const {
    HGDIOBJ alt = SelectObject(dc_, schrift);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    SelectObject(dc_, alt);
    return SIZE{tm.tmAveCharWidth, tm.tmHeight + tm.tmExternalLeading};
}

void Flaeche::Umskalieren(int dpi) {
    if (dpi == dpi_) return;
    const int breite = std::max(1, MulDiv(breite_, dpi, dpi_)), hoehe = std::max(1, MulDiv(hoehe_, dpi, dpi_));
    HDC schirm = GetDC(nullptr);
    HBITMAP neu = CreateCompatibleBitmap(schirm, breite, hoehe);
    ReleaseDC(nullptr, schirm);
    HDC ziel = CreateCompatibleDC(dc_);
    HGDIOBJ alt = SelectObject(ziel, neu);
    SetStretchBltMode(ziel, HALFTONE);
    StretchBlt(ziel, 0, 0, breite, hoehe, dc_, 0, 0, breite_, hoehe_, SRCCOPY);
    SelectObject(ziel, alt);
    DeleteDC(ziel);
    SelectObject(dc_, neu);
    DeleteObject(bitmap_);
    bitmap_ = neu;
    druckOrt = POINT{MulDiv(druckOrt.x, dpi, dpi_), MulDiv(druckOrt.y, dpi, dpi_)};
    beschrieben_ = RECT{MulDiv(beschrieben_.left, dpi, dpi_), MulDiv(beschrieben_.top, dpi, dpi_),
                        MulDiv(beschrieben_.right, dpi, dpi_), MulDiv(beschrieben_.bottom, dpi, dpi_)};
    breite_ = breite;
    hoehe_ = hoehe;
    dpi_ = dpi;
    Merken(RECT{0, 0, breite_, hoehe_});
}

void Flaeche::Malen(HDC ziel, const RECT& bereich) const {
    BitBlt(ziel, bereich.left, bereich.top, bereich.right - bereich.left, bereich.bottom - bereich.top, dc_,
           bereich.left, bereich.top, SRCCOPY);
}

}  // namespace kaldorin::w32
