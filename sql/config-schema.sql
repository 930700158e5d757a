-- Local configuration database: where the business database is.
CREATE TABLE DB_info (
  DB_Name TEXT COLLATE NOCASE,
  Provider TEXT COLLATE NOCASE,
  DataSource TEXT COLLATE NOCASE,
  FileName TEXT COLLATE NOCASE,
  UserID TEXT COLLATE NOCASE,
  PassWord_1 TEXT,
  Persist INTEGER,
  InitialCatalog TEXT COLLATE NOCASE
) STRICT;
