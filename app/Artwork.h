#pragma once
// The program's own pictures, drawn in code: the toolbar buttons and the splash.

#include <QPixmap>

namespace kv {

// The picture of toolbar button `index` (0..5), size x size pixels.
QPixmap toolbarPicture(int index, int size);
// The 600 x 400 splash picture (without the version text).
QPixmap splashPicture();

} // namespace kv
