#pragma once
// A tournament with finished qualification heats, semifinals and finals, for
// the ranking and final heat tests.

#include <QStringList>

namespace kv::test {

// Tournament 1: five drivers; three finished qualification heats and one not
// run; two finished semifinals and one new; an unassigned final; two new
// finals. Tournament 2 holds a final of its own.
inline const QStringList kFinalsMeeting = {
    "INSERT INTO tblTournament (TournamentID, Name) VALUES (1, 'Cup');",
    "INSERT INTO tblTournament (TournamentID, Name) VALUES (2, 'Other');",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency, TransponderID) VALUES (1, "
    "'Ash', 'Al', 27, 11);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency, TransponderID) VALUES (2, "
    "'Birch', 'Bo', 28, 12);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency, TransponderID) VALUES (3, "
    "'Cedar', NULL, 29, 13);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency, TransponderID) VALUES (4, "
    "'Dogwood', 'Di', 30, 14);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Frequency, TransponderID) VALUES (5, "
    "'Elm', 'Ed', 31, 15);",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (10, 1, 1, "
    "2, "
    "'Round 1 - Heat 1');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (11, 1, 1, "
    "2, "
    "'Round 2 - Heat 1');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (12, 1, 1, "
    "2, "
    "'Round 3 - Heat 1');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (13, 1, 1, "
    "1, "
    "'Round 4 - Heat 1');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (14, 2, 1, "
    "2, "
    "'Round 1 - Heat 1');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (20, 1, 11, "
    "2, 'Semi A');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (21, 1, 11, "
    "2, 'Semi B');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (22, 1, 11, "
    "0, 'Semi C');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (23, 1, 2, "
    "2, "
    "'Old final');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (30, 1, 10, "
    "0, 'Final');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (31, 1, 10, "
    "0, 'Final B');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (32, 1, 2, "
    "0, "
    "'Unassigned new');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCode, Status, Description) VALUES (40, 2, 10, "
    "0, 'Their final');",
    // Driver 1 ran three heats; his round 1 entry ties with driver 4's round 2.
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (100, 1, 10, 10, 300000, '5:00.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (101, 2, 10, 11, 310000, '5:10.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (102, 3, 10, 10, 100000000, '...');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (110, 1, 11, 12, 305000, '5:05.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (111, 2, 11, 10, 290000, '4:50.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (112, 4, 11, 10, 300000, '5:00.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (120, 1, 12, 9, 299000, '4:59.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (130, 5, 13, 20, 1000, '0:01.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (140, 5, 14, 30, 1000, '0:01.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (200, 1, 20, 5, 100, 'a');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (201, 2, 20, 6, 200, 'b');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (210, 4, 21, 5, 100000000, '...');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (211, 3, 21, 5, 90, 'c');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (220, 5, 22, 0, 100000000, '...');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, NumOfLaps, TimeToFinish, "
    "TimeToFinishString) VALUES (230, 5, 23, 7, 500, 'd');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (300, 2, "
    "30, 1);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition) VALUES (400, 1, "
    "40, 1);",
    // Laps: driver 1's fastest is in round 2; drivers 2 and 4 tie; driver 3 has
    // none; the heat not run and the other tournament's are faster still.
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID, LapTime, LapTimeString) VALUES "
    "(1, 100, 10, 9000, '9.000');",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID, LapTime, LapTimeString) VALUES "
    "(2, 100, 10, 8500, '8.500');",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID, LapTime, LapTimeString) VALUES "
    "(3, 110, 11, 8000, '8.000');",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID, LapTime, LapTimeString) VALUES "
    "(4, 101, 10, 8200, '8.200 B');",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID, LapTime, LapTimeString) VALUES "
    "(5, 112, 11, 8200, '8.200 D');",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID, LapTime, LapTimeString) VALUES "
    "(6, 130, 13, 1000, '1.000');",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID, LapTime, LapTimeString) VALUES "
    "(7, 140, 14, 1000, '1.000');",
    "INSERT INTO tblLapInRace (LapInRaceID, DriverInRaceID, RaceID, LapTime, LapTimeString) VALUES "
    "(8, 200, 20, 7000, '7.000');",
};

} // namespace kv::test
