#pragma once
// Pictures of the picture buttons that pages share, drawn in code.

#include <QPixmap>

namespace kv {

enum class ButtonPicture {
    Start,   // a green "go" triangle
    Stop,    // a red stop square
    Preview, // a sheet of paper under a magnifier
};

// The picture, size x size pixels, on a transparent background.
QPixmap buttonPicture(ButtonPicture picture, int size);

} // namespace kv
