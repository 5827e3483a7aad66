// quellor-dump end to end: the built tool run on files in a temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/le_codec.h"
#include "tagbrowser/archive_bytes.h"
#include "tagdict/dictionary_files.h"
#include "tagdict/tag_layout.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

using ::quellor::testing::ArchiveBytes;
using ::quellor::testing::BinaryPath;
using ::quellor::testing::RunBinary;
using ::quellor::testing::RunResult;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// One access name as the build writes it (CR LF); its source name holds the Windows-1252
// byte of "é".
constexpr char kDdeCfg[] =
    "Begin DDE Information.\r\n"
    "Last DDE Source:\t3\r\n"
    "Begin DDE Source Definition.\r\n"
    "    Source Name:\t\tPLC\xE9\r\n"
    "    Application Name:\t\t\\\\SCADA1\\PelnetData\r\n"
    "    Topic Name:\t\t\tSCADA1@PLC1@None\r\n"
    "    DDE Source ID:\t\t3\r\n"
    "    Request Initial Data:\t1\r\n"
    "    Always Advise:\t\t0\r\n"
    "    SuiteLink:\t\t\t1\r\n"
    "    Begin DDE Points\r\n"
    "        TIC101;0001:  TIC101\r\n"
    "    End DDE Points\r\n"
    "End DDE Source Definition.\r\n"
    "End DDE Information.\r\n";

std::string WithoutCr(std::string text) {
  std::erase(text, '\r');
  return text;
}

std::string Utf8(std::string text) {
  const std::size_t at = text.find('\xE9');
  if (at != std::string::npos) text.replace(at, 1, "\xC3\xA9");
  return text;
}

// A TagBrw.DAT with a wide header text, two remote applications and two filters whose keys
// come in descending order.
ArchiveBytes TagBrwFile() {
  ArchiveBytes bytes;
  bytes.Fill(16, 0x01).Wide(u"Caf\u00e9").Fill(16, 0x02).Le32(7).Le32(0x12345678);
  bytes.Count(2)
      .Str("Zeta")
      .Str("Z:\\plant (Zeta)")
      .Str("Zeta")
      .Str("PelnetData")
      .Str("{g}")
      .Str("Alpha")
      .Str("tab\there")
      .Str("say \"hi\"")
      .Str("")
      .Str("");
  bytes.Count(2)
      .Str("B/*")
      .Str("B/*")
      .Str("")
      .Str("")
      .Str("B/*")
      .Str("")
      .Str("")
      .Str("A/x")
      .Str("A/x")
      .Str("2")
      .Str("3")
      .Str("A/x")
      .Str("5")
      .Str("6");
  return bytes;
}

std::string TagBrwText() {
  const ArchiveBytes bytes = TagBrwFile();
  return std::string(bytes.bytes().begin(), bytes.bytes().end());
}

constexpr char kTagBrwHead[] =
    "Header1          01 01 01 01 01 01 01 01 01 01 01 01 01 01 01 01\n"
    "HeaderText       \"Caf\xC3\xA9\"\n"
    "Header2          02 02 02 02 02 02 02 02 02 02 02 02 02 02 02 02\n"
    "HeaderValue1     7 (0x00000007)\n"
    "HeaderValue2     305419896 (0x12345678)\n";

constexpr char kTagBrwZeta[] =
    "  [0]\n"
    "    Name             \"Zeta\"\n"
    "    Location         \"Z:\\plant (Zeta)\"\n"
    "    AccessName       \"Zeta\"\n"
    "    ApplicationName  \"PelnetData\"\n"
    "    Guid             \"{g}\"\n";

constexpr char kTagBrwRest[] =
    "  [1]\n"
    "    Name             \"Alpha\"\n"
    "    Location         \"tab\\x09here\"\n"
    "    AccessName       \"say \\\"hi\\\"\"\n"
    "    ApplicationName  \"\"\n"
    "    Guid             \"\"\n"
    "Filters          2\n"
    "  key \"A/x\"\n"
    "    Name             \"A/x\"\n"
    "    Text2            \"2\"\n"
    "    Text3            \"3\"\n"
    "    FilterText       \"A/x\"\n"
    "    Text5            \"5\"\n"
    "    Text6            \"6\"\n"
    "  key \"B/*\"\n"
    "    Name             \"B/*\"\n"
    "    Text2            \"\"\n"
    "    Text3            \"\"\n"
    "    FilterText       \"B/*\"\n"
    "    Text5            \"\"\n"
    "    Text6            \"\"\n";

class QuellorDump : public ::testing::Test {
 protected:
  RunResult Dump(const std::vector<std::string>& args) {
    return RunBinary(BinaryPath("quellor-dump"), args);
  }
  std::string Write(const std::string& name, std::string_view bytes) {
    testing::WriteFile(dir_.path() / name, bytes);
    return dir_.Join(name);
  }

  testing::TempDir dir_;
};

TEST_F(QuellorDump, BadUsageExitsWithTwoAndShowsTheUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {}, {"nope"}, {"ddecfg"}, {"tagbrw", "a", "b"}};
  for (const auto& args : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const RunResult run = Dump(args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("usage: quellor-dump SUBCOMMAND"));
  }
  const RunResult help = Dump({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_THAT(help.out, StartsWith("usage: quellor-dump SUBCOMMAND"));
}

TEST_F(QuellorDump, DdeCfgShowsTheMessagesThenTheFileAsWrittenBack) {
  const std::string path = Write("DDE.CFG", std::string(kDdeCfg) +
                                                "\x1A"
                                                "after Ctrl-Z");
  const RunResult run = Dump({"ddecfg", path});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "        Read Access Name data from file " + path + "\n" + Utf8(WithoutCr(kDdeCfg)));
  EXPECT_EQ(run.err, "");
}

TEST_F(QuellorDump, DdeCfgThatTheBuildRefusesShowsOnlyItsMessagesAndFails) {
  std::string cut(kDdeCfg);
  cut.resize(cut.find("End DDE Information."));
  const RunResult run = Dump({"ddecfg", Write("DDE.CFG", cut)});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.out, StartsWith("ERROR - "));
  EXPECT_THAT(run.out, ::testing::Not(HasSubstr("Begin DDE Information.")));
}

TEST_F(QuellorDump, TagBrwShowsTheHeaderTheRemoteAppsInOrderAndTheFiltersByKey) {
  const RunResult run = Dump({"tagbrw", Write("TagBrw.DAT", TagBrwText())});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kTagBrwHead) + "RemoteApps       2\n" + kTagBrwZeta + kTagBrwRest);
  EXPECT_EQ(run.err, "");
}

TEST_F(QuellorDump, DamagedTagBrwShowsWhatWasReadAndFails) {
  // Cut inside the second remote application.
  const std::string cut = TagBrwText().substr(0, 120);
  const RunResult run = Dump({"tagbrw", Write("TagBrW.DAT", cut)});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, std::string(kTagBrwHead) + "RemoteApps       1\n" + kTagBrwZeta +
                         "Filters          0\n");
  EXPECT_THAT(run.err, StartsWith("Failed to load TagBrw.dat\nquellor-dump: "));
}

TEST_F(QuellorDump, AnUnreadableFileFailsWithOne) {
  for (const char* command : {"ddecfg", "tagbrw"}) {
    SCOPED_TRACE(command);
    const RunResult run = Dump({command, dir_.Join("missing")});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, StartsWith("quellor-dump: "));
  }
}

TEST(QuellorDumpTagname, ShowsTheHeaderUsedRecordsWithMembersAndTheFreeChain) {
  testing::TempDir dir;
  testing::WriteDictionary(
      dir.path(), {testing::TestTag{.name = "$System", .type = 217, .alarm_group = 1}, std::nullopt,
                   testing::TestTag{.name = "TIC101", .type = 213, .members = {4}},
                   testing::TestTag{.name = "TIC101\\PV", .type = 206, .access_name = 2},
                   testing::TestTag{.name = "", .next_free = 2}});
  // Record count 5, free chain 5 -> 2.
  std::string tag_file = testing::ReadFile(dir.path() / "Tagname.X");
  StoreLe32(reinterpret_cast<std::uint8_t*>(tag_file.data()) + tag_layout::kHdrRecordCount, 5);
  StoreLe32(reinterpret_cast<std::uint8_t*>(tag_file.data()) + tag_layout::kHdrFreeHead, 5);
  testing::WriteFile(dir.path() / "tagname.x", tag_file);  // found without regard to case
  std::filesystem::remove(dir.path() / "Tagname.X");

  const RunResult result = RunBinary(BinaryPath("quellor-dump"), {"tagname", dir.path()});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("records      5 (5 whole in the file)\nfree head    5\n"));
  EXPECT_THAT(result.out,
              HasSubstr("     1 \"$System\" type 217 parent 0 alarm group 1 access name 0\n"
                        "     3 \"TIC101\" type 213 parent 0 alarm group 0 access name 0\n"
                        "       members 1: 4\n"
                        "     4 \"TIC101\\PV\" type 206 parent 0 alarm group 0 access name 2\n"
                        "free chain   5 2 end\n"));
  EXPECT_THAT(result.out, HasSubstr("3072 bytes, 6 whole units of 512"));
}

TEST(QuellorDumpTagname, RefusesADictionaryWithoutAWholeHeaderAndShowsABrokenChain) {
  testing::TempDir dir;
  testing::WriteFile(dir.path() / "Tagname.X", std::string(10, '\0'));
  RunResult result = RunBinary(BinaryPath("quellor-dump"), {"tagname", dir.path()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, HasSubstr("damaged (no whole header)"));

  // A chain that comes back to itself is shown as broken, not followed for ever.
  testing::WriteDictionary(dir.path(), {testing::TestTag{.name = "", .next_free = 1}});
  std::string tag_file = testing::ReadFile(dir.path() / "Tagname.X");
  StoreLe32(reinterpret_cast<std::uint8_t*>(tag_file.data()) + tag_layout::kHdrFreeHead, 1);
  testing::WriteFile(dir.path() / "Tagname.X", tag_file);
  result = RunBinary(BinaryPath("quellor-dump"), {"tagname", dir.path()});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_THAT(result.out, HasSubstr("free chain   1 1 (broken)\n"));
}

TEST(QuellorDumpTagname, TakesTheFolderOrItsTagnameXAndFailsOnANonDictionaryOrACutOne) {
  testing::TempDir dir;
  testing::WriteDictionary(dir.path(), {testing::TestTag{.name = "TIC101", .type = 206}});
  const std::string whole = testing::ReadFile(dir.path() / "Tagname.X");
  std::string wrong_magic = whole;
  StoreLe32(reinterpret_cast<std::uint8_t*>(wrong_magic.data()) + tag_layout::kHdrMagic, 7);
  const struct {
    const char* name;
    std::string tag_file;
    std::string operand;
    int exit_code;
    const char* error;  // on standard error; nullptr: nothing
  } cases[] = {
      {"the folder", whole, dir.path().string(), 0, nullptr},
      {"its Tagname.X", whole, (dir.path() / "tagname.x").string(), 0, nullptr},
      {"no magic number", wrong_magic, dir.path().string(), 1,
       "/Tagname.X: not a tag dictionary (its magic number is wrong)\n"},
      {"cut inside a record", whole.substr(0, 1500), dir.path().string(), 1,
       "/Tagname.X: cut (476 bytes after the last whole record)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::WriteFile(dir.path() / "Tagname.X", c.tag_file);
    const RunResult result = RunBinary(BinaryPath("quellor-dump"), {"tagname", c.operand});
    EXPECT_EQ(result.exit_code, c.exit_code);
    EXPECT_THAT(result.out, StartsWith("Tagname.X    " + dir.path().string() + "/Tagname.X\n"));
    if (c.error == nullptr) {
      EXPECT_EQ(result.err, "");
      EXPECT_THAT(result.out, HasSubstr("\"TIC101\" type 206"));
    } else {
      EXPECT_EQ(result.err, "quellor-dump: " + dir.path().string() + c.error);
    }
  }
}

TEST(QuellorDumpNdx, ListsEveryRecordNumberAndRefusesAPartEntry) {
  testing::TempDir dir;
  const std::string entry = std::string("TIC101") + std::string(123, '\0');
  testing::WriteFile(dir.path() / "Tagnames.NDX", entry + std::string(129, '\0') + entry);
  RunResult result =
      RunBinary(BinaryPath("quellor-dump"), {"ndx", (dir.path() / "Tagnames.NDX").string()});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_THAT(result.out, HasSubstr(": 3 entries\n     1 \"TIC101\"\n     2 (free)\n     3 "
                                    "\"TIC101\"\n"));
  testing::WriteFile(dir.path() / "Tagnames.NDX", entry + "x");
  result = RunBinary(BinaryPath("quellor-dump"), {"ndx", (dir.path() / "Tagnames.NDX").string()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_THAT(result.err, HasSubstr("damaged (1 bytes after the last whole entry)"));
}

}  // namespace
}  // namespace quellor
