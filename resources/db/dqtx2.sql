-- Due-date reminders (dqtx2.dat, together with yhsj.sql): table dqsj, columns in stored order.
CREATE TABLE dqsj (
  xmmc TEXT COLLATE NOCASE CHECK (length(xmmc) <= 255),
  xmlx TEXT COLLATE NOCASE CHECK (length(xmlx) <= 20),
  wcjd INTEGER DEFAULT 0,
  wczt INTEGER DEFAULT 0,
  dqdate TEXT CHECK (dqdate IS NULL OR dqdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR dqdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  bz TEXT COLLATE NOCASE,
  gxdate TEXT CHECK (gxdate IS NULL OR gxdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR gxdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  tqts INTEGER DEFAULT 0,
  txfs INTEGER DEFAULT 0,
  wcdate TEXT CHECK (wcdate IS NULL OR wcdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR wcdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  ksdate TEXT CHECK (ksdate IS NULL OR ksdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR ksdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  fzrxm TEXT COLLATE NOCASE CHECK (length(fzrxm) <= 60),
  fzrbh TEXT COLLATE NOCASE CHECK (length(fzrbh) <= 10),
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  khbh TEXT COLLATE NOCASE CHECK (length(khbh) <= 20),
  khmc TEXT COLLATE NOCASE CHECK (length(khmc) <= 60),
  tjdate TEXT CHECK (tjdate IS NULL OR tjdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR tjdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]')
);
CREATE INDEX dqsj_id ON dqsj (id);
CREATE INDEX dqsj_dqdate ON dqsj (dqdate);
CREATE INDEX dqsj_xmlx ON dqsj (xmlx);
CREATE INDEX dqsj_xmmc ON dqsj (xmmc);
-- The first due-date reminder saved gets id 50.
INSERT INTO sqlite_sequence (name, seq) VALUES ('dqsj', 49);
