// A small program for the sound test: plays the given wave files in turn, as
// many sounds as asked, through the real player, letting the event loop run
// between plays, and then ends the way the main program ends.
//   sound_exit_child <count> <wave file>...
#include "Platform.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3)
        return 2;
    const int count = args.at(1).toInt();
    const QStringList files = args.mid(2);
    int played = 0;
    QTimer next;
    next.setInterval(0);
    QObject::connect(&next, &QTimer::timeout, [&] {
        if (played == count) {
            next.stop();
            QApplication::quit();
            return;
        }
        PlaySound(files.at(played % files.size()), SND_ASYNC);
        ++played;
    });
    next.start();
    return QApplication::exec();
}
