-- The project database: the one definition of its tables and saved queries.
--
-- Create a project database with:  sqlite3 Project.mdb < schema.sql
--
-- Text compares without regard to case, as the program expects of its project: every text
-- column is COLLATE NOCASE, and each text sort key of a saved query is followed by the same key
-- COLLATE BINARY, so that rows equal byte for byte stay together. Booleans hold 0 or 1 (or
-- NULL). A saved query is SQLite SQL (Sql) whose every column is a plain column reference (so
-- its declared type reaches the program), with positional parameters ?1, ?2; or Access SQL
-- (AccessSql, with Sql NULL), which the library translates when the query is prepared, its
-- columns typed as Access types them. Parameters lists an Access query's parameter names in
-- position order, one per line, for the reader only. Replace a row of SavedQueries to
-- redefine one.

CREATE TABLE ProjectFlags (
  BuildFSTagBrowseFiles BOOLEAN CHECK (BuildFSTagBrowseFiles IN (0, 1))
);

CREATE TABLE PersistentData (
  Name TEXT COLLATE NOCASE,
  Category TEXT COLLATE NOCASE,
  Value TEXT COLLATE NOCASE
);
CREATE INDEX PersistentDataByName ON PersistentData (Name, Category);

CREATE TABLE AccessNames (
  AccessName TEXT COLLATE NOCASE PRIMARY KEY,
  Topic TEXT COLLATE NOCASE,
  MasterServerComputerName TEXT COLLATE NOCASE,
  StandbyServerComputerName TEXT COLLATE NOCASE,
  ServerApplication TEXT COLLATE NOCASE
);

CREATE TABLE InTouchAppNames (
  InTouchAppName TEXT COLLATE NOCASE PRIMARY KEY
);

CREATE TABLE ClientAppAccessNames (
  InTouchAppName TEXT COLLATE NOCASE,
  ApplicationName TEXT COLLATE NOCASE,
  AccessName TEXT COLLATE NOCASE,
  Seq INTEGER
);
CREATE INDEX ClientAppAccessNamesByApp
  ON ClientAppAccessNames (InTouchAppName, ApplicationName, Seq);

CREATE TABLE ServerComputerPorts (
  ServerComputerPortID INTEGER PRIMARY KEY,
  ServerComputerName TEXT COLLATE NOCASE
);

CREATE TABLE ServerComputerPortToNodes (
  ServerComputerPortID INTEGER,
  NodeName TEXT COLLATE NOCASE
);
CREATE INDEX ServerComputerPortToNodesByNode ON ServerComputerPortToNodes (NodeName);

CREATE TABLE PelnetNodes (
  NodeName TEXT COLLATE NOCASE PRIMARY KEY
);

CREATE TABLE Blocks (
  BlockId INTEGER PRIMARY KEY,
  NodeName TEXT COLLATE NOCASE
);
CREATE INDEX BlocksByNode ON Blocks (NodeName);

CREATE TABLE Tags (
  TagName TEXT COLLATE NOCASE PRIMARY KEY,
  BlockId INTEGER
);
CREATE INDEX TagsByBlock ON Tags (BlockId);

CREATE TABLE TrendData (
  TagName TEXT COLLATE NOCASE,
  FieldName TEXT COLLATE NOCASE,
  SubfieldName TEXT COLLATE NOCASE,
  FixFldName TEXT COLLATE NOCASE,
  RecordType TEXT COLLATE NOCASE,
  FldRenderedType SMALLINT,
  FixFldRenderedType SMALLINT,
  FullDesc TEXT COLLATE NOCASE,
  Units TEXT COLLATE NOCASE,
  HiRange DOUBLE,
  LoRange DOUBLE,
  Logged BOOLEAN CHECK (Logged IN (0, 1)),
  InTouchTrend BOOLEAN CHECK (InTouchTrend IN (0, 1)),
  HistorianTrend BOOLEAN CHECK (HistorianTrend IN (0, 1)),
  Seq INTEGER
);
CREATE INDEX TrendDataByTag ON TrendData (TagName);

CREATE TABLE TagFilters (
  FilterGroup TEXT COLLATE NOCASE,
  MemberName TEXT COLLATE NOCASE,
  Seq INTEGER
);
CREATE INDEX TagFiltersByGroup ON TagFilters (FilterGroup, Seq);

-- Not INTEGER PRIMARY KEY, which would number rows by itself; NOT NULL, because an insert
-- computed over an empty table yields a NULL id and must be refused.
CREATE TABLE AlarmGroupNames (
  AlarmGroupID INT NOT NULL PRIMARY KEY,
  AlarmGroupName TEXT COLLATE NOCASE UNIQUE
);

CREATE TABLE SavedQueries (
  Name TEXT COLLATE NOCASE PRIMARY KEY,
  Sql TEXT,          -- SQLite SQL, used as it stands
  AccessSql TEXT,    -- Access SQL, translated by the library when prepared
  Parameters TEXT,   -- parameter names in position order, one per line, or NULL
  CHECK (Sql IS NOT NULL OR AccessSql IS NOT NULL));

INSERT INTO SavedQueries (Name, Sql) VALUES
('qProjectFlags',
 'SELECT BuildFSTagBrowseFiles FROM ProjectFlags'),
('qFTInTouchAppData',
 'SELECT c.InTouchAppName, c.ApplicationName, c.AccessName, a.MasterServerComputerName,
         a.StandbyServerComputerName, a.ServerApplication, a.Topic
    FROM ClientAppAccessNames AS c LEFT JOIN AccessNames AS a ON a.AccessName = c.AccessName
   ORDER BY c.InTouchAppName, c.InTouchAppName COLLATE BINARY,
            c.ApplicationName, c.ApplicationName COLLATE BINARY, c.Seq'),
('qFTTrdData',
 'SELECT TagName, FieldName, SubfieldName, FixFldName, RecordType, FldRenderedType,
         FixFldRenderedType, FullDesc, Units, HiRange, LoRange, Logged
    FROM TrendData
   WHERE (?1 AND HistorianTrend) OR (?2 AND InTouchTrend)
   ORDER BY TagName, TagName COLLATE BINARY, FieldName, FieldName COLLATE BINARY,
            SubfieldName, SubfieldName COLLATE BINARY, FixFldName, FixFldName COLLATE BINARY,
            Seq'),
('qPersistentData',
 'SELECT Value FROM PersistentData WHERE Name = ?1 AND Category = ?2'),
('qFTTagServer',
 'SELECT p.ServerComputerName
    FROM Tags AS t
    JOIN Blocks AS b ON b.BlockId = t.BlockId
    JOIN ServerComputerPortToNodes AS n ON n.NodeName = b.NodeName
    JOIN ServerComputerPorts AS p ON p.ServerComputerPortID = n.ServerComputerPortID
   WHERE t.TagName = ?1'),
('qFTFilter',
 'SELECT FilterGroup, MemberName FROM TagFilters
   ORDER BY FilterGroup, FilterGroup COLLATE BINARY, Seq');
