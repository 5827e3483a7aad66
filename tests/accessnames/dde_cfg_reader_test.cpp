#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "accessnames/dde_cfg.h"
#include "report/report.h"
#include "testing/status_matchers.h"

namespace quellor {
namespace {

using ::testing::ElementsAre;

// One record in one line, for comparing what was read.
std::string Describe(const AccName_T& r) {
  std::string out = r.SourceName + "|" + r.MasterServer + "|" + r.ApplicationName + "|" +
                    r.UnsplitApplicationValue + "|" + r.TopicName + "|" +
                    std::to_string(r.DDESourceID) + "|" + std::to_string(r.RequestInitialData) +
                    "|" + std::to_string(r.AlwaysAdvise) + "|" + std::to_string(r.SuiteLink);
  if (r.Points != nullptr) {
    out += "|P";
    r.Points->ForEach([&out](const DDEPoint_T& p) {
      out += " " + p.TagName + "/" + std::to_string(p.TagIndex) + "/" + p.ItemName;
    });
  }
  if (r.Secondary != nullptr) {
    const SecondarySource_T& s = *r.Secondary;
    out += "|S " + s.ApplicationName + "/" + s.TopicName + "/" +
           std::to_string(s.RequestInitialData) + "/" + std::to_string(s.AlwaysAdvise) + "/" +
           std::to_string(s.SuiteLink) + "/" + s.FailoverExpression + "/" + s.FailoverDeadband +
           "/" + s.DFOFlag + "/" + s.FBDFlag + "/" + s.FailbackDeadband;
  }
  return out;
}

std::vector<std::string> DescribeAll(const CAccNames& names) {
  std::vector<std::string> out;
  for (int i = 0; i < names.GetCount(); ++i) out.push_back(Describe(names.GetRecord(i)));
  return out;
}

constexpr std::string_view kHeader = "Begin DDE Information.\nLast DDE Source:\t5\n";
constexpr std::string_view kTrailer = "End DDE Information.\n";

// A source block whose lines after "Source Name" and before "Begin DDE Points" can be
// replaced, with the given point lines.
std::string Block(std::string_view application = "Application Name:\t\\\\NODE1\\View",
                  std::string_view flags =
                      "Request Initial Data:\t1\nAlways Advise:\t0\n"
                      "SuiteLink:\t1",
                  std::string_view points = "") {
  return "Begin DDE Source Definition.\n    Source Name:\t\tAN\n    " + std::string(application) +
         "\n    Topic Name:\t\t\tTOP\n    DDE Source ID:\t\t3\n" + std::string(flags) +
         "\n    Begin DDE Points\n" + std::string(points) +
         "    End DDE Points\nEnd DDE Source Definition.\n";
}

std::string File(std::string_view blocks) {
  return std::string(kHeader) + std::string(blocks) + std::string(kTrailer);
}

const std::string kSecondaryBlock =
    "Begin DDE Source Definition.\n    Source Name:\t\tRED\nPrimary Data Source\n"
    "    Application Name:\t\t\\\\N1\\View\n    Topic Name:\t\t\tT\n    DDE Source ID:\t\t4\n"
    "    Request Initial Data:\t1\n    Always Advise:\t\t0\n    SuiteLink:\t\t\t1\n"
    "    Begin DDE Points\n    End DDE Points\nSecondary Data Source\n"
    "    Application Name:\t\t  \\\\N2\\View\n    Topic Name:\t\t\t\n"
    "    Request Initial Data:\t0\n    Always Advise:\t\t1\n    SuiteLink:\t\t\t0\n"
    "End DDE Source Definition.\nBegin Failover Information\n    Source Name:\t\tRED\n"
    "Failover Expression:\t\t\tX > 1\nFailover Deadband:\t\t\t5\nDFOFlag:\t\t\t1\n"
    "FBDFlag:\t\t\t\nFailback Deadband:\t\t\t2.5\nEnd Failover Information\n";

const std::string kPlain = "AN|NODE1|View||TOP|3|1|0|1";

TEST(ParseDDECfg, FollowsTheGrammarLineByLine) {
  const struct {
    std::string name;
    std::string text;
    bool valid;
    std::vector<std::string> records;
    int last = 5;
  } cases[] = {
      {"plain block", File(Block()), true, {kPlain}},
      {"no access names", File(""), true, {}},
      {"empty file", "", false, {}, 0},
      {"header only", std::string(kHeader), false, {}},
      {"missing trailer keeps the records read", std::string(kHeader) + Block(), false, {kPlain}},
      {"lines after the trailer are not read", File(Block()) + "garbage\n", true, {kPlain}},
      {"CR LF lines and no final line end",
       "Begin DDE Information.\r\nLast DDE Source:\t5\r\n" + Block() + "End DDE Information.",
       true,
       {kPlain}},
      // The header.
      {"other first line skipped",
       "Anything\n" + Block() + std::string(kTrailer),
       true,
       {kPlain},
       0},
      {"block without header loses its first line", Block() + std::string(kTrailer), false, {}, 0},
      {"last source with words",
       "Begin DDE Information.\nLast DDE Source:   12 and more\n" + std::string(kTrailer),
       true,
       {},
       12},
      {"last source a letter",
       "Begin DDE Information.\nLast DDE Source:\tx12\n" + std::string(kTrailer),
       false,
       {},
       0},
      {"last source without colon",
       "Begin DDE Information.\nLast DDE Source 12\n" + std::string(kTrailer),
       false,
       {},
       0},
      // Keywords and numbers.
      {"space before colon",
       File(Block()).replace(File(Block()).find("Source Name:"), 12, "Source Name :"),
       false,
       {}},
      {"colon-less flags in the primary part",
       File(Block("Application Name:\tView", "1\n0\n1")),
       true,
       {"AN||View||TOP|3|1|0|1"}},
      {"keyword and number without colon",
       File(Block("Application Name:\tView",
                  "Request Initial Data 1\nAlways Advise:\t0\nSuiteLink:\t1")),
       false,
       {}},
      {"flag with another keyword",
       File(
           Block("Application Name:\tView", "Always Advise:\t1\nAlways Advise:\t0\nSuiteLink:\t1")),
       false,
       {}},
      {"negative and signed flags",
       File(Block("Application Name:\tView", "-3\nAlways Advise: +7x\nSuiteLink:\t4294967297")),
       true,
       {"AN||View||TOP|3|-3|7|1"}},
      // Application Name forms.
      {"node and application with blanks",
       File(Block("Application Name:  \\\\ N1 \\  VIEW")),
       true,
       {"AN|N1|VIEW||TOP|3|1|0|1"}},
      {"application alone",
       File(Block("Application Name:\tVIEW")),
       true,
       {"AN||VIEW||TOP|3|1|0|1"}},
      {"node alone is kept as read",
       File(Block("Application Name:\t \\\\NODE1")),
       true,
       {"AN|||\\\\NODE1|TOP|3|1|0|1"}},
      {"node with empty application", File(Block("Application Name:\t\\\\NODE1\\")), false, {}},
      {"empty application", File(Block("Application Name:")), false, {}},
      // Points.
      {"points",
       File(Block("Application Name:\tV", "1\n0\n1",
                  "        TAG1;0012:  ITEM:X\nTAG2; 0x1A : ITEM\n T3 ;-1:I\n")),
       true,
       {"AN||V||TOP|3|1|0|1|P TAG1/18/ITEM:X TAG2/26/ITEM T3/-1/I"}},
      {"point without colon",
       File(Block("Application Name:\tV", "1\n0\n1", "TAG1;12\n")),
       false,
       {}},
      {"point with bad hex",
       File(Block("Application Name:\tV", "1\n0\n1", "TAG1;zz:ITEM\n")),
       false,
       {}},
      {"point without tag",
       File(Block("Application Name:\tV", "1\n0\n1", " ;1:ITEM\n")),
       false,
       {}},
      {"point without item", File(Block("Application Name:\tV", "1\n0\n1", "T;1:  \n")), false, {}},
      {"point without semicolon",
       File(Block("Application Name:\tV", "1\n0\n1", "T:1\n")),
       false,
       {}},
      // Secondary source and failover.
      {"secondary source",
       File(kSecondaryBlock),
       true,
       {"RED|N1|View||T|4|1|0|1|S \\\\N2\\View//0/1/0/X > 1/5/1//2.5"}},
      {"colon-less flag in the secondary part",
       File(std::string(kSecondaryBlock)
                .replace(kSecondaryBlock.find("Always Advise:\t\t1"), 17, "1")),
       false,
       {}},
      {"failover source name under another keyword",
       File(std::string(kSecondaryBlock)
                .replace(kSecondaryBlock.rfind("Source Name:"), 12, "Name:")),
       true,
       {"RED|N1|View||T|4|1|0|1|S \\\\N2\\View//0/1/0/X > 1/5/1//2.5"}},
      {"failover source name without keyword",
       File(std::string(kSecondaryBlock).replace(kSecondaryBlock.rfind("Source Name:"), 12, ":")),
       false,
       {}},
      {"failed block after a good one",
       File(Block() + Block("Application Name:")),
       false,
       {kPlain}},
  };
  for (const auto& c : cases) {
    CAccNames names;
    EXPECT_EQ(ParseDDECfg(c.text, names), c.valid) << c.name;
    EXPECT_EQ(DescribeAll(names), c.records) << c.name;
    EXPECT_EQ(names.GetLastDDESource(), c.last) << c.name;
  }
}

TEST(ParseDDECfg, EmptyPointsBlockGivesNoPointsArray) {
  CAccNames names;
  ASSERT_TRUE(ParseDDECfg(File(Block()), names));
  EXPECT_EQ(names.GetRecord(0).Points, nullptr);
}

TEST(ParseDDECfg, NeverCutsLongLines) {
  const std::string long_item(400, 'i');
  const std::string long_topic(300, 't');
  std::string text = File(Block("Application Name:\tV", "1\n0\n1", "T;1:  " + long_item + "\n"));
  text.replace(text.find("TOP"), 3, long_topic);
  CAccNames names;
  ASSERT_TRUE(ParseDDECfg(text, names));
  EXPECT_EQ(names.GetRecord(0).TopicName, long_topic);
  EXPECT_EQ(names.GetRecord(0).Points->ToVector()[0].ItemName, long_item);
}

TEST(ParseDDECfg, ANulByteEndsTheTextOfItsLine) {
  std::string text = File(Block("Application Name:\tV", "1\n0\n1"));
  text.replace(text.find("TOP"), 3, std::string("TOP\0junk", 8));
  CAccNames names;
  ASSERT_TRUE(ParseDDECfg(text, names));
  EXPECT_EQ(names.GetRecord(0).TopicName, "TOP");
}

// Damage: every cut of a valid file before its trailer is complete, and every single byte
// changed, is read without fault; a cut file is never valid.
TEST(ParseDDECfg, RefusesEveryTruncationAndSurvivesEveryChangedByte) {
  const std::string text =
      File(Block("Application Name:\t\\\\N\\V", "1\n0\n1", "A;1:  X\nB;2:  Y\n") + kSecondaryBlock);
  const std::size_t trailer = text.rfind("End DDE Information.");
  for (std::size_t cut = 0; cut < trailer + 20; ++cut) {
    CAccNames names;
    EXPECT_FALSE(ParseDDECfg(std::string_view(text).substr(0, cut), names)) << cut;
  }
  for (std::size_t at = 0; at < text.size(); ++at) {
    for (const char byte : {'\0', '\n', ':', ';', '\\', 'x', '\x1a'}) {
      std::string damaged = text;
      damaged[at] = byte;
      CAccNames names;
      (void)ParseDDECfg(damaged, names);
    }
  }
}

TEST(ReadDDECfg, ReportsTheOutcomeAndRefusesTheApplicationOnlyForAFault) {
  const struct {
    std::string name;
    Result<std::string> file;
    bool build;
    ReportedMessage message;
    int records;
  } cases[] = {
      {"valid",
       File(Block()),
       true,
       {"        Read Access Name data from file C:\\A\\DDE.CFG", 0, 0},
       1},
      {"invalid",
       std::string(kHeader) + Block(),
       false,
       {"Invalid format in file C:\\A\\DDE.CFG", 2, 1},
       1},
      {"missing",
       Status::NotFound("no file"),
       true,
       {"        No existing Access Name data", 0, 0},
       0},
      // A file that exists but cannot be opened is not a missing one: the application must not
      // be built, or the access names configured in the file would be lost at the write.
      {"held by another build",
       Status::Held("held"),
       false,
       {"Failed to open C:\\A\\DDE.CFG", 2, 1},
       0},
      {"no permission",
       Status::PermissionDenied("denied"),
       false,
       {"Failed to open C:\\A\\DDE.CFG", 2, 1},
       0},
  };
  for (const auto& c : cases) {
    ScopedReportCapture capture;
    CAccNames names;
    EXPECT_EQ(ReadDDECfg(DDECfgPath("C:\\A"), c.file, names), c.build) << c.name;
    EXPECT_THAT(capture.messages(), ElementsAre(c.message)) << c.name;
    EXPECT_EQ(names.GetCount(), c.records) << c.name;
  }
}

}  // namespace
}  // namespace quellor
