-- Local configuration database on a PostgreSQL server: the twin of
-- config-schema.sql (a test compares the two as the engines see them).
CREATE EXTENSION IF NOT EXISTS citext;

CREATE TABLE DB_info (
  DB_Name citext COLLATE "C",
  Provider citext COLLATE "C",
  DataSource citext COLLATE "C",
  FileName citext COLLATE "C",
  UserID citext COLLATE "C",
  PassWord_1 text COLLATE "C",
  Persist bigint,
  InitialCatalog citext COLLATE "C"
);
