// The real save dialog as the program sets it up: a name typed without a
// suffix gets the default suffix before the dialog asks whether an existing
// file may be replaced.
#include "Platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace kv;

class TestFileDialog : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void typedNameTakesTheSuffixBeforeTheReplaceQuestion_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("asked");
        QTest::newRow("bare name of an existing report") << "ow2"
                                                         << "ow2.pdf" << true;
        QTest::newRow("name with the suffix") << "ow2.pdf"
                                              << "ow2.pdf" << true;
        QTest::newRow("new bare name") << "new"
                                       << "new.pdf" << false;
    }
    void typedNameTakesTheSuffixBeforeTheReplaceQuestion() {
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        QFETCH(bool, asked);
        QFile existing(dir.filePath("ow2.pdf"));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();

        QFileDialog dialog;
        ConfigureSaveDialog(dialog,
                            {QStringLiteral("Export report"), dir.filePath("Results A-Final.pdf"),
                             QStringLiteral("PDF files (*.pdf)"), QStringLiteral("pdf")});
        QCOMPARE(dialog.directory().absolutePath(), QDir(dir.path()).absolutePath());
        QCOMPARE(QFileInfo(dialog.selectedFiles().value(0)).fileName(), "Results A-Final.pdf");

        // The replace question is a modal box: read it and answer No.
        QString question;
        QTimer::singleShot(0, this, [&question] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                question = box->text();
                box->button(QMessageBox::No)->click();
            }
        });
        dialog.selectFile(typed);
        dialog.setResult(QDialog::Rejected);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        buttons->button(QDialogButtonBox::Save)->click();
        QCOMPARE(dialog.selectedFiles().value(0), dir.filePath(chosen));
        if (asked) {
            QVERIFY2(question.startsWith(chosen + " already exists."), qPrintable(question));
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        } else {
            QVERIFY2(question.isEmpty(), qPrintable(question));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
    }
};

QTEST_MAIN(TestFileDialog)
#include "tst_filedialog.moc"
