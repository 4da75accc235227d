#pragma once
// Pictures and icons from the program's resources (PNG, BMP, ICO), decoded by GDI+.

#include <string_view>

#include "runtime/host/win32/windows_w32.h"

namespace kaldorin::w32 {

// The resource as a bitmap, transparent parts on `hintergrund`, its size in the
// program's pixels shown at `dpi`. The caller owns it. Throws Laufzeitfehler when
// the resource is missing or not a picture.
HBITMAP BildLaden(std::string_view resource, COLORREF hintergrund, int dpi);
// The resource as an icon. The caller owns it.
HICON SymbolLaden(std::string_view resource);

}  // namespace kaldorin::w32
