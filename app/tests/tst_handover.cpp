// The hand-over to the updater ends the program: the process goes, and with it
// its hold on the race database, so the updater can replace the program.
#include <QProcess>
#include <QtTest>

class TestHandover : public QObject {
    Q_OBJECT
private slots:
    void programEndsAfterHandOverToUpdater() {
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(KV_HANDOVER_PROGRAM), {});
        QVERIFY(program.waitForStarted(10000));
        while (!program.canReadLine() && program.waitForReadyRead(30000)) {
        }
        QCOMPARE(program.readLine().trimmed(), QByteArray("handing over"));
        // Closing the window ends the program at once; the hand-over must too.
        const bool ended = program.waitForFinished(10000);
        if (!ended) {
            program.kill();
            program.waitForFinished(10000);
        }
        QVERIFY2(ended, "the program still runs after the hand-over");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestHandover)
#include "tst_handover.moc"
