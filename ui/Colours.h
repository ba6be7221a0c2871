#pragma once
// The colours this system paints its windows, texts and indicators in.

#include <QColor>

namespace kv {

// A colour written the way this system writes its colours: &HBBGGRR, blue in the
// high byte and red in the low byte.
constexpr QColor bgr(unsigned value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

namespace Colours {
inline constexpr QColor Green = bgr(0x00C000);
inline constexpr QColor Red = bgr(0x0000FF);
inline constexpr QColor Blue = bgr(0xFF0000);
inline constexpr QColor DarkRed = bgr(0x0000C0);
// The grey every window is drawn on.
inline constexpr QColor WindowGrey = bgr(0xC0C0C0);
// The lighter grey of boxes and buttons on the dialogs that mark them out.
inline constexpr QColor LightGrey = bgr(0xE0E0E0);
} // namespace Colours

} // namespace kv
