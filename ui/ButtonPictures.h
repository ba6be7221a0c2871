#pragma once
// Pictures of the picture buttons that pages share, drawn in code.

#include <QPixmap>
#include <QString>

class QToolButton;
class QWidget;

namespace kv {

enum class ButtonPicture {
    Start,   // a green "go" triangle
    Stop,    // a red stop square
    Preview, // a sheet of paper under a magnifier
    Delete,  // a red cross
};

// The picture, size x size pixels, on a transparent background.
QPixmap buttonPicture(ButtonPicture picture, int size);

// A picture button with its system name at a place in twips, named by its
// purpose for assistive technology.
QToolButton* addPictureButton(const char* name, QWidget* parent, int left, int top, int width,
                              int height, ButtonPicture picture, const QString& purpose);

} // namespace kv
