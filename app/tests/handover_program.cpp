// The program around its main window, as tst_handover runs it in a process of
// its own: it starts as the program does (on a throw-away installation), then
// presses "Update", where a stand-in for the update dialog reports that the
// updater has been started.
#include "MainFixture.h"
#include "MiscPage.h"
#include "frmLiveUpdate.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kv::test::MainFixture m;
    if (!m.start())
        return 3;
    kv::frmMain& w = *m.w;
    w.showLiveUpdate = [](kv::frmLiveUpdate& dialog) { dialog.m_blnUpdate = true; };
    w.show();
    QTimer::singleShot(0, &w, [&w] {
        std::puts("handing over");
        std::fflush(stdout);
        w.pageMisc->cmdMiscLiveUpdate->click();
    });
    return QApplication::exec();
}
