#include "runtime/ui/win32/flaeche_w32.h"

#include <algorithm>

namespace kaldorin::w32 {

Flaeche::Flaeche(int breite, int hoehe, COLORREF hintergrund)
    : breite_(std::max(breite, 1)), hoehe_(std::max(hoehe, 1)), hintergrund_(hintergrund) {
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
    Merken(alles);
}

void Flaeche::SetzeHintergrund(COLORREF farbe) {
    hintergrund_ = farbe;
    Leeren();
}

void Flaeche::Linie(POINT von, POINT bis, COLORREF farbe) {
    HPEN stift = CreatePen(PS_SOLID, 1, farbe);
    HGDIOBJ alt = SelectObject(dc_, stift);
    MoveToEx(dc_, von.x, von.y, nullptr);
    LineTo(dc_, bis.x, bis.y);
    // LineTo leaves out the last point; the runtime's line includes it.
    SetPixel(dc_, bis.x, bis.y, farbe);
    SelectObject(dc_, alt);
    DeleteObject(stift);
    Merken(RECT{std::min(von.x, bis.x) - 1, std::min(von.y, bis.y) - 1, std::max(von.x, bis.x) + 2,
                std::max(von.y, bis.y) + 2});
}

int Flaeche::Text(POINT ort, const std::wstring& text, HFONT schrift, COLORREF farbe) {
    HGDIOBJ alt = SelectObject(dc_, schrift);
    SetTextColor(dc_, farbe);
    SIZE groesse{};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &groesse);
    TextOutW(dc_, ort.x, ort.y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc_, alt);
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

void Flaeche::Malen(HDC ziel, const RECT& bereich) const {
    BitBlt(ziel, bereich.left, bereich.top, bereich.right - bereich.left, bereich.bottom - bereich.top, dc_,
           bereich.left, bereich.top, SRCCOPY);
}

}  // namespace kaldorin::w32
