-- The user table of every data file, with its one row "admin" holding the digest of the
-- initial password (the image maker fills in @INITIAL_PASSWORD_DIGEST@).
-- Dates are texts 'YYYY-MM-DD HH:MM:SS' or 'YYYY-MM-DD'; Text(n) limits count characters.
CREATE TABLE yhsj (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  yh TEXT COLLATE NOCASE CHECK (length(yh) <= 20),
  mm TEXT COLLATE NOCASE CHECK (length(mm) <= 32),
  dldate TEXT CHECK (dldate IS NULL OR dldate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR dldate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  gxdate TEXT CHECK (gxdate IS NULL OR gxdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]' OR gxdate GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'),
  yhwt TEXT COLLATE NOCASE CHECK (length(yhwt) <= 255),
  yhda TEXT COLLATE NOCASE CHECK (length(yhda) <= 255),
  yhdlfs INTEGER
);
CREATE INDEX yhsj_id ON yhsj (id);
INSERT INTO yhsj (id, yh, mm, dldate, gxdate, yhwt, yhda, yhdlfs)
  VALUES (1, 'admin', '@INITIAL_PASSWORD_DIGEST@', '2011-12-23 00:00:00', '2011-12-23 00:00:00', NULL, NULL, 0);
