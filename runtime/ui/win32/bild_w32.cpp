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
T Dekodieren(std::string_view resource, T (*umwandeln)(Gdiplus::Bitmap&, COLORREF), COLORREF hintergrund) {
    GdiplusBereit();
    const std::string_view daten = Ressource(resource);
    IStream* strom = SHCreateMemStream(reinterpret_cast<const BYTE*>(daten.data()), static_cast<UINT>(daten.size()));
    if (!strom) throw Laufzeitfehler("Das Bild \"" + std::string(resource) + "\" kann nicht gelesen werden.");
    T ergebnis{};
    {
        Gdiplus::Bitmap bild(strom);
        if (bild.GetLastStatus() == Gdiplus::Ok) ergebnis = umwandeln(bild, hintergrund);
    }
    strom->Release();
    if (!ergebnis) throw Laufzeitfehler("Das Bild \"" + std::string(resource) + "\" kann nicht gelesen werden.");
    return ergebnis;
}

HBITMAP AlsBitmap(Gdiplus::Bitmap& bild, COLORREF hintergrund) {
    HBITMAP ergebnis = nullptr;
    const Gdiplus::Color grund(255, GetRValue(hintergrund), GetGValue(hintergrund), GetBValue(hintergrund));
    return bild.GetHBITMAP(grund, &ergebnis) == Gdiplus::Ok ? ergebnis : nullptr;
}

HICON AlsSymbol(Gdiplus::Bitmap& bild, COLORREF) {
    HICON ergebnis = nullptr;
    return bild.GetHICON(&ergebnis) == Gdiplus::Ok ? ergebnis : nullptr;
}

}  // namespace

HBITMAP BildLaden(std::string_view resource, COLORREF hintergrund) {
    return Dekodieren<HBITMAP>(resource, AlsBitmap, hintergrund);
}

HICON SymbolLaden(std::string_view resource) { return Dekodieren<HICON>(resource, AlsSymbol, 0); }

}  // namespace kaldorin::w32
