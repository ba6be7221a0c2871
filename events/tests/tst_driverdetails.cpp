// A driver's details as both driver forms load and store them, on a real
// database file without any window.
#include "Database.h"
#include "DriverDetails.h"
#include "InstallFixture.h"

#include <QLocale>
#include <QtTest>

using namespace kv;

namespace {

const QStringList kDrivers = {
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Team, Car, Email, Frequency, "
    "TransponderID, OwnTransponder) VALUES (1,'Berg','Anna','Blue','Xray','a@b.no',27.145,11,1);",
    "INSERT INTO tblDriver (DriverID, Lastname, Frequency, TransponderID, OwnTransponder) VALUES "
    "(2,'Eck',NULL,NULL,NULL);",
};

const QString kColumns = "SELECT quote(Lastname)||quote(Firstname)||quote(Email)||'|'||"
                         "quote(Team)||quote(Car)||quote(Frequency)||quote(TransponderID)||"
                         "quote(OwnTransponder) FROM tblDriver WHERE DriverID=1;";

// What a form of either page typed: the driver form of the tournament page
// has the names and the email, the race page's correction has not.
DriverDetails typed(bool withNames, const QString& text, const QString& frequency,
                    const QString& id) {
    DriverDetails d;
    if (withNames) {
        d.lastname = "Berg";
        d.firstname = "Anna";
        d.email = "a@b.no";
    }
    d.team = text;
    d.car = text;
    d.frequency = frequency;
    d.transponderID = id;
    d.ownTransponder = true;
    return d;
}

} // namespace

class TestDriverDetails : public QObject {
    Q_OBJECT
private slots:
    void load() {
        test::InstallFixture fx;
        QVERIFY(fx.sql(kDrivers));
        Database db;
        QVERIFY(db.Open("Data Source=" + fx.databaseFile() + ";"));
        DriverDetails d;
        QVERIFY(LoadDriverDetails(db, 1, d));
        QCOMPARE(d.lastname.value_or("-") + d.firstname.value_or("-") + d.email.value_or("-"),
                 QString("BergAnnaa@b.no"));
        QCOMPARE(d.team + d.car, QString("BlueXray"));
        QCOMPARE(d.frequency, QString("27.145"));
        QCOMPARE(d.transponderID, QString("11"));
        QVERIFY(d.ownTransponder);

        // Missing texts and numbers load as empty boxes.
        QVERIFY(LoadDriverDetails(db, 2, d));
        QCOMPARE(d.firstname, std::optional<QString>(QString()));
        QCOMPARE(d.team + d.frequency + d.transponderID, QString());
        QVERIFY(!d.ownTransponder);

        // No such driver: nothing loaded.
        d.car = "kept";
        QVERIFY(!LoadDriverDetails(db, 9, d));
        QCOMPARE(d.car, QString("kept"));
    }

    // The same typed details give the same stored values from either form.
    void bothFormsStoreTheSame_data() {
        QTest::addColumn<QString>("text"); // team and car
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("stored"); // team, car, frequency, ID, own; empty: refused
        const QString fifty(50, 'x');
        QTest::newRow("emptied ID box") << "Blue"
                                        << "27.145"
                                        << ""
                                        << "'Blue''Blue'27.14501";
        QTest::newRow("number then letter") << "Blue"
                                            << "27.145"
                                            << "12a"
                                            << "'Blue''Blue'27.145121";
        QTest::newRow("letter alone") << "Blue"
                                      << "27.145"
                                      << "a"
                                      << "'Blue''Blue'27.14501";
        QTest::newRow("highest ID") << "Blue"
                                    << "27.145"
                                    << "255"
                                    << "'Blue''Blue'27.1452551";
        QTest::newRow("above the counter's IDs") << "Blue"
                                                 << "27.145"
                                                 << "256"
                                                 << "";
        QTest::newRow("rounds above") << "Blue"
                                      << "27.145"
                                      << "255.5"
                                      << "";
        QTest::newRow("negative") << "Blue"
                                  << "27.145"
                                  << "-1"
                                  << "";
        QTest::newRow("digits only frequency") << "Blue"
                                               << "40665"
                                               << "5"
                                               << "'Blue''Blue'40.66551";
        QTest::newRow("comma frequency") << "Blue"
                                         << "27,195"
                                         << "5"
                                         << "'Blue''Blue'27.19551";
        QTest::newRow("empty frequency") << "Blue"
                                         << ""
                                         << "5"
                                         << "'Blue''Blue'0.051";
        QTest::newRow("longer than the column") << fifty + "yyyyyyyyyy"
                                                << "27.145"
                                                << "5"
                                                << "'" + fifty + "''" + fifty + "'27.14551";
        QTest::newRow("apostrophe") << "Team's"
                                    << "27.145"
                                    << "5"
                                    << "'Team?s''Team?s'27.14551";
    }
    void bothFormsStoreTheSame() {
        QFETCH(QString, text);
        QFETCH(QString, frequency);
        QFETCH(QString, id);
        QFETCH(QString, stored);
        test::InstallFixture fx;
        QVERIFY(fx.sql(kDrivers));
        Database db;
        QVERIFY(db.Open("Data Source=" + fx.databaseFile() + ";"));
        const QString before = fx.column(kColumns).value(0);
        for (const bool withNames : {true, false}) {
            QVERIFY(fx.sql({"UPDATE tblDriver SET Team='Red', Car='Yokomo', Frequency=40, "
                            "TransponderID=11, OwnTransponder=0 WHERE DriverID=1;"}));
            const QString reset = fx.column(kColumns).value(0);
            double mhz = -1;
            const DriverSaveResult result =
                SaveDriverDetails(db, 1, typed(withNames, text, frequency, id), &mhz);
            const QString after = fx.column(kColumns).value(0);
            // The names and the email are those of the fixture either way: typed
            // unchanged by the one form, left alone by the other.
            QCOMPARE(after.section('|', 0, 0), before.section('|', 0, 0));
            if (stored.isEmpty()) {
                QCOMPARE(result, DriverSaveResult::TransponderIDRefused);
                QCOMPARE(after, reset);
                continue;
            }
            QCOMPARE(result, DriverSaveResult::Saved);
            QCOMPARE(after.section('|', 1), stored);
            QCOMPARE(fx.column("SELECT Frequency FROM tblDriver WHERE DriverID=1;").value(0),
                     QString::number(mhz));
        }
    }

    void namesAreCutAndQuoted() {
        test::InstallFixture fx;
        QVERIFY(fx.sql(kDrivers));
        Database db;
        QVERIFY(db.Open("Data Source=" + fx.databaseFile() + ";"));
        DriverDetails d = typed(true, "Blue", "27.145", "11");
        d.lastname = "O'Brien" + QString(60, 'n');
        d.firstname = QString(51, 'f');
        d.email = "pat's@" + QString(60, 'e'); // the email column has no width
        QCOMPARE(SaveDriverDetails(db, 1, d), DriverSaveResult::Saved);
        QCOMPARE(fx.column("SELECT Lastname||'|'||Firstname||'|'||Email FROM tblDriver WHERE "
                           "DriverID=1;"),
                 QStringList{"O?Brien" + QString(43, 'n') + "|" + QString(50, 'f') + "|pat?s@" +
                             QString(60, 'e')});
    }

    void refusedStatementIsReported() {
        test::InstallFixture fx;
        QVERIFY(fx.sql(kDrivers));
        QVERIFY(fx.sql({"CREATE TRIGGER refuse BEFORE UPDATE ON tblDriver BEGIN SELECT "
                        "RAISE(ABORT, 'refused'); END;"}));
        Database db;
        QVERIFY(db.Open("Data Source=" + fx.databaseFile() + ";"));
        int reports = 0;
        db.setErrorReporter(
            [&reports](const QString&, const QString&, const QString&) { ++reports; });
        QCOMPARE(SaveDriverDetails(db, 1, typed(false, "Blue", "27", "5")),
                 DriverSaveResult::Failed);
        QCOMPARE(reports, 1);
    }
};

QTEST_GUILESS_MAIN(TestDriverDetails)
#include "tst_driverdetails.moc"
