-- Language override database: row N = -1 carries the font charset in F1.
CREATE TABLE Lan (
  N INTEGER,
  F1 INTEGER,
  CN TEXT
) STRICT;
