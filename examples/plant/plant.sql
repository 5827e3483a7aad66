-- The sample plant: the data of a small project, loaded over tagdll/schema.sql.
--
-- Two instrument areas reach the historian through two server computers: SCADA1 (with the
-- standby SCADA2) serves area 1 and SCADA3 serves area 2, so the project has two historian
-- nodes. Three HMI applications use the areas' access names: Unit1 with a "View" and a
-- "Recipe" client, Unit2 and Packaging with a "View" client each.

INSERT INTO ProjectFlags (BuildFSTagBrowseFiles) VALUES (1);

INSERT INTO PersistentData (Name, Category, Value) VALUES
  ('DeadbandFractionOfRange', 'InTouchTrend', '0.005'),
  ('DeadbandAbsoluteValue', 'InTouchTrend', '1.0');

-- Access names. An empty topic is given its default by the build; a "PelnetData" topic is
-- composed from the master server, the access name and the topic.
INSERT INTO AccessNames
  (AccessName, Topic, MasterServerComputerName, StandbyServerComputerName, ServerApplication)
VALUES
  ('PLC_AREA1',  '',           'SCADA1', 'SCADA2', 'PelnetData'),
  ('PLC_AREA1F', 'Fast',       'SCADA1', 'SCADA2', 'PelnetData'),
  ('PLC_AREA2',  '',           'SCADA3', NULL,     'PelnetData'),
  ('RECIPES',    'RecipeData', 'OPS1',   NULL,     'RecipeMgr'),
  ('HMI_LOCAL',  '',           'OPS1',   NULL,     'View');

INSERT INTO InTouchAppNames (InTouchAppName) VALUES ('Unit1'), ('Unit2'), ('Packaging');

INSERT INTO ClientAppAccessNames (InTouchAppName, ApplicationName, AccessName, Seq) VALUES
  ('Unit1',     'View',   'PLC_AREA1',  1),
  ('Unit1',     'View',   'PLC_AREA1F', 2),
  ('Unit1',     'View',   'HMI_LOCAL',  3),
  ('Unit1',     'Recipe', 'RECIPES',    1),
  ('Unit1',     'Recipe', 'PLC_AREA1',  2),
  ('Unit2',     'View',   'PLC_AREA2',  1),
  ('Packaging', 'View',   'PLC_AREA2',  1),
  ('Packaging', 'View',   'PLC_AREA1',  2);

-- The instrument network: blocks live on Pelnet nodes, which reach server computers through
-- their ports. A tag's server computer is found along Tags, Blocks, the port's nodes and the
-- port, and must be named exactly as the master server of a "PelnetData" access name.
INSERT INTO ServerComputerPorts (ServerComputerPortID, ServerComputerName) VALUES
  (1, 'SCADA1'),
  (2, 'SCADA3');
INSERT INTO PelnetNodes (NodeName) VALUES ('PN1'), ('PN2');
INSERT INTO ServerComputerPortToNodes (ServerComputerPortID, NodeName) VALUES
  (1, 'PN1'),
  (2, 'PN2');
INSERT INTO Blocks (BlockId, NodeName) VALUES
  (101, 'PN1'), (201, 'PN1'), (301, 'PN1'), (401, 'PN2'), (501, 'PN2'), (601, 'PN2'),
  (700, 'PN1');
INSERT INTO Tags (TagName, BlockId) VALUES
  ('TIC101', 101), ('FT201', 201), ('XV301', 301), ('2LT401', 401), ('AN501', 501),
  ('PIC601', 601), ('TI700', 700);

-- Trended tags: one row per tag path. Rendered types: 1 discrete, 7 integer, 8 real,
-- 10 message. Logged 1 makes a field a member of its block in the HMI dictionary.
INSERT INTO TrendData
  (TagName, FieldName, SubfieldName, FixFldName, RecordType, FldRenderedType,
   FixFldRenderedType, FullDesc, Units, HiRange, LoRange, Logged, InTouchTrend,
   HistorianTrend, Seq)
VALUES
  -- A block tag with fields, subfields and a fixed field.
  ('TIC101', 'PV',    '',   '',     'BlkTag',    8,  0, 'Reactor temperature',          '°C', 200, 0, 1, 1, 1, 1),
  ('TIC101', 'SP',    '',   '',     'BlkTag',    8,  0, 'Reactor temperature setpoint', '°C', 200, 0, 1, 1, 1, 2),
  ('TIC101', 'OUT',   '',   '',     'BlkTag',    8,  0, 'Heater output',                '%',  100, 0, 1, 1, 0, 3),
  ('TIC101', 'ALM',   'HI', '',     'BlkTag',    1,  0, 'High temperature alarm',       '',   1,   0, 1, 1, 1, 4),
  ('TIC101', 'ALM',   'LO', '',     'BlkTag',    1,  0, 'Low temperature alarm',        '',   1,   0, 1, 1, 1, 5),
  ('TIC101', '',      '',   'MODE', 'BlkTag',    0,  7, 'Controller mode',              '',   3,   0, 0, 1, 0, 6),
  -- Field tags: a top-level tag whose members are its fields.
  ('FT201',  'PV',    '',   '',     'FldTag',    8,  0, 'Feed flow',                    'm3/h', 50, 0, 1, 1, 1, 1),
  ('FT201',  'TOTAL', '',   '',     'FldTag',    7,  0, 'Feed total',                   'm3', 1000000, 0, 0, 1, 1, 2),
  ('AN501',  'TEXT',  '',   '',     'FldTag',    10, 0, 'Batch name',                   '',   0,   0, 1, 1, 1, 1),
  -- A fixed-field tag.
  ('XV301',  '',      '',   'STATE', 'FixFldTag', 0, 1, 'Inlet valve state',            '',   1,   0, 1, 1, 1, 1),
  -- A name starting with a digit: the HMI needs it prefixed.
  ('2LT401', 'PV',    '',   '',     'BlkTag',    8,  0, 'Tank 2 level',                 '%',  100, 0, 1, 1, 1, 1),
  -- A block with one logged and one unlogged field.
  ('PIC601', 'PV',    '',   '',     'BlkTag',    8,  0, 'Header pressure',              'bar', 16, 0, 1, 1, 1, 1),
  ('PIC601', 'SP',    '',   '',     'BlkTag',    8,  0, 'Header pressure setpoint',     'bar', 16, 0, 0, 1, 0, 2),
  -- Trended by the historian only.
  ('TI700',  'PV',    '',   '',     'BlkTag',    8,  0, 'Cooling water temperature',    '°C', 120, -20, 1, 0, 1, 1);

-- Tag filters of the tag browser: one group per area.
INSERT INTO TagFilters (FilterGroup, MemberName, Seq) VALUES
  ('Area1', 'TIC101', 1),
  ('Area1', 'FT201',  2),
  ('Area1', 'XV301',  3),
  ('Area2', '2LT401', 1),
  ('Area2', 'PIC601', 2);

INSERT INTO AlarmGroupNames (AlarmGroupID, AlarmGroupName) VALUES (1, '$System');
