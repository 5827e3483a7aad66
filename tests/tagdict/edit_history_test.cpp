// The dictionary and DDE.CFG through random histories of project edits: tags added, removed
// and moved between servers, members added, removed and given other types, fields logged or
// not, and the dictionary replaced by an empty one. Each edit is built as an application's
// build builds it (DDE.CFG read, the project's access names merged, the dictionary opened,
// merged and closed, DDE.CFG written), then built again unchanged. After every build every DDE
// point names a used record of its own tag and every I/O tag has exactly one point; every
// parent and member link is mutual and names a used record; no tag the project has is reported
// removed, and only a tag that cannot be modified is an error. The points need repair only in
// the build after the dictionary was replaced. The unchanged build creates and modifies
// nothing (a parent of a member the project no longer has still counts as modified),
// renumbers nothing and writes the same DDE.CFG.
//
// QUELLOR_EDIT_HISTORIES sets the number of histories (200), QUELLOR_HISTORY_TAGS the tags
// a history starts with (30) and QUELLOR_TEST_SEED the first history's seed; the histories
// are split over four tests. QUELLOR_HISTORY_CORPUS names a folder that receives every
// dictionary built, as seeds for the dictionary's fuzz targets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "accessnames/acc_names.h"
#include "accessnames/dde_cfg_file.h"
#include "base/ascii.h"
#include "dictionary_files.h"
#include "merge_project.h"
#include "platform/env.h"
#include "report/report.h"
#include "tagdict/tag_dict.h"
#include "testing/project_database.h"
#include "testing/temp_dir.h"
#include "testing/test_seed.h"
#include "testing/unsynced_file_system.h"

namespace quellor {
namespace {

namespace tl = tag_layout;
using testing::TrendRow;

constexpr int kShards = 4;
constexpr int kEditsPerHistory = 12;
constexpr int kCodes[] = {1, 7, 8, 10};
constexpr const char* kMemberNames[] = {"A", "B", "C", "D", "E", "F"};

int PositiveFromEnvironment(const char* name, int fallback) {
  const char* text = std::getenv(name);
  const int value = text != nullptr ? std::atoi(text) : 0;
  return value > 0 ? value : fallback;
}

// A field of a block, or a fixed field of a field tag.
struct Member {
  std::string name;
  int code = 8;
  bool logged = true;  // blocks only
  int subfields = 0;   // blocks only
};

struct ProjectTag {
  bool block = false;
  int server = 1;
  int code = 8;  // a field tag's own type, while it has no fixed field
  std::vector<Member> members = {};
};

using Project = std::map<std::string, ProjectTag>;

std::vector<TrendRow> RowsOf(const Project& project) {
  std::vector<TrendRow> rows;
  for (const auto& [name, tag] : project) {
    if (!tag.block && tag.members.empty()) {
      rows.push_back({.tag = name, .record_type = "FldTag", .fix_code = tag.code});
    }
    for (const Member& m : tag.members) {
      if (!tag.block) {
        rows.push_back({.tag = name, .fix = m.name, .record_type = "FldTag", .fix_code = m.code});
        continue;
      }
      const int logged = m.logged ? 1 : 0;
      rows.push_back({.tag = name, .field = m.name, .field_code = m.code, .logged = logged});
      for (int s = 0; s < m.subfields; ++s) {
        rows.push_back({.tag = name,
                        .field = m.name,
                        .subfield = "S" + std::to_string(s),
                        .field_code = m.code,
                        .logged = logged});
      }
    }
  }
  return rows;
}

// The dictionary tags the project gives.
std::set<std::string> TagNamesOf(const Project& project) {
  std::set<std::string> names;
  for (const auto& [name, tag] : project) {
    if (tag.block && tag.members.empty()) continue;  // no row
    names.insert(name);
    for (const Member& m : tag.members) {
      if (tag.block && !m.logged) continue;
      const std::string member = name + "\\" + m.name;
      names.insert(member);
      for (int s = 0; s < m.subfields; ++s) {
        names.insert(name + "." + m.name + "\\S" + std::to_string(s));
      }
      if (m.subfields > 0) names.insert(member + "\\v");
    }
    if (!tag.block && !tag.members.empty()) names.insert(name + "\\v");
  }
  return names;
}

class Random final {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(engine_); }
  bool Chance(int percent) { return Below(100) < percent; }
  int Code() { return kCodes[Below(4)]; }
  // Requires size > 0.
  std::ptrdiff_t Index(std::size_t size) { return Below(static_cast<int>(size)); }

 private:
  std::mt19937 engine_;
};

// A member whose name `tag` does not use yet, or none.
std::optional<Member> NewMember(Random& random, const ProjectTag& tag) {
  std::vector<std::string> free_names;
  for (const char* name : kMemberNames) {
    const auto named = [name](const Member& m) { return m.name == name; };
    if (std::none_of(tag.members.begin(), tag.members.end(), named)) free_names.push_back(name);
  }
  if (free_names.empty()) return std::nullopt;
  Member member{.name = free_names[random.Index(free_names.size())], .code = random.Code()};
  if (tag.block) {
    member.logged = random.Chance(80);
    member.subfields = random.Below(3);
  }
  return member;
}

ProjectTag NewTag(Random& random) {
  ProjectTag tag{.block = random.Chance(50), .server = 1 + random.Below(2), .code = random.Code()};
  const int members = (tag.block ? 1 : 0) + random.Below(3);
  for (int i = 0; i < members; ++i) {
    if (auto member = NewMember(random, tag)) tag.members.push_back(*member);
  }
  return tag;
}

class History final {
 public:
  History(std::uint32_t seed, int tags) : random_(seed) {
    for (int i = 0; i < tags; ++i) AddTag();
  }

  const Project& project() const { return project_; }

  // Applies one random edit; what it did. `replace_dictionary` is set by the edit that
  // replaces the dictionary by an empty one.
  std::string Edit(bool& replace_dictionary) {
    replace_dictionary = false;
    if (random_.Chance(8)) {
      replace_dictionary = true;
      return "dictionary replaced by an empty one";
    }
    if (project_.empty()) return "added " + AddTag();
    const auto tag = std::next(project_.begin(), random_.Index(project_.size()));
    const std::string name = tag->first;
    ProjectTag& t = tag->second;
    std::vector<Member>& members = t.members;
    Member* member = members.empty() ? nullptr : &members[random_.Index(members.size())];
    switch (random_.Below(8)) {
      case 0:
        return "added " + AddTag();
      case 1:
        removed_.push_back(name);
        project_.erase(tag);
        return "removed " + name;
      case 2:
        t.server = 3 - t.server;
        return "moved " + name;
      case 3:
        if (member == nullptr) {
          t.code = random_.Code();
          return "retyped " + name;
        }
        member->code = random_.Code();
        return "retyped " + name + "\\" + member->name;
      case 4:
        if (auto added = NewMember(random_, t)) {
          members.push_back(*added);
          return "added " + name + "\\" + added->name;
        }
        return "nothing";
      case 5:
        if (member == nullptr) return "nothing";
        members.erase(members.begin() + (member - members.data()));
        return "removed a member of " + name;
      case 6:
        if (member == nullptr || !t.block) return "nothing";
        member->logged = !member->logged;
        return "logging of " + name + "\\" + member->name + " switched";
      default:
        if (member == nullptr || !t.block) return "nothing";
        member->subfields = random_.Below(3);
        return "subfields of " + name + "\\" + member->name + " changed";
    }
  }

 private:
  // A new tag, or one removed earlier coming back in a new form.
  std::string AddTag() {
    std::string name = "T" + std::to_string(next_tag_++);
    if (!removed_.empty() && random_.Chance(30)) {
      name = removed_.back();
      removed_.pop_back();
    }
    project_[name] = NewTag(random_);
    return name;
  }

  Random random_;
  Project project_;
  std::vector<std::string> removed_;
  int next_tag_ = 10;
};

// What one build left.
struct Build {
  std::vector<ReportedMessage> messages;
  TagDictCounters counters;
  std::string tag_file;
  std::string dde_cfg;
  CAccNames names;  // DDE.CFG as the next build reads it
};

// The used records of a Tagname.X.
struct Dictionary {
  explicit Dictionary(const std::string& tag_file) {
    const auto count = static_cast<std::int32_t>(tag_file.size() / tl::kRecordSize) - 1;
    for (std::int32_t n = 1; n <= count; ++n) {
      const TagRec_T record = testing::RecordOf(tag_file, n);
      if (record.IsFree()) continue;
      records.emplace(n, record);
      EXPECT_TRUE(numbers.emplace(record.Name(), n).second) << "two records of " << record.Name();
    }
  }
  std::map<std::int32_t, TagRec_T> records;
  std::map<std::string, std::int32_t, std::less<>> numbers;
};

const char kServersSql[] =
    "INSERT INTO Blocks VALUES (1, 'N1'), (2, 'N2');"
    "INSERT INTO ServerComputerPortToNodes VALUES (1, 'N1'), (2, 'N2');"
    "INSERT INTO ServerComputerPorts VALUES (1, 'SRV1'), (2, 'SRV2');";
// Each computer's access name, which it serves as its standby, so that its tags are read
// through it.
const std::pair<const char*, const char*> kAccessNames[] = {{"PN1", "SRV1"}, {"PN2", "SRV2"}};

// One application of a project served by the computers SRV1 and SRV2 through their local
// access names PN1 and PN2, starting from the shell application's dictionary.
class Application final {
 public:
  explicit Application(const testing::AttachedProject& database) : database_(database) {
    testing::WriteShellDictionary(folder_.path());
  }

  void SetProject(const Project& project) const {
    // Unsynced, in one transaction: syncs would take most of the test's time.
    std::string sql = "PRAGMA synchronous = OFF; BEGIN; DELETE FROM TrendData; DELETE FROM Tags;" +
                      testing::TrendRowsSql(RowsOf(project));
    for (const auto& [name, tag] : project) {
      sql += "UPDATE Tags SET BlockId = " + std::to_string(tag.server) + " WHERE TagName = '" +
             name + "';";
    }
    database_.Run(sql + "COMMIT;");
  }

  void EmptyDictionary() const {
    testing::WriteFile(folder_.path() / "Tagname.X", "");
    testing::WriteFile(folder_.path() / "Tag_Ext.X", "");
  }

  Build BuildOnce() const {
    Build build;
    const std::string folder = folder_.path().string();
    ScopedReportCapture capture;
    CAccNames names;
    EXPECT_TRUE(ReadDDECfgFile(folder, names));
    std::vector<int> indices;
    for (const auto& [access_name, server] : kAccessNames) {
      ProjAccName_T row{access_name, "", server, server, "PelnetData"};
      names.MergeAccessName(row, indices.emplace_back());
    }
    {
      CTagDict dict(TagDictOptions{.folder = folder,
                                   .access_names = &names,
                                   .app_access_names = indices,
                                   .update_dde_points = true,
                                   .discrete_as_integer = true});
      LoadProjectTags(dict);
      dict.WriteNameIndex();
      build.counters = dict.counters();
    }
    WriteDDECfgFile(names, folder);
    build.messages = capture.messages();
    EXPECT_TRUE(ReadDDECfgFile(folder, build.names));
    build.tag_file = testing::ReadFile(folder_.path() / "Tagname.X");
    build.dde_cfg = testing::ReadFile(folder_.path() / "DDE.CFG");
    return build;
  }

 private:
  const testing::AttachedProject& database_;
  testing::TempDir folder_;
};

// The tag a "removed from project database" message names, or none.
std::optional<std::string> RemovedTag(const std::string& text) {
  const std::string prefix = "        TagName.X : Tag ";
  const std::string suffix = " removed from project database";
  if (!text.starts_with(prefix) || !text.ends_with(suffix)) return std::nullopt;
  return text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
}

bool RepairedPoints(const Build& build) {
  for (const ReportedMessage& m : build.messages) {
    if (m.text.find("DDE points did not match Tagname.X") != std::string::npos) return true;
  }
  return false;
}

bool HasPoints(const Build& build) {
  for (int i = 0; i < build.names.GetCount(); ++i) {
    const auto& points = build.names.GetRecord(i).Points;
    if (points != nullptr && !points->empty()) return true;
  }
  return false;
}

void ExpectLinksMutual(const Dictionary& dict) {
  for (const auto& [n, record] : dict.records) {
    const std::string_view name = record.Name();
    const std::int32_t parent = record.Parent();
    EXPECT_EQ(parent != 0, name.find('\\') != std::string_view::npos) << name << " parent";
    if (parent != 0) {
      const auto it = dict.records.find(parent);
      EXPECT_TRUE(it != dict.records.end() && it->second.ListsMember(n))
          << name << " is not listed by its parent " << parent;
    }
    std::set<std::int32_t> seen;
    for (std::uint32_t i = 0; i < record.MemberCount(); ++i) {
      const std::int32_t member = record.Member(i);
      const auto it = dict.records.find(member);
      EXPECT_TRUE(seen.insert(member).second) << name << " lists " << member << " twice";
      EXPECT_TRUE(it != dict.records.end() && it->second.Parent() == n)
          << name << " lists " << member << ", which is not its member";
    }
  }
}

void ExpectPointsMatchTags(const Build& build, const Dictionary& dict) {
  std::map<std::int32_t, int> points_of;
  for (int i = 0; i < build.names.GetCount(); ++i) {
    const AccName_T& access = build.names.GetRecord(i);
    if (access.Points == nullptr) continue;
    access.Points->ForEach([&](const DDEPoint_T& point) {
      const auto it = dict.records.find(point.TagIndex);
      EXPECT_TRUE(it != dict.records.end() && EqualsIgnoreCase(it->second.Name(), point.TagName))
          << access.SourceName << " point " << point.TagName << "@" << point.TagIndex;
      ++points_of[point.TagIndex];
    });
  }
  for (const auto& [n, record] : dict.records) {
    if (!tl::IsIoType(record.Type())) continue;
    EXPECT_EQ(points_of[n], 1) << "points of " << record.Name();
  }
}

void ExpectConsistent(const Build& build, const std::set<std::string>& project_tags) {
  const Dictionary dict(build.tag_file);
  ExpectLinksMutual(dict);
  ExpectPointsMatchTags(build, dict);
  for (const ReportedMessage& m : build.messages) {
    EXPECT_TRUE(m.level != 2 || m.text.ends_with("versions are incompatible")) << m.text;
    if (const auto removed = RemovedTag(m.text)) {
      EXPECT_FALSE(project_tags.contains(*removed)) << m.text;
    }
  }
}

void ExpectEveryProjectTag(const Build& build, const std::set<std::string>& project_tags) {
  const Dictionary dict(build.tag_file);
  for (const std::string& name : project_tags) EXPECT_TRUE(dict.numbers.contains(name)) << name;
}

void ExpectNothingChanged(const Build& before, const Build& after) {
  EXPECT_EQ(after.counters.CreatedTotal, 0);
  const Dictionary was(before.tag_file);
  const Dictionary now(after.tag_file);
  EXPECT_EQ(now.numbers, was.numbers) << "renumbered";
  EXPECT_EQ(after.dde_cfg, before.dde_cfg);
  std::set<std::int32_t> parents_of_removed;
  for (const ReportedMessage& m : after.messages) {
    if (const auto removed = RemovedTag(m.text)) {
      parents_of_removed.insert(now.records.at(now.numbers.at(*removed)).Parent());
      continue;
    }
    const bool about_a_tag = m.text.find("TagName.X : Tag ") != std::string::npos ||
                             m.text.find("DDE data") != std::string::npos ||
                             m.text.find("DDE points") != std::string::npos;
    EXPECT_TRUE(!about_a_tag || m.text.ends_with(" has changed type") ||
                m.text.ends_with("versions are incompatible"))
        << "unchanged build: " << m.text;
  }
  EXPECT_EQ(after.counters.ModifiedTotal, static_cast<std::int32_t>(parents_of_removed.size()));
}

void SaveForFuzzing(const Build& build, std::uint32_t seed, int number) {
  const char* folder = std::getenv("QUELLOR_HISTORY_CORPUS");
  if (folder == nullptr || *folder == '\0') return;
  testing::WriteFile(std::filesystem::path(folder) /
                         ("history_" + std::to_string(seed) + "_" + std::to_string(number)),
                     build.tag_file);
}

void RunHistory(const testing::AttachedProject& database, std::uint32_t seed, int tags) {
  SCOPED_TRACE("history seed " + std::to_string(seed) + " (QUELLOR_TEST_SEED=" +
               std::to_string(seed) + " QUELLOR_EDIT_HISTORIES=1 repeats it alone)");
  History history(seed, tags);
  const Application app(database);
  app.SetProject(history.project());
  Build last = app.BuildOnce();
  ExpectConsistent(last, TagNamesOf(history.project()));
  ExpectEveryProjectTag(last, TagNamesOf(history.project()));
  SaveForFuzzing(last, seed, 0);
  for (int edit = 1; edit <= kEditsPerHistory && !::testing::Test::HasFailure(); ++edit) {
    bool replaced = false;
    const std::string what = history.Edit(replaced);
    SCOPED_TRACE("edit " + std::to_string(edit) + ": " + what);
    if (replaced) app.EmptyDictionary();
    app.SetProject(history.project());
    const std::set<std::string> project_tags = TagNamesOf(history.project());
    Build built = app.BuildOnce();
    ExpectConsistent(built, project_tags);
    EXPECT_EQ(RepairedPoints(built), replaced && HasPoints(last));
    if (replaced) ExpectEveryProjectTag(built, project_tags);
    Build again = app.BuildOnce();
    ExpectConsistent(again, project_tags);
    ExpectNothingChanged(built, again);
    SaveForFuzzing(again, seed, edit);
    last = std::move(again);
  }
}

class EditHistory : public ::testing::TestWithParam<int> {};

TEST_P(EditHistory, KeepsTheDictionaryAndItsDdePointsConsistent) {
  testing::UnsyncedFileSystem unsynced(Env::Default().file_system());
  const ScopedFileSystemOverride no_syncs(unsynced);
  const std::uint32_t first_seed = testing::TestSeed(22000);
  const int histories = PositiveFromEnvironment("QUELLOR_EDIT_HISTORIES", 200);
  const int tags = PositiveFromEnvironment("QUELLOR_HISTORY_TAGS", 30);
  // One project database for all histories: each edit sets the whole project.
  const testing::AttachedProject database(kServersSql);
  for (int i = GetParam(); i < histories && !HasFailure(); i += kShards) {
    RunHistory(database, first_seed + static_cast<std::uint32_t>(i), tags);
  }
}

INSTANTIATE_TEST_SUITE_P(Shards, EditHistory, ::testing::Range(0, kShards));

}  // namespace
}  // namespace quellor
