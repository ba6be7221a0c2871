// The shared helpers: time splitting, quotes, typed numbers, stored dates.
#include "Helpers.h"

#include <QtTest>

#include <ctime>
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

    // The list form of a stored date and time reads the usual form itself; every
    // value, odd ones included, reads as the single form reads it, in the zone
    // and the regional form in force. The values of a row go through one list
    // form, as the rows of a list do.
    void dateTimeTextsAsSingle_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("locale"); // empty: the system's
        QTest::addColumn<QVariantList>("stored");
        const auto row = [](const char* name, const char* zone, const char* locale,
                            const QVariantList& stored) {
            QTest::newRow(name) << QByteArray(zone) << QString::fromLatin1(locale) << stored;
        };
        row("usual", "UTC", "", {"2026-05-01 10:07:09"});
        row("year's end", "UTC", "", {"2026-12-31 23:59:59"});
        row("leap day", "UTC", "", {"2024-02-29 00:00:00"});
        row("no leap day", "UTC", "", {"2023-02-29 10:00:00"});
        row("hour 24", "UTC", "", {"2026-05-01 24:00:00"});
        row("month 13", "UTC", "", {"2026-13-01 10:00:00"});
        row("first year", "UTC", "", {"0001-01-01 00:00:00"});
        row("year 0", "UTC", "", {"0000-01-01 00:00:00"});
        row("last year", "UTC", "", {"9999-12-31 23:59:59"});
        row("one-digit month", "UTC", "", {"2026-5-01 10:00:00"});
        row("T between", "UTC", "", {"2026-05-01T10:00:00"});
        row("leading blank", "UTC", "", {" 2026-05-01 10:00:00"});
        row("no seconds", "UTC", "", {"2026-05-01 10:00"});
        row("letter in year", "UTC", "", {"20x6-05-01 10:00:00"});
        row("sign in year", "UTC", "", {"-026-05-01 10:00:00"});
        row("other digits", "UTC", "", {QString::fromUtf8("٢٠٢٦-05-01 10:00:00")});
        row("empty", "UTC", "", {""});
        row("null", "UTC", "", {QVariant()});
        row("number", "UTC", "", {45000.5});
        row("summer time", "Europe/Berlin", "", {"2026-07-01 12:00:00"});
        row("hour skipped", "Europe/Berlin", "", {"2026-03-29 02:30:00"});
        row("day of the change", "Europe/Berlin", "", {"2026-03-29 12:00:00"});
        row("hour twice", "Europe/Berlin", "", {"2026-10-25 02:30:00"});
        row("half-hour zone", "Asia/Kolkata", "", {"2026-05-01 10:07:09"});
        row("German form", "Europe/Berlin", "de_DE", {"2026-05-01 10:07:09"});
        row("American form", "America/New_York", "en_US", {"2026-05-01 22:07:09"});
        row("Arabic digits", "Africa/Cairo", "ar_EG", {"2026-05-01 10:07:09"});
        row("days round a change", "Europe/Berlin", "",
            {"2026-03-28 02:30:00", "2026-03-29 02:30:00", "2026-03-29 03:30:00",
             "2026-03-30 02:30:00", "2026-03-28 02:30:00"});
    }
    void dateTimeTextsAsSingle() {
        QFETCH(QByteArray, zone);
        QFETCH(QString, locale);
        QFETCH(QVariantList, stored);
        const QByteArray savedZone = qgetenv("TZ");
        const QLocale savedLocale;
        qputenv("TZ", zone);
        tzset();
        if (!locale.isEmpty())
            QLocale::setDefault(QLocale(locale));
        QStringList single, listed;
        DateTimeTexts texts;
        for (const QVariant& value : stored) {
            single << DateTimeText(value);
            listed << texts(value);
        }
        if (savedZone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", savedZone);
        tzset();
        QLocale::setDefault(savedLocale);
        QCOMPARE(listed, single);
    }
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "tst_helpers.moc"
