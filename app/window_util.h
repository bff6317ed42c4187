// Small helpers shared by the main window's source files.
#pragma once

#include <QColor>
#include <QString>
#include <string_view>

namespace kelv::app {

// The window's see-through key colour (maroon).
inline constexpr QRgb kKeyColour = 0xFF800000;

inline QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline QString C(int n) {
    return QString::number(n);
}

}  // namespace kelv::app
