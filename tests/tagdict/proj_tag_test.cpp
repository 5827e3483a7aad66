#include "tagdict/proj_tag.h"

#include <gtest/gtest.h>

#include <string>

#include "projectdb/project_query.h"
#include "tagdict/data_type.h"

namespace quellor {
namespace {

// A row of twelve columns: texts for 0 to 4, 7 and 8, numbers elsewhere.
struct RowValues {
  std::string tag = "  T1 ", field = " F ", subfield = "", fix = "X", record_type = "BlkTag";
  std::int16_t field_code = 8, fix_code = 7;
  std::string desc = "  Flow  ", units = " m3/h ";
  double hi = 250.5, lo = -10.0;
  std::int16_t logged = 1;
};

void Fill(QueryParameters& row, const RowValues& v) {
  row.SetText(0, v.tag);
  row.SetText(1, v.field);
  row.SetText(2, v.subfield);
  row.SetText(3, v.fix);
  row.SetText(4, v.record_type);
  VariantSetI2(row.at(5), v.field_code);
  VariantSetI2(row.at(6), v.fix_code);
  row.SetText(7, v.desc);
  row.SetText(8, v.units);
  VariantSetR8(row.at(9), v.hi);
  VariantSetR8(row.at(10), v.lo);
  VariantSetBool(row.at(11), v.logged != 0);
}

TEST(ParseProjTag, TrimsTheNameColumnsAndKeepsBlanksOfDescriptionAndUnits) {
  QueryParameters row(12);
  Fill(row, RowValues{});
  ProjTag_T tag;
  EXPECT_TRUE(ParseProjTag(ProjectRow(row.get()), tag));
  EXPECT_EQ(tag.kind, kKindBlkTag);
  EXPECT_EQ(tag.TagName, "T1");
  EXPECT_EQ(tag.FieldName, "F");
  EXPECT_EQ(tag.FixFldName, "X");
  EXPECT_EQ(tag.FullDesc, "  Flow  ");
  EXPECT_EQ(tag.Units, " m3/h ");
  EXPECT_EQ(tag.FldRenderedType, 8);
  EXPECT_EQ(tag.FixFldRenderedType, 7);
  EXPECT_EQ(tag.HiRange, 250.5);
  EXPECT_EQ(tag.LoRange, -10.0);
  EXPECT_EQ(tag.Logged, -1);  // a true boolean
}

TEST(ParseProjTag, RecordTypesAreExactAfterTrimmingAndAnUnknownOneStopsTheRow) {
  const struct {
    const char* record_type;
    bool whole_row;
    std::int32_t kind;
  } cases[] = {
      {"BlkTag", true, kKindBlkTag},
      {"  BlkTag  ", true, kKindBlkTag},
      {"FldTag", true, kKindFldTag},
      {"FixFldTag", true, kKindFixFldTag},
      {"TagFixFld", true, kKindTagFixFld},
      {"", true, kKindNone},
      {"   ", true, kKindNone},
      {"blktag", false, kKindNone},
      {"Block", false, kKindNone},
  };
  for (const auto& c : cases) {
    QueryParameters row(12);
    RowValues values;
    values.record_type = c.record_type;
    Fill(row, values);
    ProjTag_T tag;
    EXPECT_EQ(ParseProjTag(ProjectRow(row.get()), tag), c.whole_row) << c.record_type;
    EXPECT_EQ(tag.kind, c.kind) << c.record_type;
    EXPECT_EQ(tag.TagName, "T1");
    EXPECT_EQ(tag.FixFldName, "X");
    EXPECT_EQ(tag.FldRenderedType, c.whole_row ? 8 : 0) << c.record_type;
    EXPECT_EQ(tag.Units, c.whole_row ? " m3/h " : "") << c.record_type;
    EXPECT_EQ(tag.LoRange, c.whole_row ? -10.0 : 0.0) << c.record_type;
  }
}

TEST(ParseProjTag, NullAndUnconvertibleValuesKeepTheResetValueAndShortRowsStop) {
  QueryParameters row(12);
  Fill(row, RowValues{});
  VariantSetNull(row.at(1));
  row.SetText(9, "high");            // no number: the range stays 0
  row.SetText(10, " 12.5 ");         // a numeric text is a number
  VariantSetR8(row.at(5), 70000.0);  // outside 16 bits
  ProjTag_T tag;
  tag.FieldName = "left over";
  EXPECT_TRUE(ParseProjTag(ProjectRow(row.get()), tag));
  EXPECT_EQ(tag.FieldName, "");
  EXPECT_EQ(tag.HiRange, 0.0);
  EXPECT_EQ(tag.LoRange, 12.5);
  EXPECT_EQ(tag.FldRenderedType, 0);

  QueryParameters short_row(5);
  short_row.SetText(0, "T2");
  short_row.SetText(4, "FldTag");
  EXPECT_FALSE(ParseProjTag(ProjectRow(short_row.get()), tag));
  EXPECT_EQ(tag.TagName, "T2");
  EXPECT_EQ(tag.kind, kKindFldTag);
  EXPECT_EQ(tag.LoRange, 0.0);

  VARIANT not_an_array;
  VariantInit(&not_an_array);
  EXPECT_FALSE(ParseProjTag(ProjectRow(&not_an_array), tag));
  EXPECT_EQ(tag.TagName, "T2");  // untouched
}

TEST(MapDataType, MapsTheFourKnownCodesAndNothingElse) {
  for (std::int16_t code = -1; code <= 12; ++code) {
    std::uint16_t expected = 0;
    if (code == 1) expected = 204;
    if (code == 7) expected = 204;
    if (code == 8) expected = 206;
    if (code == 10) expected = 208;
    EXPECT_EQ(MapDataType(code, true), expected) << code;
  }
  EXPECT_EQ(MapDataType(1, false), 202);
}

TEST(TagTypeOf, TakesTheCodeColumnByKindAndMemberLevel) {
  ProjTag_T row;
  row.FldRenderedType = 8;
  row.FixFldRenderedType = 10;
  const struct {
    std::int32_t kind;
    bool names_field;
    int level;
    std::uint16_t type;
  } cases[] = {
      {kKindBlkTag, true, kLevelTopLevel, 0},    {kKindTagFixFld, true, kLevelTopLevel, 0},
      {kKindBlkTag, true, kLevelField, 206},     {kKindBlkTag, true, kLevelSubfield, 206},
      {kKindBlkTag, true, kLevelFixField, 208},  {kKindFldTag, true, kLevelTopLevel, 206},
      {kKindFldTag, false, kLevelTopLevel, 208}, {kKindFixFldTag, false, kLevelFixField, 208},
      {kKindNone, true, kLevelFixField, 206},
  };
  for (const auto& c : cases) {
    row.kind = c.kind;
    row.FieldName = c.names_field ? "F" : "";
    EXPECT_EQ(TagTypeOf(row, c.level, true), c.type) << c.kind << " " << c.level;
  }
}

}  // namespace
}  // namespace quellor
