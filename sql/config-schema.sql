-- Local configuration database: where the business database is.
CREATE TABLE DB_info (
  DB_Name TEXT,
  Provider TEXT,
  DataSource TEXT,
  FileName TEXT,
  UserID TEXT,
  PassWord_1 TEXT,
  Persist INTEGER,
  InitialCatalog TEXT
) STRICT;
