#pragma once
// The splash window: the program's picture and version, shown for five seconds
// or until a key is pressed.

#include <QDialog>
#include <QTimer>

class QLabel;

namespace kv {

class frmSplash final : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QString m_strVersion;

    void Form_Load();
    void tmrSplashTime_Timer();
    void Form_KeyPress(int KeyAscii);

    QLabel* lblVersion = nullptr;
    QTimer tmrSplashTime;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_loaded = false;
};

} // namespace kv
