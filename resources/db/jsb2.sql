-- Notes (jsb2.dat, together with yhsj.sql): table jsbsj.
CREATE TABLE jsbsj (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  bt TEXT COLLATE NOCASE CHECK (length(bt) <= 255),
  nr TEXT COLLATE NOCASE,
  gxdate TEXT CHECK (gxdate IS NULL OR gxdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR gxdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  lx TEXT COLLATE NOCASE CHECK (length(lx) <= 50),
  jsdate TEXT CHECK (jsdate IS NULL OR jsdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR jsdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]')
);
CREATE INDEX jsbsj_id ON jsbsj (id);
-- The first note saved gets id 1.
INSERT INTO sqlite_sequence (name, seq) VALUES ('jsbsj', 0);
-- The notes file was made without a login mode; it reads as 0.
UPDATE yhsj SET yhdlfs = NULL WHERE yh = 'admin';
