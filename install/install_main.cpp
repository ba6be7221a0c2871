// kirv-install <folder>: lays out an install folder for Kirv Vorel.
#include "Installer.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

void usage(QTextStream& s) {
    s << "usage: kirv-install <install folder>\n"
         "Lays out the install folder (race database, sounds) and points the settings at it;\n"
         "a race database already in the folder is kept. A folder whose name starts with\n"
         "\"-\" is written as ./-name.\n"
         "  -h, --help  show this text and change nothing\n";
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    // An option is never taken for a folder: "--help" would otherwise become
    // an empty installation that the settings then point at.
    if (args.contains(QStringLiteral("-h")) || args.contains(QStringLiteral("--help"))) {
        usage(out);
        return 0;
    }
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1Char('-'))) {
            err << "kirv-install: unknown option " << arg << "\n";
            usage(err);
            return 2;
        }
    }
    if (args.size() != 1) {
        usage(err);
        return 2;
    }
    const QString folder = args.first();
    const QString previous = kv::Installer::otherDatabaseFolder(folder);
    QString error;
    if (!kv::Installer::install(folder, &error)) {
        err << "kirv-install: " << error << "\n";
        return 1;
    }
    const QString appPath = kv::Installer::appPathOf(folder);
    out << "Installed into " << appPath << "\n";
    if (!previous.isEmpty()) {
        out << "The settings pointed at " << previous
            << ", which holds a race database; that database stays there.\n"
            << "Kirv Vorel now uses " << appPath << " instead.\n";
    }
    return 0;
}
