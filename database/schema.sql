-- The eight tables of Corvella.mdb. Text columns compare and sort without regard to
-- letter case; the programs widen that from ASCII to every letter on their own
-- connections. Keys are primary keys, so no two rows ever share an ID; the SERIAL
-- counters never hand out a value again after a delete.

CREATE TABLE controldef (
    ID INTEGER PRIMARY KEY,
    NAME TEXT COLLATE NOCASE,
    QUESTION TEXT COLLATE NOCASE,
    CONTROL TEXT
);

CREATE TABLE testmaster (
    ID INTEGER PRIMARY KEY,
    NAME TEXT COLLATE NOCASE,
    SUBTITLE TEXT COLLATE NOCASE,
    INSTRUCTIONS TEXT COLLATE NOCASE,
    COLUMNS INTEGER
);

CREATE TABLE testdetail (
    SERIAL INTEGER PRIMARY KEY AUTOINCREMENT,
    TESTID INTEGER,
    CONTROLID INTEGER,
    SEQUENCE INTEGER
);

CREATE TABLE classmaster (
    ID INTEGER PRIMARY KEY,
    NAME TEXT COLLATE NOCASE,
    COURSE TEXT COLLATE NOCASE,
    TEACHER TEXT COLLATE NOCASE
);

CREATE TABLE classdetail (
    SERIAL INTEGER PRIMARY KEY AUTOINCREMENT,
    CLASSID INTEGER,
    STUDENTID TEXT COLLATE NOCASE,
    SEQUENCE INTEGER
);

CREATE TABLE studentmaster (
    ID INTEGER PRIMARY KEY,
    LASTNAME TEXT COLLATE NOCASE,
    FIRSTNAME TEXT COLLATE NOCASE,
    MIDDLE TEXT COLLATE NOCASE,
    STUDENTID TEXT COLLATE NOCASE,
    PWORD TEXT
);

CREATE TABLE classtest (
    ID INTEGER PRIMARY KEY,
    CLASSID INTEGER,
    TESTID INTEGER,
    CHAPTER TEXT COLLATE NOCASE
);

CREATE TABLE testresults (
    SERIAL INTEGER PRIMARY KEY AUTOINCREMENT,
    STUDENTID TEXT COLLATE NOCASE,
    TESTID INTEGER,
    CLASSID INTEGER,
    GRADE INTEGER CHECK (GRADE IS NULL OR GRADE BETWEEN 0 AND 100),
    STATUS TEXT COLLATE NOCASE,
    TESTDATE DATE,
    ANSWERS TEXT
);

-- Indexes for what the windows look up row by row. Text columns appear only where a
-- look-up by student ID needs them: student IDs are plain ASCII in practice, and for
-- ASCII texts our connections order exactly as the sqlite3 tool does, so an index
-- written by either stays in order for both. Free text (names, questions) is never
-- ordered by letter case in an index, since there the two orders differ: the question
-- list's index is ordered by ID and keeps the question only so the list is read from
-- it instead of from the much larger rows. corvella-admin upgrade adds the ones an
-- older file lacks.

CREATE INDEX testdetail_test ON testdetail (TESTID, SEQUENCE);
CREATE INDEX testdetail_question ON testdetail (CONTROLID);
CREATE INDEX classdetail_class ON classdetail (CLASSID, SEQUENCE);
CREATE INDEX classdetail_student ON classdetail (STUDENTID);
CREATE INDEX studentmaster_student ON studentmaster (STUDENTID);
CREATE INDEX classtest_class ON classtest (CLASSID);
CREATE INDEX classtest_test ON classtest (TESTID);
CREATE INDEX testresults_test_class ON testresults (TESTID, CLASSID);
CREATE INDEX controldef_list ON controldef (ID, QUESTION COLLATE BINARY);
