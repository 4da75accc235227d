#include "runtime/resources.h"
#include "runtime/runtime.h"

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <gdiplus.h>

#include "runtime/ui/win32/bibliotheken_w32.h"

#include "runtime/ui/win32/bild_w32.h"

namespace kaldorin::w32 {

namespace gebunden {

namespace {
namespace gdi = Gdiplus::DllExports;
Bibliothekseintrag gGdiplus{nullptr, L"gdiplus.dll"};
}  // namespace

// The functions of GDI+ the pictures need, bound at the first picture. The macro writes
// each name once, so the name looked up is always the function's own.
Funktion<decltype(&Gdiplus::GdiplusStartup)> GdiplusStartup{{nullptr, &gGdiplus, "GdiplusStartup"}};
#define KALDORIN_GDIP(name) Funktion<decltype(&gdi::name)> name{{nullptr, &gGdiplus, #name}}
KALDORIN_GDIP(GdipCreateBitmapFromStream);
KALDORIN_GDIP(GdipCreateBitmapFromScan0);
KALDORIN_GDIP(GdipGetImageWidth);
KALDORIN_GDIP(GdipGetImageHeight);
KALDORIN_GDIP(GdipGetImageGraphicsContext);
KALDORIN_GDIP(GdipGraphicsClear);
KALDORIN_GDIP(GdipSetInterpolationMode);
KALDORIN_GDIP(GdipSetPixelOffsetMode);
KALDORIN_GDIP(GdipDrawImageRectI);
KALDORIN_GDIP(GdipDeleteGraphics);
KALDORIN_GDIP(GdipCreateHBITMAPFromBitmap);
KALDORIN_GDIP(GdipCreateHICONFromBitmap);
KALDORIN_GDIP(GdipDisposeImage);
#undef KALDORIN_GDIP

}  // namespace gebunden

namespace {

using Gdiplus::GpBitmap;
using Gdiplus::GpGraphics;

// GDI+ for the whole run, started at the first picture.
void GdiplusBereit() {
    static const bool bereit = [] {
        try {
            ULONG_PTR token = 0;
            Gdiplus::GdiplusStartupInput eingabe;
            return gebunden::GdiplusStartup(&token, &eingabe, nullptr) == Gdiplus::Ok;
        } catch (const Laufzeitfehler&) {
            return false;  // no GDI+ on this system
        }
    }();
    if (!bereit) throw Laufzeitfehler("Bilder können nicht angezeigt werden.");
}

// A GDI+ bitmap, disposed of at the end of its scope.
struct Bitmap {
    GpBitmap* bild = nullptr;
    ~Bitmap() {
        if (bild) gebunden::GdipDisposeImage(bild);
    }
};

template <typename T>
T Dekodieren(std::string_view resource, T (*umwandeln)(GpBitmap*, COLORREF, int), COLORREF hintergrund, int dpi) {
    GdiplusBereit();
    const std::string_view daten = Resource(resource);
    IStream* strom = SHCreateMemStream(reinterpret_cast<const BYTE*>(daten.data()), static_cast<UINT>(daten.size()));
    if (!strom) throw Laufzeitfehler("Das Bild \"" + std::string(resource) + "\" kann nicht gelesen werden.");
    T ergebnis{};
    {
        Bitmap bild;
        if (gebunden::GdipCreateBitmapFromStream(strom, &bild.bild) == Gdiplus::Ok)
            ergebnis = umwandeln(bild.bild, hintergrund, dpi);
    }
    strom->Release();
    if (!ergebnis) throw Laufzeitfehler("Das Bild \"" + std::string(resource) + "\" kann nicht gelesen werden.");
    return ergebnis;
}

HBITMAP AlsBitmap(GpBitmap* bild, COLORREF hintergrund, int dpi) {
    UINT breite = 0, hoehe = 0;
    gebunden::GdipGetImageWidth(bild, &breite);
    gebunden::GdipGetImageHeight(bild, &hoehe);
    const INT b = MulDiv(static_cast<int>(breite), dpi, 96), h = MulDiv(static_cast<int>(hoehe), dpi, 96);
    const Gdiplus::ARGB grund = Gdiplus::Color::MakeARGB(255, GetRValue(hintergrund), GetGValue(hintergrund),
                                                         GetBValue(hintergrund));
    // Drawn anew at the real size, smoothly, on the back colour.
    Bitmap gross;
    if (gebunden::GdipCreateBitmapFromScan0(b, h, 0, PixelFormat32bppARGB, nullptr, &gross.bild) != Gdiplus::Ok)
        return nullptr;
    GpGraphics* g = nullptr;
    if (gebunden::GdipGetImageGraphicsContext(gross.bild, &g) != Gdiplus::Ok) return nullptr;
    gebunden::GdipGraphicsClear(g, grund);
    gebunden::GdipSetInterpolationMode(g, Gdiplus::InterpolationModeHighQualityBicubic);
    gebunden::GdipSetPixelOffsetMode(g, Gdiplus::PixelOffsetModeHalf);
    gebunden::GdipDrawImageRectI(g, bild, 0, 0, b, h);
    gebunden::GdipDeleteGraphics(g);
    HBITMAP ergebnis = nullptr;
    return gebunden::GdipCreateHBITMAPFromBitmap(gross.bild, &ergebnis, grund) == Gdiplus::Ok ? ergebnis : nullptr;
}

HICON AlsSymbol(GpBitmap* bild, COLORREF, int) {
    HICON ergebnis = nullptr;
    return gebunden::GdipCreateHICONFromBitmap(bild, &ergebnis) == Gdiplus::Ok ? ergebnis : nullptr;
}

}  // namespace

HBITMAP BildLaden(std::string_view resource, COLORREF hintergrund, int dpi) {
    return Dekodieren<HBITMAP>(resource, AlsBitmap, hintergrund, dpi);
}

HICON SymbolLaden(std::string_view resource) { return Dekodieren<HICON>(resource, AlsSymbol, 0, 96); }

}  // namespace kaldorin::w32
