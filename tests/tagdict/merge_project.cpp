#include "merge_project.h"

#include <gtest/gtest.h>

#include "base/format.h"
#include "base/le_codec.h"
#include "projectdb/project_query.h"
#include "testing/temp_dir.h"

namespace quellor::testing {

namespace tl = tag_layout;

namespace {

const char kServerSql[] =
    "INSERT INTO Blocks VALUES (1, 'N1');"
    "INSERT INTO ServerComputerPortToNodes VALUES (1, 'N1');"
    "INSERT INTO ServerComputerPorts VALUES (1, 'SRV');";

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

std::string Number(double value) { return StringPrintf("%.17g", value); }

}  // namespace

std::string TrendRowsSql(const std::vector<TrendRow>& rows) {
  std::string sql;
  int seq = 0;
  for (const TrendRow& r : rows) {
    sql += "INSERT INTO TrendData VALUES (" + Quoted(r.tag) + "," + Quoted(r.field) + "," +
           Quoted(r.subfield) + "," + Quoted(r.fix) + "," + Quoted(r.record_type) + "," +
           std::to_string(r.field_code) + "," + std::to_string(r.fix_code) + "," + Quoted(r.desc) +
           "," + Quoted(r.units) + "," + Number(r.hi) + "," + Number(r.lo) + "," +
           std::to_string(r.logged) + ",1,0," + std::to_string(seq++) + ");";
    sql += "INSERT OR IGNORE INTO Tags VALUES (" + Quoted(r.tag) + ", 1);";
  }
  return sql;
}

MergeProject::MergeProject(const std::vector<TrendRow>& rows, const std::string& extra_sql)
    : project_(kServerSql + TrendRowsSql(rows) + extra_sql) {
  WriteFile(app_.path() / "Tagname.X", "");
  WriteFile(app_.path() / "Tag_Ext.X", "");
  AccName_T pelnet;
  pelnet.SourceName = "PN1";
  pelnet.TopicName = "TOPIC";
  pelnet.MasterServer = "SRV";
  pelnet.ApplicationName = "PelnetData";
  pelnet.DDESourceID = 1;
  names_.AppendRecord(std::move(pelnet));
}

void MergeProject::SetRows(const std::vector<TrendRow>& rows) const {
  project_.Run("DELETE FROM TrendData; DELETE FROM Tags;" + TrendRowsSql(rows));
}

void MergeProject::AddServer(const std::string& server, const std::string& access_name) {
  const int id = names_.GetCount() + 1;
  const std::string node = Quoted("N" + std::to_string(id));
  project_.Run(
      StringPrintf("INSERT INTO Blocks VALUES (%d, %s);"
                   "INSERT INTO ServerComputerPortToNodes VALUES (%d, %s);"
                   "INSERT INTO ServerComputerPorts VALUES (%d, %s);",
                   id, node.c_str(), id, node.c_str(), id, Quoted(server).c_str()));
  AccName_T record;
  record.SourceName = access_name;
  record.TopicName = "TOPIC";
  record.MasterServer = server;
  record.StandbyServer = server;
  record.ApplicationName = "PelnetData";
  record.DDESourceID = id;
  names_.AppendRecord(std::move(record));
}

void MergeProject::MoveTag(const std::string& tag, const std::string& server) const {
  project_.Run(
      "UPDATE Tags SET BlockId = (SELECT ServerComputerPortID FROM ServerComputerPorts "
      "WHERE ServerComputerName = " +
      Quoted(server) + ") WHERE TagName = " + Quoted(tag) + ";");
}

MergeResult MergeProject::Merge(bool with_access_names, bool discrete_as_integer) {
  MergeResult result;
  {
    ScopedReportCapture capture;
    std::vector<int> app_access_names;
    for (int i = 0; i < names_.GetCount(); ++i) app_access_names.push_back(i);
    CTagDict dict(TagDictOptions{.folder = app_.path().string(),
                                 .access_names = with_access_names ? &names_ : nullptr,
                                 .app_access_names = app_access_names,
                                 .update_dde_points = with_access_names,
                                 .discrete_as_integer = discrete_as_integer});
    EXPECT_TRUE(dict.is_open());
    QueryParameters parameters(2);
    parameters.SetInteger(0, 0);
    parameters.SetInteger(1, 1);
    ProjectQuery query = ProjectQuery::Saved("qFTTrdData", parameters.get(), 0);
    EXPECT_TRUE(query.ok());
    result.open_messages = capture.messages();
    capture.Clear();
    dict.BuildFromProject(query);
    result.messages = capture.messages();
    result.counters = dict.counters();
  }
  result.tag_file = ReadFile(app_.path() / "Tagname.X");
  result.companion_file = ReadFile(app_.path() / "Tag_Ext.X");
  return result;
}

std::int32_t MergeResult::RecordCount() const {
  const auto units = static_cast<std::int32_t>(tag_file.size() / tl::kRecordSize);
  return units == 0 ? 0 : units - 1;
}

std::optional<std::pair<std::int32_t, TagRec_T>> MergeResult::Find(std::string_view name) const {
  for (std::int32_t n = 1; n <= RecordCount(); ++n) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(tag_file.data()) + tl::RecordOffset(n);
    TagRec_T record(std::span<const std::uint8_t, tl::kRecordSize>(p, tl::kRecordSize));
    if (!record.IsFree() && record.Name() == name) return std::make_pair(n, record);
  }
  return std::nullopt;
}

TagRec_T MergeResult::Tag(std::string_view name) const {
  const auto found = Find(name);
  EXPECT_TRUE(found.has_value()) << name;
  return found ? found->second : TagRec_T();
}

std::int32_t MergeResult::RecNo(std::string_view name) const {
  const auto found = Find(name);
  return found ? found->first : 0;
}

std::vector<std::string> MergeResult::Texts() const {
  std::vector<std::string> texts;
  for (const auto& m : messages) texts.push_back(m.text);
  return texts;
}

}  // namespace quellor::testing
