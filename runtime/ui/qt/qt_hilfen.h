#pragma once
// Conversions at the boundary between the runtime's UTF-8 strings and colour
// integers and Qt's types.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

#include <string>
#include <string_view>

#include "runtime/runtime.h"
#include "runtime/ui/transcript.h"

namespace kaldorin::qt {

inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string U(const QString& text) { return text.toUtf8().toStdString(); }

// Runtime colours are blue * 65536 + green * 256 + red.
inline QColor QFarbe(Farbe farbe) {
    return QColor(farbe & 0xFF, (farbe >> 8) & 0xFF, (farbe >> 16) & 0xFF);
}

inline Farbe LFarbe(const QColor& farbe) { return RGB(farbe.red(), farbe.green(), farbe.blue()); }

// The Qt font for a font the program named.
QFont QSchrift(const FontState& schrift);

// A picture resource (PNG, XPM, BMP) as a pixmap. Throws when it is missing or
// cannot be read.
QPixmap Bild(std::string_view resource);

}  // namespace kaldorin::qt
