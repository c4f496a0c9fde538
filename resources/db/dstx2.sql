-- Timed reminders (dstx2.dat, together with yhsj.sql): table txsj, columns in stored order.
CREATE TABLE txsj (
  ksdate TEXT CHECK (ksdate IS NULL OR ksdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR ksdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  jsdate TEXT CHECK (jsdate IS NULL OR jsdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR jsdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  kstime TEXT CHECK (kstime IS NULL OR kstime GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR kstime GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  jstime TEXT CHECK (jstime IS NULL OR jstime GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR jstime GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  txdate TEXT CHECK (txdate IS NULL OR txdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR txdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  txfs INTEGER,
  txrw INTEGER,
  txbt TEXT COLLATE NOCASE CHECK (length(txbt) <= 255),
  txnr TEXT COLLATE NOCASE,
  txyy TEXT COLLATE NOCASE CHECK (length(txyy) <= 255),
  txcx TEXT COLLATE NOCASE CHECK (length(txcx) <= 255),
  txwy TEXT COLLATE NOCASE CHECK (length(txwy) <= 255),
  cfsj INTEGER,
  cfdw INTEGER,
  tqsj INTEGER,
  tqdw INTEGER,
  txlx TEXT COLLATE NOCASE CHECK (length(txlx) <= 50),
  txjd INTEGER,
  txweek TEXT COLLATE NOCASE CHECK (length(txweek) <= 50),
  notxweek TEXT COLLATE NOCASE CHECK (length(notxweek) <= 50),
  txmonth TEXT COLLATE NOCASE CHECK (length(txmonth) <= 50),
  txdays TEXT COLLATE NOCASE CHECK (length(txdays) <= 50),
  djsj INTEGER,
  nlyear INTEGER,
  nlry INTEGER,
  cfcs INTEGER,
  cfjs INTEGER,
  cfcsdw INTEGER,
  bytx INTEGER,
  txzt INTEGER,
  xctx INTEGER,
  gbcksj INTEGER,
  gjys INTEGER,
  qzzx INTEGER,
  txdz INTEGER,
  yytx INTEGER,
  gxdate TEXT CHECK (gxdate IS NULL OR gxdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR gxdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  tjdate TEXT CHECK (tjdate IS NULL OR tjdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR tjdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  id INTEGER PRIMARY KEY AUTOINCREMENT
);
CREATE INDEX txsj_id ON txsj (id);
CREATE INDEX txsj_ksdate ON txsj (ksdate);
CREATE INDEX txsj_txbt ON txsj (txbt);
-- The first reminder saved gets id 10046.
INSERT INTO sqlite_sequence (name, seq) VALUES ('txsj', 10045);
