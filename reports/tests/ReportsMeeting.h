#pragma once
// A small meeting for the report tests: two tournaments, a single race and a
// practice session, with finished, running and laps races, entries and laps.
//
// Tournament 1 "Spring Cup": drivers Berg, Dahl, Lund and Gone (deleted from
// the register later). Time races 10 and 11 (heats), 12 (a final) finished,
// 13 a finished laps race, 14 a running time race. Tournament 2 "Summer Cup":
// Aas in its finished race 20. Race 30 is a finished single race, race 31 the
// practice race with an unlinked transponder 7 at start position 1 and a car
// without laps at start position 2.

#include <QStringList>

namespace kv::test {

inline const QStringList kReportsMeeting = {
    "INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES "
    "(1,'Spring Cup','Oslo','2024-04-01 09:00:00');",
    "INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES "
    "(2,'Summer Cup','Bergen','2024-06-01 09:00:00');",
    "INSERT INTO tblTournament (TournamentID, Name, Location, RegTime) VALUES "
    "(3,'Autumn Cup','Molde','2024-09-01 09:00:00');",

    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Team, Car, Frequency, TransponderID) "
    "VALUES (1,'Berg','Anna','Blue','Xray',27.145,11);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car, Frequency, TransponderID) VALUES "
    "(2,'Dahl','Erik','Mugen',40.665,12);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car, Frequency, TransponderID) VALUES "
    "(3,'Lund','Ola','Kyosho',27.095,13);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car, Deleted) VALUES "
    "(4,'Gone','Old','Tamiya',1);",
    "INSERT INTO tblDriver (DriverID, Lastname, Firstname, Car) VALUES (5,'Aas','Per','Serpent');",
    "INSERT INTO tblDriverInTournament VALUES (3, 1, 0);",
    "INSERT INTO tblDriverInTournament VALUES (1, 1, 0);",
    "INSERT INTO tblDriverInTournament VALUES (4, 1, 0);",
    "INSERT INTO tblDriverInTournament VALUES (2, 1, 0);",
    "INSERT INTO tblDriverInTournament VALUES (5, 2, 0);",

    "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
    "Description, Comment, TimeOfRace) VALUES "
    "(10,1,1,1,5,2,'Round 1 - Heat 1','Dry track','2024-04-01 10:00:00');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
    "Description, TimeOfRace) VALUES (11,1,1,1,5,2,'Round 1 - Heat 2','2024-04-01 10:10:00');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
    "Description, TimeOfRace) VALUES (12,1,1,10,5,2,'A-Final','2024-04-01 14:00:00');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
    "Description, TimeOfRace) VALUES (13,1,2,11,20,2,'B-Final','2024-04-01 13:00:00');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
    "Description, TimeOfRace) VALUES (14,1,1,1,5,1,'Round 2 - Heat 1','2024-04-01 11:00:00');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
    "Description, TimeOfRace) VALUES (20,2,1,1,5,2,'Round 1 - Heat 1','2024-06-01 10:00:00');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
    "Description, TimeOfRace) VALUES (30,0,1,3,4,2,'Fun race','2024-05-01 18:00:00');",
    "INSERT INTO tblRace (RaceID, TournamentID, RaceCategoryID, RaceCode, Length, Status, "
    "Description, TimeOfRace) VALUES (31,0,1,4,0,2,'Practice','2024-05-02 17:00:00');",

    // Heat 1: Berg 10 laps, Dahl 9.
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (100,1,10,1,10,2000,'2.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (101,2,10,2,9,500,'0.500');",
    // Heat 2: Lund 10 laps, Gone 8.
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (110,3,11,1,10,1000,'1.000');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (111,4,11,2,8,100,'0.100');",
    // A-Final: Lund 10 laps, Berg 11.
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (120,3,12,1,10,1500,'1.500');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (121,1,12,2,11,3000,'3.000');",
    // The laps race and the running race are no part of the qualification.
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (130,2,13,1,20,100,'0.100');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (140,2,14,1,50,100,'0.100');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (200,5,20,1,12,100,'0.100');",
    // The single race: Aas 5 laps, Berg 6.
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (300,5,30,1,5,300,'0.300');",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TimeToFinish, TimeToFinishString) VALUES (301,1,30,2,6,200,'0.200');",
    // Practice: transponder 7 without a driver, and Berg's car that has only started.
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TransponderID) VALUES (310,0,31,1,2,7);",
    "INSERT INTO tblDriverInRace (DriverInRaceID, DriverID, RaceID, StartPosition, NumOfLaps, "
    "TransponderID) VALUES (311,1,31,2,0,11);",

    // Laps of heat 1, stored out of order: Berg 23.456, 22.100, 22.100; Dahl 25.000, 24.000.
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, LapTimeString, "
    "TotalTimeString) VALUES (101,10,24000,49000,'24.000','49.000');",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, LapTimeString, "
    "TotalTimeString) VALUES (100,10,22100,67656,'22.100','67.656');",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, LapTimeString, "
    "TotalTimeString) VALUES (100,10,23456,23456,'23.456','23.456');",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, LapTimeString, "
    "TotalTimeString) VALUES (101,10,25000,25000,'25.000','25.000');",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, LapTimeString, "
    "TotalTimeString) VALUES (100,10,22100,45556,'22.100','45.556');",
    // Practice laps of transponder 7.
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, LapTimeString, "
    "TotalTimeString) VALUES (310,31,9500,9500,'9.500','9.500');",
    "INSERT INTO tblLapInRace (DriverInRaceID, RaceID, LapTime, TotalTime, LapTimeString, "
    "TotalTimeString) VALUES (310,31,9400,18900,'9.400','18.900');",
};

} // namespace kv::test
