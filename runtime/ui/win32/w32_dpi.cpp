#include "runtime/ui/win32/w32_dpi.h"

#include <map>

namespace kaldorin::w32 {

namespace {

template <typename F>
F User32(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

using FensterDpiFn = UINT(WINAPI*)(HWND);
using AnpassenFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using ParameterFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

}  // namespace

int SystemDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : kProgrammDpi;
}

int FensterDpi(HWND hwnd) {
    static const auto fuerFenster = User32<FensterDpiFn>("GetDpiForWindow");
    if (fuerFenster && hwnd)
        if (const UINT dpi = fuerFenster(hwnd); dpi > 0) return static_cast<int>(dpi);
    return SystemDpi();
}

SIZE AussenGroesse(DWORD stil, DWORD erweitert, int breite, int hoehe, int dpi) {
    static const auto anpassen = User32<AnpassenFn>("AdjustWindowRectExForDpi");
    RECT r{0, 0, breite, hoehe};
    if (anpassen) anpassen(&r, stil, FALSE, erweitert, static_cast<UINT>(dpi));
    else AdjustWindowRectEx(&r, stil, FALSE, erweitert);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

HFONT Nachrichtenschrift(int dpi) {
    static std::map<int, HFONT> schriften;
    if (auto it = schriften.find(dpi); it != schriften.end()) return it->second;
    static const auto fuerDpi = User32<ParameterFn>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW m{};
    m.cbSize = sizeof m;
    if (!fuerDpi || !fuerDpi(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0, static_cast<UINT>(dpi))) {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
        // The system's metrics are for the system DPI; this one may differ.
        m.lfMessageFont.lfHeight = MulDiv(m.lfMessageFont.lfHeight, dpi, SystemDpi());
    }
    return schriften[dpi] = CreateFontIndirectW(&m.lfMessageFont);
}

}  // namespace kaldorin::w32
