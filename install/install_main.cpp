// kirv-install <folder>: lays out an install folder for Kirv Vorel.
#include "Installer.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: kirv-install <install folder>\n";
        return 2;
    }
    QString error;
    if (!kv::Installer::install(args.at(1), &error)) {
        err << "kirv-install: " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "Installed into " << kv::Installer::appPathOf(args.at(1)) << "\n";
    return 0;
}
