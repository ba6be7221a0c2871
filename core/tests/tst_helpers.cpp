// The shared helpers: time splitting, quotes, typed numbers.
#include "Helpers.h"

#include <QtTest>

#include <limits>

using namespace kv;

class TestHelpers : public QObject {
    Q_OBJECT
private slots:
    void splitTime_data() {
        QTest::addColumn<qint32>("t");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("ms");
        QTest::newRow("2:05.432") << 125432 << true << 2 << 5 << 432;
        QTest::newRow("zero") << 0 << true << 0 << 0 << 0;
        QTest::newRow("negative") << -1500 << true << 0 << -1 << -500;
        QTest::newRow("last minute that fits")
            << 32767 * 60000 + 59999 << true << 32767 << 59 << 999;
        QTest::newRow("first minute that does not fit") << 32768 * 60000 << false << 0 << 0 << 0;
        QTest::newRow("largest 32-bit time")
            << std::numeric_limits<qint32>::max() << false << 0 << 0 << 0;
        QTest::newRow("-32769 minutes") << -32769 * 60000 << false << 0 << 0 << 0;
        QTest::newRow("-32768 minutes") << -32768 * 60000 << true << -32768 << 0 << 0;
    }
    void splitTime() {
        QFETCH(qint32, t);
        QFETCH(bool, ok);
        qint16 m = 7, s = 7, ms = 7;
        QCOMPARE(SplitTime(t, m, s, ms), ok);
        QTEST(int(m), "minutes");
        QTEST(int(s), "seconds");
        QTEST(int(ms), "ms");
    }

    void replaceQuotes_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("two apostrophes") << "O'Neil's"
                                         << "O?Neil?s";
        QTest::newRow("none") << "Smith"
                              << "Smith";
        QTest::newRow("double quote kept") << "\"Fast\" Eddie"
                                           << "\"Fast\" Eddie";
        QTest::newRow("only quotes") << "''"
                                     << "??";
    }
    void replaceQuotes() {
        QFETCH(QString, in);
        QTEST(ReplaceQuotes(in), "out");
    }

    void fieldToString_data() {
        QTest::addColumn<QVariant>("field");
        QTest::addColumn<QString>("text");
        QTest::newRow("null text") << QVariant(QMetaType::fromType<QString>()) << "";
        QTest::newRow("invalid") << QVariant() << "";
        QTest::newRow("text") << QVariant("Anna") << "Anna";
        QTest::newRow("number") << QVariant(27.145) << "27.145";
        QTest::newRow("whole") << QVariant(qlonglong(12)) << "12";
    }
    void fieldToString() {
        QFETCH(QVariant, field);
        QTEST(FieldToString(field), "text");
    }

    void val_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("version") << "1.3" << 1.3;
        QTest::newRow("trailing letter") << "1.3a" << 1.3;
        QTest::newRow("no digits") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("blank") << " " << 0.0;
        QTest::newRow("leading blanks") << "  12" << 12.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("comma stops") << "27,145" << 27.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("bare e") << "3e" << 3.0;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("leading zeros") << "007" << 7.0;
    }
    void val() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Val(text), value);
        QCOMPARE(ValOrInfinity(text), value);
    }

    // A number too large to read is not 0 to a limit check.
    void valOrInfinity_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("val");
        QTest::addColumn<double>("unbounded");
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("too large") << "1e400" << 0.0 << inf;
        QTest::newRow("too large, negative") << "-1e400 laps" << 0.0 << -inf;
        QTest::newRow("too many digits") << QString(400, QChar('9')) << 0.0 << inf;
        QTest::newRow("too small is 0") << "1e-400" << 0.0 << 0.0;
    }
    void valOrInfinity() {
        QFETCH(QString, text);
        QTEST(Val(text), "val");
        QTEST(ValOrInfinity(text), "unbounded");
    }

    void toInt16_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("half to even down") << "2.5" << true << 2;
        QTest::newRow("half to even up") << "3.5" << true << 4;
        QTest::newRow("negative half") << "-2.5" << true << -2;
        QTest::newRow("max") << "32767" << true << 32767;
        QTest::newRow("too big") << "32768" << false << 99;
        QTest::newRow("rounds over max") << "32767.5" << false << 99;
        QTest::newRow("garbage") << "x" << true << 0;
    }
    void toInt16() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        qint16 v = 99;
        QCOMPARE(ToInt16(text, v), ok);
        QTEST(int(v), "value");
    }

    // Only such text reaches a statement as a setting.
    void wholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << "7" << true << 7;
        QTest::newRow("negative") << "-12" << true << -12;
        QTest::newRow("32-bit max") << "2147483647" << true << 2147483647;
        QTest::newRow("beyond 32 bits") << "2147483648" << false << 99;
        QTest::newRow("empty") << "" << false << 99;
        QTest::newRow("sign only") << "-" << false << 99;
        QTest::newRow("fraction") << "5.0" << false << 99;
        QTest::newRow("blank around") << " 5" << false << 99;
        QTest::newRow("an expression") << "4 OR 1=1" << false << 99;
        QTest::newRow("Arabic-Indic digit") << QString(QChar(0x0665)) << false << 99;
    }
    void wholeNumber() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        qint32 v = 99;
        QCOMPARE(WholeNumber(text, v), ok);
        QTEST(int(v), "value");
    }
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "tst_helpers.moc"
