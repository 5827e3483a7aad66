// A real project for the merge tests: trend rows in a real SQLite project database whose tags
// are all served by computer "SRV", an access-name set with one "PelnetData" access name
// (DDE Source ID 1) for it, and an application folder with an empty dictionary, merged as the
// application build merges it, with every access name of the set as the application's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "accessnames/acc_names.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"

namespace quellor::testing {

// One row of qFTTrdData.
struct TrendRow {
  std::string tag;
  std::string field = {};
  std::string subfield = {};
  std::string fix = {};
  std::string record_type = "BlkTag";
  int field_code = 8;
  int fix_code = 0;
  std::string desc = {};
  std::string units = {};
  double hi = 100.0;
  double lo = 0.0;
  int logged = 1;
};

// SQL that inserts `rows` (in their order) and enters each tag as served by "SRV".
std::string TrendRowsSql(const std::vector<TrendRow>& rows);

struct MergeResult {
  std::vector<ReportedMessage> open_messages;  // what opening the dictionary reported
  std::vector<ReportedMessage> messages;       // what the merge reported (not the open or close)
  TagDictCounters counters;
  std::string tag_file;        // Tagname.X after closing
  std::string companion_file;  // Tag_Ext.X after closing

  // The record named `name` and its number; nullopt when no record has that name.
  std::optional<std::pair<std::int32_t, TagRec_T>> Find(std::string_view name) const;
  TagRec_T Tag(std::string_view name) const;  // fails the test when missing
  std::int32_t RecNo(std::string_view name) const;
  std::vector<std::string> Texts() const;  // the messages' texts
  std::int32_t RecordCount() const;
};

class MergeProject final {
 public:
  explicit MergeProject(const std::vector<TrendRow>& rows, const std::string& extra_sql = "");

  // Replaces the project's trend rows; every tag is served by "SRV" again.
  void SetRows(const std::vector<TrendRow>& rows) const;
  // Adds computer `server` to the project with an access name `access_name` that it serves as
  // its standby (so it is the computer's local access name), with the next DDE Source ID.
  void AddServer(const std::string& server, const std::string& access_name);
  // Serves project tag `tag` from computer `server`, added before, from now on.
  void MoveTag(const std::string& tag, const std::string& server) const;
  // Opens the application's dictionary, merges qFTTrdData (parameters 0 and 1, option 0) and
  // closes it. Without the access-name set no server is looked up and no point recorded.
  MergeResult Merge(bool with_access_names = true, bool discrete_as_integer = true);

  CAccNames& names() { return names_; }
  const TempDir& app() const { return app_; }
  const AttachedProject& project() const { return project_; }

 private:
  AttachedProject project_;
  TempDir app_;
  CAccNames names_;
};

}  // namespace quellor::testing
