// Kirv Vorel: race management for model-car meetings timed by the Kirv lap counter.
#include "frmMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kirv Vorel"));
    kv::frmMain window;
    if (!window.Form_Load())
        return 1;
    window.show();
    return QApplication::exec();
}
