// The real sound player over a whole program run: playing sounds, then ending
// the program, leaves nothing behind that breaks the exit.
#include <QDataStream>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A short mono 16-bit PCM wave file of silence.
bool writeWave(const QString& path) {
    constexpr quint32 rate = 22050;
    const QByteArray samples(int(rate / 10) * 2, '\0');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << quint32(rate * 2) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples.size());
    out.writeRawData(samples.constData(), int(samples.size()));
    return out.status() == QDataStream::Ok;
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void programEndsCleanlyAfterSounds_data() {
        QTest::addColumn<int>("count");
        // The program ends while the first sound is starting.
        QTest::newRow("one sound") << 1;
        QTest::newRow("hundreds of sounds") << 400;
    }
    void programEndsCleanlyAfterSounds() {
        QFETCH(int, count);
        QTemporaryDir dir;
        QStringList arguments{QString::number(count)};
        for (const char* name : {"start.wav", "count.wav", "go.wav"}) {
            arguments << dir.filePath(QString::fromLatin1(name));
            QVERIFY(writeWave(arguments.last()));
        }

        QProcess child;
        child.start(QStringLiteral(SOUND_EXIT_CHILD), arguments);
        QVERIFY2(child.waitForFinished(120000), qPrintable(child.errorString()));
        const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit, qPrintable(errors.right(4000)));
        QVERIFY2(child.exitCode() == 0, qPrintable(errors.right(4000)));
        QVERIFY2(!errors.contains(QStringLiteral("QEventLoop")), qPrintable(errors.right(4000)));
    }
};

QTEST_GUILESS_MAIN(TestSound)
#include "tst_sound.moc"
