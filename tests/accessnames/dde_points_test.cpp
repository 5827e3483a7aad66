#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "accessnames/acc_names.h"
#include "accessnames/dde_cfg.h"
#include "base/ascii.h"
#include "report/report.h"
#include "testing/test_seed.h"

namespace quellor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Block(std::string_view name, int id, std::string_view application,
                  std::string_view topic, std::string_view points) {
  return "Begin DDE Source Definition.\nSource Name:\t" + std::string(name) +
         "\nApplication Name:\t" + std::string(application) + "\nTopic Name:\t" +
         std::string(topic) + "\nDDE Source ID:\t" + std::to_string(id) +
         "\nRequest Initial Data:\t1\nAlways Advise:\t0\nSuiteLink:\t1\nBegin DDE Points\n" +
         std::string(points) + "End DDE Points\nEnd DDE Source Definition.\n";
}

CAccNames FromBlocks(const std::string& blocks) {
  CAccNames names;
  EXPECT_TRUE(ParseDDECfg(
      "Begin DDE Information.\nLast DDE Source:\t9\n" + blocks + "End DDE Information.\n", names));
  return names;
}

std::vector<DDEPoint_T> PointsOf(const CAccNames& names, int index) {
  const AccName_T& record = names.GetRecord(index);
  return record.Points == nullptr ? std::vector<DDEPoint_T>{} : record.Points->ToVector();
}

std::vector<std::string> TagsOf(const CAccNames& names, int index) {
  std::vector<std::string> tags;
  for (const DDEPoint_T& point : PointsOf(names, index)) tags.push_back(point.TagName);
  return tags;
}

TEST(SetTagPoint, PutsNewPointsFirstMostRecentFirstAndKeepsOldOnesInOrder) {
  CAccNames names = FromBlocks(Block("A", 1, "View", "T", "OLD1;1:  I\nOLD2;2:  I\n"));
  names.SetTagPoint(1, "NEW1", 3, "I");
  names.SetTagPoint(1, "NEW2", 4, "I");
  EXPECT_THAT(TagsOf(names, 0), ElementsAre("NEW2", "NEW1", "OLD1", "OLD2"));
  names.RemoveTagPoint("OLD1");
  names.SetTagPoint(1, "OLD1", 1, "I");
  EXPECT_THAT(TagsOf(names, 0), ElementsAre("OLD1", "NEW2", "NEW1", "OLD2"));
}

TEST(SetTagPoint, UpdatesAPointFoundWithoutRegardToCaseInPlace) {
  CAccNames names = FromBlocks(Block("A", 1, "View", "T", "X;1:  I\nTag1;5:  Item\nY;2:  I\n"));
  ScopedReportCapture capture;
  names.SetTagPoint(1, "TAG1", 5, "ITEM");
  EXPECT_THAT(capture.messages(), IsEmpty()) << "an item differing only in case is no change";
  EXPECT_EQ(PointsOf(names, 0)[1], (DDEPoint_T{"Tag1", 5, "Item"}));

  names.SetTagPoint(1, "TAG1", 6, "ITEM");
  EXPECT_EQ(PointsOf(names, 0)[1], (DDEPoint_T{"Tag1", 6, "ITEM"}));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0],
            (ReportedMessage{"        DDE data for tag TAG1 has been modified", 0, 1}));

  names.RemoveTagPoint("TAG1");
  EXPECT_EQ(PointsOf(names, 0).size(), 3u) << "removal matches letter case exactly";
  names.RemoveTagPoint("Tag1");
  EXPECT_THAT(TagsOf(names, 0), ElementsAre("X", "Y"));
}

TEST(SetTagPoint, UsesTheFirstRecordOfAnIdAndIgnoresUnknownIds) {
  CAccNames names = FromBlocks(Block("A", 2, "View", "T", "") + Block("B", 2, "View", "T", ""));
  names.SetTagPoint(0, "T0", 1, "I");
  names.SetTagPoint(2, "T2", 1, "I");
  EXPECT_THAT(TagsOf(names, 0), ElementsAre("T2"));
  EXPECT_EQ(names.GetRecord(1).Points, nullptr);
}

TEST(RemoveTagPoint, ASetMovedFromTakesPointOperationsAndTheNewSetKeepsItsPoints) {
  CAccNames names = FromBlocks(Block("A", 1, "View", "T", "P;1:  I\n"));
  CAccNames moved = std::move(names);
  names.RemoveTagPoint("P");  // NOLINT(bugprone-use-after-move): what is left must still work
  names.SetTagPoint(1, "Q", 2, "I");
  EXPECT_EQ(names.GetCount(), 0);
  moved.ReplaceTagPoint(1, "P", 3, "J");
  EXPECT_EQ(PointsOf(moved, 0), (std::vector<DDEPoint_T>{{"P", 3, "J"}}));
}

TEST(RemoveTagPoint, RemovesOnlyTheFirstExactMatchInRecordOrder) {
  CAccNames names = FromBlocks(Block("A", 1, "View", "T", "P;1:  I\nQ;2:  I\nQ;3:  I\n") +
                               Block("B", 2, "View", "T", "Q;4:  I\n"));
  names.RemoveTagPoint("Q");
  EXPECT_EQ(PointsOf(names, 0), (std::vector<DDEPoint_T>{{"P", 1, "I"}, {"Q", 3, "I"}}));
  names.RemoveTagPoint("Q");
  names.RemoveTagPoint("Q");
  EXPECT_THAT(TagsOf(names, 0), ElementsAre("P"));
  EXPECT_THAT(TagsOf(names, 1), IsEmpty());
  names.RemoveTagPoint("Q");  // nothing left: no effect
  names.SetTagPoint(2, "Q", 9, "I");
  names.RemoveTagPoint("Q");
  EXPECT_THAT(TagsOf(names, 1), IsEmpty());
}

TEST(ReconcileTagPoints, KeepsOnePointPerTagOnItsRecordAndReportsEachAccessNameChanged) {
  CAccNames names = FromBlocks(
      Block("A", 1, "View", "T", "KEEP;1:  I\nMOVED;2:  I\nGONE;3:  I\nKEEP;1:  J\n") +
      Block("B", 2, "View", "T", "MOVED;5:  I\n") + Block("C", 3, "View", "T", "keep2;4:  I\n"));
  // The dictionary holds KEEP at 1, KEEP2 at 4 and MOVED at 5.
  const std::map<int, std::string> records = {{1, "KEEP"}, {4, "KEEP2"}, {5, "MOVED"}};
  const auto record_of = [&](std::string_view name, int index) {
    if (const auto it = records.find(index);
        it != records.end() && EqualsIgnoreCase(it->second, name)) {
      return index;
    }
    for (const auto& [number, tag] : records) {
      if (tag == name) return number;
    }
    return 0;
  };
  ScopedReportCapture capture;
  names.ReconcileTagPoints(record_of);
  EXPECT_THAT(capture.messages(),
              ElementsAre(ReportedMessage{"Access Name: A - 3 DDE points did not match Tagname.X: "
                                          "1 moved to their tag's record, 2 removed",
                                          1, 0},
                          ReportedMessage{"Access Name: B - 1 DDE points did not match Tagname.X: "
                                          "0 moved to their tag's record, 1 removed",
                                          1, 0}));
  EXPECT_EQ(PointsOf(names, 0), (std::vector<DDEPoint_T>{{"KEEP", 1, "I"}, {"MOVED", 5, "I"}}));
  EXPECT_THAT(TagsOf(names, 1), IsEmpty());
  EXPECT_THAT(TagsOf(names, 2), ElementsAre("keep2"));
  // The removed points are gone from the name lookups too.
  names.RemoveTagPoint("MOVED");
  names.SetTagPoint(2, "GONE", 3, "I");
  EXPECT_THAT(TagsOf(names, 0), ElementsAre("KEEP"));
  EXPECT_THAT(TagsOf(names, 1), ElementsAre("GONE"));
}

// The points against a plain model: arrays with insertion at position 0 and linear scans, over
// random removals, sets and replacements on a few names in several letter cases, duplicates from
// the file included.
TEST(DDEPointsModel, MatchesArraysWithFrontInsertionOverRandomOperations) {
  const std::vector<std::string> tags = {"a", "A", "b", "B", "c", "dd", "Dd", "DD"};
  const std::uint32_t seed = testing::TestSeed(20240611);
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  const auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };

  CAccNames names =
      FromBlocks(Block("R0", 1, "View", "T", "a;1:  x\nA;2:  x\na;3:  y\n") +
                 Block("R1", 2, "View", "T", "") + Block("R2", 2, "View", "T", "b;4:  x\n") +
                 Block("R3", 3, "View", "T", "dd;5:  x\nB;6:  x\n"));
  const std::vector<int> ids = {1, 2, 2, 3};
  std::vector<std::vector<DDEPoint_T>> model;
  for (int i = 0; i < names.GetCount(); ++i) model.push_back(PointsOf(names, i));

  ScopedReportCapture capture;
  for (int step = 0; step < 4000; ++step) {
    const std::string& tag = tags[pick(tags.size())];
    std::vector<std::string> expected_messages;
    // 0: remove; 1: set; 2: replace, which is remove then set.
    const std::size_t operation = pick(3);
    if (operation != 1) {
      for (auto& points : model) {
        const auto it = std::find_if(points.begin(), points.end(),
                                     [&](const DDEPoint_T& p) { return p.TagName == tag; });
        if (it == points.end()) continue;
        points.erase(it);
        break;
      }
    }
    if (operation == 0) {
      names.RemoveTagPoint(tag);
    } else {
      const int id = static_cast<int>(pick(5));
      const int index = static_cast<int>(pick(3));
      const std::string item = pick(2) == 0 ? "x" : "X";
      const auto record = std::find(ids.begin(), ids.end(), id);
      if (record != ids.end()) {
        auto& points = model[static_cast<std::size_t>(record - ids.begin())];
        const auto it = std::find_if(points.begin(), points.end(), [&](const DDEPoint_T& p) {
          return EqualsIgnoreCase(p.TagName, tag);
        });
        if (it == points.end()) {
          points.insert(points.begin(), DDEPoint_T{tag, index, item});
        } else if (it->TagIndex != index || !EqualsIgnoreCase(it->ItemName, item)) {
          it->TagIndex = index;
          it->ItemName = item;
          expected_messages.push_back("        DDE data for tag " + tag + " has been modified");
        }
      }
      if (operation == 1) {
        names.SetTagPoint(id, tag, index, item);
      } else {
        names.ReplaceTagPoint(id, tag, index, item);
      }
    }
    ASSERT_EQ(capture.lines(), expected_messages) << "step " << step;
    capture.Clear();
    for (int i = 0; i < names.GetCount(); ++i) {
      ASSERT_EQ(PointsOf(names, i), model[static_cast<std::size_t>(i)]) << "step " << step;
    }
  }
}

TEST(SetAlwaysAdvise, SetsListedRecordsAndSkipsIndicesAtOrAboveTheCount) {
  CAccNames names = FromBlocks(Block("A", 1, "View", "T", "") + Block("B", 2, "View", "T", ""));
  const int indices[] = {1, 2, 7};
  names.SetAlwaysAdvise(indices, 1);
  EXPECT_EQ(names.GetRecord(0).AlwaysAdvise, 0);
  EXPECT_EQ(names.GetRecord(1).AlwaysAdvise, 1);
}

TEST(SelectPelnetSource, WeighsLocalAndReadOnlyAccessNames) {
  const struct {
    std::string blocks;
    std::vector<int> indices;
    int expected;
  } cases[] = {
      // Another computer's read-only topic (1) loses to a read-write one (3).
      {Block("A", 1, "\\\\OTHER\\PelnetData", "T_RO", "") +
           Block("B", 2, "\\\\M\\PelnetData", "T", ""),
       {0, 1},
       2},
      // Read-only in lower case: 1, so the read-write one (3) wins.
      {Block("A", 1, "\\\\OTHER\\pelnetdata", "t_ro", "") +
           Block("B", 2, "\\\\OTHER\\PelnetData", "T", ""),
       {0, 1},
       2},
      // Equal weights: the first in the list.
      {Block("A", 1, "\\\\X\\PelnetData", "T", "") + Block("B", 2, "\\\\Y\\PelnetData", "T", ""),
       {1, 0},
       2},
      // Not PelnetData, or indices above the count: nothing found.
      {Block("A", 1, "\\\\SRV\\View", "T", ""), {0, 5}, 0},
      // A topic of three characters or fewer is compared whole.
      {Block("A", 1, "\\\\X\\PelnetData", "_ro", "") + Block("B", 2, "\\\\X\\PelnetData", "RO", ""),
       {0, 1},
       2},
  };
  for (const auto& c : cases) {
    const CAccNames names = FromBlocks(c.blocks);
    int id = -1;
    names.SelectPelnetSource(c.indices, "SRV", id);
    EXPECT_EQ(id, c.expected) << c.blocks;
  }
}

TEST(SelectPelnetSource, CountsTheMasterAsLocalOnlyWithAStandbyServer) {
  CAccNames names;
  ProjAccName_T plain{"A", "T", "SRV", "", "PelnetData"};
  ProjAccName_T remote_ro{"B", "t_ro  ", "OTHER", "", "PelnetData"};  // read-only
  ProjAccName_T redundant{"C", "T_RO", "SRV", "S2", "PelnetData"};
  ProjAccName_T standby{"D", "T", "OTHER", "SRV", "PelnetData"};
  int a = 0, b = 0, c = 0, d = 0;
  names.MergeAccessName(plain, a);
  names.MergeAccessName(remote_ro, b);
  names.MergeAccessName(redundant, c);
  names.MergeAccessName(standby, d);
  int id = 0;
  const int plain_only[] = {b, a};
  names.SelectPelnetSource(plain_only, "SRV", id);
  EXPECT_EQ(id, 1) << "master without standby: weight 3, not local";
  const int with_redundant[] = {a, c};
  names.SelectPelnetSource(with_redundant, "SRV", id);
  EXPECT_EQ(id, 1) << "local read-only (2) loses to read-write (3)";
  const int all[] = {b, c, d, a};
  names.SelectPelnetSource(all, "SRV", id);
  EXPECT_EQ(id, 4) << "the standby server is local";
}

}  // namespace
}  // namespace quellor
