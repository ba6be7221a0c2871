-- The race database of Kirv Vorel, schema version 1.3.
-- One statement per line group, each ending with a semicolon at the end of a line.
-- Names sort and compare without regard to letter case. A column declared
-- TEXT(n) holds at most n characters; the boxes that edit it take no more.
CREATE TABLE tblDriver (
  DriverID INTEGER PRIMARY KEY AUTOINCREMENT,
  Lastname TEXT(50) COLLATE NOCASE,
  Firstname TEXT(50) COLLATE NOCASE,
  Team TEXT(50) COLLATE NOCASE,
  Car TEXT(50) COLLATE NOCASE,
  Email TEXT,
  Frequency DOUBLE DEFAULT 0,
  TransponderID INTEGER DEFAULT 0,
  OwnTransponder INTEGER DEFAULT 0,
  Deleted INTEGER DEFAULT 0
);
CREATE TABLE tblTournament (
  TournamentID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name TEXT(50) COLLATE NOCASE,
  Location TEXT(50) COLLATE NOCASE,
  RegTime TEXT,
  QualNumOfRounds INTEGER DEFAULT 3,
  QualNumOfCarsInHeat INTEGER DEFAULT 6,
  QualRaceTime INTEGER DEFAULT 5
);
CREATE TABLE tblDriverInTournament (
  DriverID INTEGER,
  TournamentID INTEGER,
  Reserved INTEGER DEFAULT 0
);
CREATE TABLE tblRace (
  RaceID INTEGER PRIMARY KEY AUTOINCREMENT,
  TournamentID INTEGER DEFAULT 0,
  RaceCategoryID INTEGER,
  RaceCode INTEGER,
  QualRound INTEGER,
  QualHeat INTEGER,
  Length INTEGER,
  Status INTEGER DEFAULT 0,
  Description TEXT(50),
  Comment TEXT,
  TimeOfRace TEXT
);
CREATE TABLE tblDriverInRace (
  DriverInRaceID INTEGER PRIMARY KEY AUTOINCREMENT,
  DriverID INTEGER,
  RaceID INTEGER,
  StartPosition INTEGER,
  NumOfLaps INTEGER DEFAULT 0,
  TimeToFinish INTEGER DEFAULT 100000000,
  TimeToFinishString TEXT DEFAULT '...',
  TransponderID INTEGER,
  StartDelay INTEGER
);
CREATE TABLE tblLapInRace (
  LapInRaceID INTEGER PRIMARY KEY AUTOINCREMENT,
  DriverInRaceID INTEGER,
  RaceID INTEGER,
  LapTime INTEGER,
  TotalTime INTEGER,
  LapTimeString TEXT,
  TotalTimeString TEXT
);
CREATE TABLE tblRaceCategoryDescription (
  RaceCategoryID INTEGER PRIMARY KEY,
  RaceCategoryDescription TEXT,
  RaceCategoryLengthName TEXT
);
CREATE TABLE tblRaceStatusDescription (
  RaceStatus INTEGER PRIMARY KEY,
  RaceStatusDescription TEXT
);
CREATE TABLE tblSetup (
  SetupKey TEXT,
  SetupValue TEXT
);
CREATE INDEX idxDriverInTournament ON tblDriverInTournament (TournamentID, DriverID);
CREATE INDEX idxRaceTournament ON tblRace (TournamentID, RaceCode);
CREATE INDEX idxDriverInRaceRace ON tblDriverInRace (RaceID);
CREATE INDEX idxDriverInRaceDriver ON tblDriverInRace (DriverID);
CREATE INDEX idxLapInRaceEntry ON tblLapInRace (RaceID, DriverInRaceID);
INSERT INTO tblRaceCategoryDescription VALUES (1, 'Time', 'minutes');
INSERT INTO tblRaceCategoryDescription VALUES (2, 'Laps', 'laps');
INSERT INTO tblRaceStatusDescription VALUES (0, 'New');
INSERT INTO tblRaceStatusDescription VALUES (1, 'Running');
INSERT INTO tblRaceStatusDescription VALUES (2, 'Finished');
INSERT INTO tblSetup (SetupKey, SetupValue) VALUES ('Version', '1.3');
