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
    // A page names its controls for assistive technology before it is first
    // shown, also controls added after the main window described itself.
    bool event(QEvent* e) override;

    MainContext& m_main;
};

} // namespace kv
