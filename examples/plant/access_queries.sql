-- The plant's saved queries as a real project keeps them: written in Access SQL (joins in
-- Access's parenthesised form, brackets, True, IIf, declared and implicit parameters) and
-- translated by the project-database library when Quellor prepares them. Run after
-- plant.sql; the builds then give the same outputs as with the SQLite queries.
UPDATE SavedQueries SET Sql = NULL, AccessSql =
'SELECT ProjectFlags.BuildFSTagBrowseFiles
FROM ProjectFlags;'
WHERE Name = 'qProjectFlags';

UPDATE SavedQueries SET Sql = NULL, AccessSql =
'SELECT ClientAppAccessNames.InTouchAppName, ClientAppAccessNames.ApplicationName,
ClientAppAccessNames.AccessName, AccessNames.MasterServerComputerName,
AccessNames.StandbyServerComputerName, AccessNames.ServerApplication, AccessNames.Topic
FROM ClientAppAccessNames LEFT JOIN AccessNames
ON ClientAppAccessNames.AccessName = AccessNames.AccessName
ORDER BY ClientAppAccessNames.InTouchAppName, ClientAppAccessNames.ApplicationName,
ClientAppAccessNames.Seq;'
WHERE Name = 'qFTInTouchAppData';

UPDATE SavedQueries SET Sql = NULL, AccessSql =
'PARAMETERS [For Historian] Bit, [For InTouch] Bit;
SELECT TrendData.TagName, TrendData.FieldName, TrendData.SubfieldName, TrendData.FixFldName,
TrendData.RecordType, TrendData.FldRenderedType, TrendData.FixFldRenderedType,
TrendData.FullDesc, TrendData.Units, TrendData.HiRange, TrendData.LoRange, TrendData.Logged
FROM TrendData
WHERE (((IIf([For Historian],[TrendData].[HistorianTrend],False))=True))
OR (((IIf([For InTouch],[TrendData].[InTouchTrend],False))=True))
ORDER BY TrendData.TagName, TrendData.FieldName, TrendData.SubfieldName,
TrendData.FixFldName, TrendData.Seq;'
WHERE Name = 'qFTTrdData';

UPDATE SavedQueries SET Sql = NULL, AccessSql =
'PARAMETERS [Setting Name] Text ( 255 ), [Setting Category] Text ( 255 );
SELECT PersistentData.Value
FROM PersistentData
WHERE (((PersistentData.Name)=[Setting Name]) AND ((PersistentData.Category)=[Setting Category]));'
WHERE Name = 'qPersistentData';

-- [Tag Name] is no column of the sources, so it is the query's one parameter.
UPDATE SavedQueries SET Sql = NULL, AccessSql =
'SELECT ServerComputerPorts.ServerComputerName
FROM ((Tags INNER JOIN Blocks ON Tags.BlockId = Blocks.BlockId)
INNER JOIN ServerComputerPortToNodes ON Blocks.NodeName = ServerComputerPortToNodes.NodeName)
INNER JOIN ServerComputerPorts
ON ServerComputerPortToNodes.ServerComputerPortID = ServerComputerPorts.ServerComputerPortID
WHERE (((Tags.TagName)=[Tag Name]));'
WHERE Name = 'qFTTagServer';

UPDATE SavedQueries SET Sql = NULL, AccessSql =
'SELECT TagFilters.FilterGroup, TagFilters.MemberName
FROM TagFilters
ORDER BY TagFilters.FilterGroup, TagFilters.Seq;'
WHERE Name = 'qFTFilter';
