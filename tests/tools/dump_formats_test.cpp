// quellor-dump's machine-readable outputs: the CSV and JSON rules themselves, and each
// subcommand's table or document through the built tool on files in a temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "quellor-dump/csv_writer.h"
#include "quellor-dump/json_writer.h"
#include "tagdict/dictionary_files.h"
#include "tagdict/tag_layout.h"
#include "testing/run_binary.h"
#include "testing/temp_dir.h"

namespace quellor {
namespace {

namespace layout = tag_layout;
using ::quellor::testing::BinaryPath;
using ::quellor::testing::RunBinary;
using ::quellor::testing::RunResult;
using ::testing::EndsWith;
using ::testing::HasSubstr;

TEST(CsvField, QuotesOnlyWhatRfc4180NeedsAndConvertsToUtf8) {
  const struct {
    const char* text;  // Windows-1252
    const char* field;
  } cases[] = {
      {"TIC101", "TIC101"},
      {"", ""},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"line\nend", "\"line\nend\""},
      {"Caf\xE9 \x80", "Caf\xC3\xA9 \xE2\x82\xAC"},
      {"tab\there", "tab\there"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(dump::CsvField(c.text), c.field);
  }
}

TEST(JsonString, EscapesQuotesBackslashesAndControlBytesAndConvertsToUtf8) {
  const struct {
    std::string text;  // Windows-1252
    const char* json;
  } cases[] = {
      {"TIC101\\PV", "\"TIC101\\\\PV\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {std::string("a\0b", 3), "\"a\\u0000b\""},
      {"tab\tCR\r\x1F", "\"tab\\u0009CR\\u000D\\u001F\""},
      {"Caf\xE9", "\"Caf\xC3\xA9\""},
      {"\x81", "\"\xC2\x81\""},  // a byte Windows maps to the control character of its value
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    EXPECT_EQ(dump::JsonString(c.text), c.json);
  }
}

TEST(JsonWriter, IndentsMembersKeepsScalarsOfAnArrayOnOneLineAndClosesWhatIsOpen) {
  dump::JsonWriter json;
  json.BeginObject().Key("n").Int(-7).Key("list").BeginArray().Int(1).Int(2).End();
  json.Key("empty").BeginArray().End().Key("objects").BeginArray();
  json.BeginObject().Key("x").Float(0.1f).Key("nan").Float(std::nanf("")).End();
  json.BeginObject().Key("inf").Float(std::numeric_limits<float>::infinity()).Key("t").Bool(true);
  // Left open: Finish closes the object and the array and the document.
  EXPECT_EQ(json.Finish(),
            "{\n"
            "  \"n\": -7,\n"
            "  \"list\": [1, 2],\n"
            "  \"empty\": [],\n"
            "  \"objects\": [\n"
            "    {\n"
            "      \"x\": 0.1,\n"
            "      \"nan\": null\n"
            "    },\n"
            "    {\n"
            "      \"inf\": null,\n"
            "      \"t\": true\n"
            "    }\n"
            "  ]\n"
            "}\n");
}

TEST(FloatText, IsTheShortestTextOfTheFloat32) {
  EXPECT_EQ(dump::FloatText(0.1f), "0.1");
  EXPECT_EQ(dump::FloatText(100.5f), "100.5");
  EXPECT_EQ(dump::FloatText(-3.0f), "-3");
  EXPECT_EQ(dump::FloatText(1e20f), "1e+20");
}

// A dictionary with a real tag (texts that need quoting, ranges, logged), a free record and a
// group listing the real tag.
class DumpFormats : public ::testing::Test {
 protected:
  void SetUp() override {
    TagRec_T real = testing::MakeRecord({.name = "FIC,\"1\"", .type = 206, .access_name = 3});
    real.SetText(layout::kDescription, layout::kDescriptionWidth, "Caf\xE9 flow");
    real.SetText(layout::kUnits, layout::kUnitsWidth, "m3/h");
    real.SetText(layout::kAnalogItem, layout::kItemWidth, "FIC1.PV");
    real.SetF32(layout::kEngMin, -0.5f);
    real.SetF32(layout::kEngMax, 100.25f);
    real.SetF32(layout::kRawMax, 4095.0f);
    real.SetU32(layout::kFlags712, 1);
    real.SetF32(layout::kLogDeadband, 0.5f);
    real.SetI32(layout::kParent, 3);
    const TagRec_T group = testing::MakeRecord({.name = "AREA", .type = 213, .members = {1}});
    std::string tag_file = testing::HeaderBytes(9);
    tag_file.resize(layout::kRecordSize, '\0');
    for (const TagRec_T& record : {real, TagRec_T(), group}) {
      tag_file.append(reinterpret_cast<const char*>(record.bytes().data()), layout::kRecordSize);
    }
    testing::WriteFile(dir_.path() / "Tagname.X", tag_file);
    testing::WriteFile(dir_.path() / "Tag_Ext.X", std::string(4 * 512, '\0'));
  }

  RunResult Dump(const std::vector<std::string>& args) {
    return RunBinary(BinaryPath("quellor-dump"), args);
  }

  testing::TempDir dir_;
};

TEST_F(DumpFormats, TagnameCsvHasAHeaderAndOneRowPerUsedRecordWithEveryField) {
  const RunResult run = Dump({"tagname", "--format", "csv", dir_.path().string()});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "record,name,description,type,word_292,alarm_group,flags_304,word_308,defaults_320,"
            "word_332,word_340,units,access_name,item,initial_value,eng_min,eng_max,raw_min,"
            "raw_max,word_680,flags_712,logged,log_deadband,word_724,member_mark,parent,"
            "member_count,members\r\n"
            "1,\"FIC,\"\"1\"\"\",Caf\xC3\xA9 flow,206,0,0,0,0,0 0 0,0,0,m3/h,3,FIC1.PV,0,-0.5,"
            "100.25,0,4095,0,1,1,0.5,0,0,3,0,\r\n"
            "3,AREA,,213,0,0,0,0,,,,,,,,,,,,,,,,0,0,0,1,1\r\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(DumpFormats, TagnameJsonHoldsTheHeaderEveryFieldTheFreeChainAndTagExt) {
  const RunResult run = Dump({"tagname", "--format=json", dir_.path().string()});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("\"version\": 9,\n    \"save_count\": 0,"));
  EXPECT_THAT(run.out, HasSubstr("\"record\": 1,\n      \"name\": \"FIC,\\\"1\\\"\",\n"
                                 "      \"description\": \"Caf\xC3\xA9 flow\","));
  EXPECT_THAT(run.out, HasSubstr("\"eng_max\": 100.25,"));
  EXPECT_THAT(run.out, HasSubstr("\"logged\": true,"));
  EXPECT_THAT(run.out, HasSubstr("\"record\": 3,\n      \"name\": \"AREA\","));
  EXPECT_THAT(run.out, HasSubstr("\"units\": null,"));
  EXPECT_THAT(run.out, HasSubstr("\"members\": [1]\n"));
  EXPECT_THAT(run.out, HasSubstr("\"free_chain\": {\n    \"records\": [],\n    \"end\": \"end\""));
  EXPECT_THAT(run.out, HasSubstr("\"bytes\": 2048,\n    \"whole_units\": 4\n  }\n}\n"));
}

TEST_F(DumpFormats, DamagedInputGivesWhatWasReadAsAWholeDocumentAndFails) {
  std::string tag_file = testing::ReadFile(dir_.path() / "Tagname.X");
  testing::WriteFile(dir_.path() / "Tagname.X", tag_file.substr(0, 2 * 1024 + 100));
  testing::WriteFile(dir_.path() / "Tagnames.NDX", std::string(129, 'A') + "x");
  const struct {
    std::vector<std::string> args;
    const char* out_end;
    const char* err;
  } cases[] = {
      {{"tagname", "--format", "json", dir_.path().string()},
       "\n  }\n}\n",
       "cut (100 bytes after the last whole record)"},
      {{"tagname", "--format", "csv", dir_.path().string()},
       "\r\n1,\"FIC,\"\"1\"\"\"",
       "cut (100 bytes after the last whole record)"},
      {{"ndx", "--format", "json", (dir_.path() / "Tagnames.NDX").string()},
       "\"record\": 1,\n      \"name\": \"AAAA",
       "damaged (1 bytes after the last whole entry)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[2]);
    const RunResult run = Dump(c.args);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_THAT(run.out, HasSubstr(c.out_end));
    EXPECT_THAT(run.err, HasSubstr(c.err));
  }
}

TEST_F(DumpFormats, NdxDdeCfgAndTagBrwPrintTheirTables) {
  testing::WriteFile(dir_.path() / "Tagnames.NDX",
                     std::string("A,B") + std::string(126, '\0') + std::string(129, '\0'));
  testing::WriteFile(dir_.path() / "DDE.CFG",
                     "Begin DDE Information.\r\nLast DDE Source:\t3\r\n"
                     "Begin DDE Source Definition.\r\n    Source Name:\t\tPLC\xE9\r\n"
                     "    Application Name:\t\t\\\\SCADA1\\PelnetData\r\n"
                     "    Topic Name:\t\t\tPLC1\r\n    DDE Source ID:\t\t3\r\n"
                     "    Request Initial Data:\t1\r\n    Always Advise:\t\t0\r\n"
                     "    SuiteLink:\t\t\t1\r\n    Begin DDE Points\r\n"
                     "        TIC101;0001:  TIC101.PV\r\n        FIC2;0002:  F,2\r\n"
                     "    End DDE Points\r\nEnd DDE Source Definition.\r\n"
                     "End DDE Information.\r\n");
  const std::string ndx = (dir_.path() / "Tagnames.NDX").string();
  const std::string dde = (dir_.path() / "DDE.CFG").string();
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"ndx", "--format", "csv", ndx}, "record,name\r\n1,\"A,B\"\r\n2,\r\n"},
      {{"ddecfg", "--format", "csv", "--table", "points", dde},
       "SourceName,DDESourceID,TagName,TagIndex,ItemName\r\n"
       "PLC\xC3\xA9,3,TIC101,1,TIC101.PV\r\nPLC\xC3\xA9,3,FIC2,2,\"F,2\"\r\n"},
      {{"ddecfg", "--format", "csv", dde},
       "SourceName,TopicName,MasterServer,ApplicationName,UnsplitApplicationValue,DDESourceID,"
       "RequestInitialData,AlwaysAdvise,SuiteLink,SecondaryApplicationName,SecondaryTopicName,"
       "SecondaryRequestInitialData,SecondaryAlwaysAdvise,SecondarySuiteLink,"
       "SecondaryFailoverExpression,SecondaryFailoverDeadband,SecondaryDFOFlag,"
       "SecondaryFBDFlag,SecondaryFailbackDeadband,Points\r\n"
       "PLC\xC3\xA9,PLC1,SCADA1,PelnetData,,3,1,0,1,,,,,,,,,,,2\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const RunResult run = Dump(c.args);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
  const RunResult json = Dump({"ddecfg", "--format", "json", dde});
  EXPECT_EQ(json.exit_code, 0) << json.err;
  EXPECT_THAT(json.out, HasSubstr("\"messages\": [\"        Read Access Name data from file "));
  EXPECT_THAT(json.out, HasSubstr("\"TagName\": \"FIC2\",\n          \"TagIndex\": 2,"));
  EXPECT_THAT(json.out, HasSubstr("\"text\": [\"Begin DDE Information.\", "));
  EXPECT_THAT(json.out, EndsWith("\"End DDE Information.\"]\n}\n"));
}

TEST(QuellorDumpOptions, RefusesAFormatOrTableThatDoesNotFitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"ndx", "--format", "xml", "f"},
      {"ndx", "--format", "csv", "--format", "json", "f"},
      {"ddecfg", "--table", "points", "f"},  // a table without csv
      {"ddecfg", "--format", "csv", "--table", "apps", "f"},
      {"ndx", "--format", "csv", "--table", "names", "f"},
      {"ndx", "--diff", "a", "b"},
      {"tagname", "--diff", "a"},
      {"tagname", "--diff", "--format", "csv", "--table", "names", "a", "b"},
      {"tagname", "--format"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    const RunResult run = RunBinary(BinaryPath("quellor-dump"), args);
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_THAT(run.err, HasSubstr("usage: quellor-dump"));
  }
}

}  // namespace
}  // namespace quellor
