#include "runtime/resources.h"
#include "runtime/runtime.h"

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include "runtime/ui/win32/bild_w32.h"

namespace kaldorin::w32 {

namespace {

// GDI+ for the whole run, started at the first picture.
void GdiplusBereit() {
    static const bool bereit = [] {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput eingabe;
        return Gdiplus::GdiplusStartup(&token, &eingabe, nullptr) == Gdiplus::Ok;
    }();
    if (!bereit) throw Laufzeitfehler("Bilder können nicht angezeigt werden.");
}

template <typename T>
T Dekodieren(std::string_view resource, T (*umwandeln)(Gdiplus::Bitmap&, COLORREF, int), COLORREF hintergrund,
             int dpi) {
    GdiplusBereit();
    const std::string_view daten = Resource(resource);
    IStream* strom = SHCreateMemStream(reinterpret_cast<const BYTE*>(daten.data()), static_cast<UINT>(daten.size()));
    if (!strom) throw Laufzeitfehler("Das Bild \"" + std::string(resource) + "\" kann nicht gelesen werden.");
    T ergebnis{};
    {
        Gdiplus::Bitmap bild(strom);
        if (bild.GetLastStatus() == Gdiplus::Ok) ergebnis = umwandeln(bild, hintergrund, dpi);
    }
    strom->Release();
    if (!ergebnis) throw Laufzeitfehler("Das Bild \"" + std::string(resource) + "\" kann nicht gelesen werden.");
    return ergebnis;
}

HBITMAP AlsBitmap(Gdiplus::Bitmap& bild, COLORREF hintergrund, int dpi) {
    HBITMAP ergebnis = nullptr;
    const Gdiplus::Color grund(255, GetRValue(hintergrund), GetGValue(hintergrund), GetBValue(hintergrund));
    const INT breite = MulDiv(static_cast<int>(bild.GetWidth()), dpi, 96);
    const INT hoehe = MulDiv(static_cast<int>(bild.GetHeight()), dpi, 96);
    // Drawn anew at the real size, smoothly, on the back colour.
    Gdiplus::Bitmap gross(breite, hoehe, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics g(&gross);
        g.Clear(grund);
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        g.DrawImage(&bild, 0, 0, breite, hoehe);
    }
    return gross.GetHBITMAP(grund, &ergebnis) == Gdiplus::Ok ? ergebnis : nullptr;
}

HICON AlsSymbol(Gdiplus::Bitmap& bild, COLORREF, int) {
    HICON ergebnis = nullptr;
    return bild.GetHICON(&ergebnis) == Gdiplus::Ok ? ergebnis : nullptr;
}

}  // namespace

HBITMAP BildLaden(std::string_view resource, COLORREF hintergrund, int dpi) {
    return Dekodieren<HBITMAP>(resource, AlsBitmap, hintergrund, dpi);
}

HICON SymbolLaden(std::string_view resource) { return Dekodieren<HICON>(resource, AlsSymbol, 0, 96); }

}  // namespace kaldorin::w32
