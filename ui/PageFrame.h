#pragma once
// One page of the main window: a frame with its caption that the toolbar shows
// or hides. Its contents are laid out in twips relative to the frame.

#include <QGroupBox>

namespace kv {

class MainContext;

class PageFrame : public QGroupBox {
    Q_OBJECT
public:
    PageFrame(MainContext& main, const QString& caption, QWidget* parent);

protected:
    MainContext& m_main;
};

} // namespace kv
