#include "tagbrowser/tag_brw.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tagbrowser/archive_bytes.h"
#include "testing/status_matchers.h"

namespace quellor {
namespace {

using ::quellor::testing::ArchiveBytes;
using ::quellor::testing::IsOk;
using ::quellor::testing::StatusIs;
using ::testing::ElementsAre;

constexpr const char* kLoadFailedLine = "Failed to load TagBrw.dat\n";

CTagBrw::HeaderBlock Block(std::uint8_t byte) {
  CTagBrw::HeaderBlock block;
  block.fill(byte);
  return block;
}

CRemoteApp App(std::string name) {
  return {name, "C:\\P (" + name + ")", name, "PelnetData", "{G}"};
}

// The five header items: Header1 of 0x11, HeaderText, Header2 of 0x22, the two values.
ArchiveBytes Header() {
  return ArchiveBytes().Fill(16, 0x11).Str("Hdr").Fill(16, 0x22).Le32(7).Le32(0x80000001);
}

ArchiveBytes Apps(ArchiveBytes bytes, std::initializer_list<std::string> names) {
  bytes.Count(static_cast<std::uint16_t>(names.size()));
  for (const std::string& name : names) {
    const CRemoteApp app = App(name);
    bytes.Str(app.Name)
        .Str(app.Location)
        .Str(app.AccessName)
        .Str(app.ApplicationName)
        .Str(app.Guid);
  }
  return bytes;
}

ArchiveBytes& Filter(ArchiveBytes& bytes, std::string_view key, std::string_view tag) {
  return bytes.Str(key).Str(key).Str("2" + std::string(tag)).Str("3").Str(key).Str("5").Str("6");
}

// A file of two remote applications and two filters, keys in ascending byte order.
ArchiveBytes FullFile() {
  ArchiveBytes bytes = Apps(Header(), {"N1", "N2"});
  bytes.Count(2);
  Filter(bytes, "Area1/*", "a");
  Filter(bytes, "Area1/PumpA", "b");
  return bytes;
}

// Loads bytes into model and returns what went to standard error (the box line).
std::string LoadCapturingBox(CTagBrw& model, const std::vector<std::uint8_t>& bytes,
                             Status* status) {
  ::testing::internal::CaptureStderr();
  *status = model.Load(bytes);
  return ::testing::internal::GetCapturedStderr();
}

// The header items that no file gave are zero, so a store of a fresh model is defined.
TEST(CTagBrw, FreshModelStoresZeroHeaderAndEmptyLists) {
  EXPECT_EQ(
      CTagBrw().Store(),
      ArchiveBytes().Fill(16, 0).Str("").Fill(16, 0).Le32(0).Le32(0).Count(0).Count(0).bytes());
}

TEST(CTagBrw, HeaderAndTwoZeroCountsLoadToAnEmptyModelAndStoreToTheSameBytes) {
  const auto file = Header().Count(0).Count(0).bytes();
  CTagBrw model;
  ASSERT_THAT(model.Load(file), IsOk());
  EXPECT_EQ(model.Header1, Block(0x11));
  EXPECT_EQ(model.HeaderText, "Hdr");
  EXPECT_EQ(model.Header2[15], 0x22);
  EXPECT_EQ(model.HeaderValue1, 7u);
  EXPECT_EQ(model.HeaderValue2, 0x80000001u);
  EXPECT_TRUE(model.RemoteApps.empty());
  EXPECT_TRUE(model.Filters.empty());
  EXPECT_EQ(model.Store(), file);
}

TEST(CTagBrw, LoadsEveryItemInFileOrderAndStoresTheSameBytes) {
  const auto file = FullFile().bytes();
  CTagBrw model;
  ASSERT_THAT(model.Load(file), IsOk());
  EXPECT_THAT(model.RemoteApps, ElementsAre(App("N1"), App("N2")));
  ASSERT_EQ(model.Filters.size(), 2u);
  const CUserTagFilter* filter = model.Filters.Find("Area1/PumpA");
  ASSERT_NE(filter, nullptr);
  EXPECT_EQ(*filter, (CUserTagFilter{"Area1/PumpA", "2b", "3", "Area1/PumpA", "5", "6"}));
  EXPECT_EQ(model.Store(), file);
}

TEST(CTagBrw, WideStringsLoadAndAreStoredBackAsAnsi) {
  ArchiveBytes wide = Header();
  wide.Count(1).Wide(u"N\u00C41").Wide(u"L").Wide(u"A").Wide(u"PelnetData").Wide(u"G");
  wide.Count(1).Wide(u"K").Wide(u"K").Wide(u"").Wide(u"").Wide(u"\u20AC").Wide(u"").Wide(u"");
  ArchiveBytes ansi = Header();
  ansi.Count(1)
      .Str(
          "N\xC4"
          "1")
      .Str("L")
      .Str("A")
      .Str("PelnetData")
      .Str("G");
  ansi.Count(1).Str("K").Str("K").Str("").Str("").Str("\x80").Str("").Str("");
  CTagBrw model;
  ASSERT_THAT(model.Load(wide.bytes()), IsOk());
  EXPECT_EQ(model.Store(), ansi.bytes());
}

TEST(CTagBrw, StoresFiltersInAscendingByteOrderOfTheirKeys) {
  CTagBrw model;
  for (const char* key : {"b", "\xE4", "B", "a", "B/*"}) {
    auto filter = std::make_unique<CUserTagFilter>();
    filter->Name = key;
    model.Filters.Set(key, std::move(filter));
  }
  ArchiveBytes expected = ArchiveBytes().Fill(16, 0).Str("").Fill(16, 0).Le32(0).Le32(0);
  expected.Count(0).Count(5);
  for (const char* key : {"B", "B/*", "a", "b", "\xE4"}) {
    expected.Str(key).Str(key).Str("").Str("").Str("").Str("").Str("");
  }
  EXPECT_EQ(model.Store(), expected.bytes());
}

TEST(CTagBrw, LaterFilterOfAKeyWinsAndLoadingAppendsToTheListButEmptiesTheMap) {
  ArchiveBytes file = Apps(Header(), {"N2"});
  file.Count(2);
  Filter(file, "K", "first");
  Filter(file, "K", "second");
  CTagBrw model;
  model.RemoteApps.push_back(App("Z9"));
  model.MergeFilter(std::make_unique<CUserTagFilter>(CUserTagFilter{"Old", "", "", "", "", ""}));
  ASSERT_THAT(model.Load(file.bytes()), IsOk());
  EXPECT_THAT(model.RemoteApps, ElementsAre(App("Z9"), App("N2")));
  ASSERT_EQ(model.Filters.size(), 1u);
  EXPECT_EQ(model.Filters.Find("K")->Text2, "2second");
}

// A model holding an element of each kind, so that what a failed load changes shows.
void Preset(CTagBrw& model) {
  model.Header1.fill(0xAA);
  model.HeaderText = "old";
  model.Header2.fill(0xBB);
  model.HeaderValue1 = 1;
  model.HeaderValue2 = 2;
  model.RemoteApps.push_back(App("Old"));
  model.MergeFilter(std::make_unique<CUserTagFilter>(CUserTagFilter{"Old", "", "", "", "", ""}));
}

TEST(CTagBrw, FileOfFewerThan16BytesChangesOnlyThePartOfHeader1ItHolds) {
  CTagBrw model;
  Preset(model);
  Status status;
  EXPECT_EQ(LoadCapturingBox(model, ArchiveBytes().Fill(10, 0x11).bytes(), &status),
            kLoadFailedLine);
  EXPECT_THAT(status, StatusIs(StatusCode::kCorruption));
  EXPECT_EQ(model.Header1, (CTagBrw::HeaderBlock{0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                                 0x11, 0x11, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}));
  EXPECT_EQ(model.HeaderText, "old");
  EXPECT_EQ(model.Header2[0], 0xBB);
  EXPECT_EQ(model.HeaderValue1, 1u);
  EXPECT_THAT(model.RemoteApps, ElementsAre(App("Old")));
  EXPECT_NE(model.Filters.Find("Old"), nullptr);
}

// Cutting the full file at every length: the load fails with the box, and the model holds
// exactly the items that the cut left whole.
TEST(CTagBrw, EveryTruncationFailsWithTheBoxAndKeepsWhatWasReadWhole) {
  const auto file = FullFile().bytes();
  const std::size_t header_end = Header().size();
  const std::size_t apps_end = Apps(Header(), {"N1", "N2"}).size();
  const std::size_t first_app_end = Apps(Header(), {"N1"}).size();  // count 1 = same length
  ArchiveBytes one_filter = Apps(Header(), {"N1", "N2"});
  one_filter.Count(2);
  const std::size_t first_filter_end = Filter(one_filter, "Area1/*", "a").size();
  for (std::size_t cut = 0; cut < file.size(); ++cut) {
    SCOPED_TRACE(cut);
    CTagBrw model;
    Preset(model);
    Status status;
    const std::vector<std::uint8_t> bytes(file.begin(), file.begin() + cut);
    EXPECT_EQ(LoadCapturingBox(model, bytes, &status), kLoadFailedLine);
    EXPECT_THAT(status, StatusIs(StatusCode::kCorruption));
    EXPECT_EQ(model.HeaderText, cut >= 20 ? "Hdr" : "old");
    EXPECT_EQ(model.HeaderValue2, cut >= header_end ? 0x80000001u : 2u);
    std::vector<CRemoteApp> apps = {App("Old")};
    if (cut >= first_app_end) apps.push_back(App("N1"));
    if (cut >= apps_end) apps.push_back(App("N2"));
    EXPECT_THAT(model.RemoteApps, ::testing::ElementsAreArray(apps));
    const bool map_emptied = cut >= apps_end;
    EXPECT_EQ(model.Filters.Find("Old") != nullptr, !map_emptied);
    EXPECT_EQ(model.Filters.Find("Area1/*") != nullptr, cut >= first_filter_end);
    EXPECT_EQ(model.Filters.Find("Area1/PumpA"), nullptr);
  }
}

TEST(CTagBrw, ImpossibleCountsAndLengthsFailTheLoadWithoutHarm) {
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"largest remote application count", Header().Hex("FF FF FF FF FF FF").bytes()},
      {"count beyond the bytes", Header().Count(0xFFFE).Str("a").bytes()},
      {"largest filter count", Header().Count(0).Hex("FF FF FF FF FF FF").bytes()},
      {"2 GiB header text", ArchiveBytes().Fill(16, 0).Hex("FF FF FF FF FF FF 7F").bytes()},
      {"wide name of 4 G units", Header().Count(1).Hex("FF FE FF FF FF FF FF FF FF FF").bytes()},
      {"filter key longer than the file", Header().Count(0).Count(1).Hex("FF 00 01").bytes()},
  };
  for (const auto& c : cases) {
    CTagBrw model;
    Status status;
    EXPECT_EQ(LoadCapturingBox(model, c.bytes, &status), kLoadFailedLine) << c.what;
    EXPECT_THAT(status, StatusIs(StatusCode::kCorruption)) << c.what;
  }
}

TEST(CTagBrw, BytesAfterTheFiltersAreIgnored) {
  const auto file = FullFile().Raw("old tail").bytes();
  CTagBrw model;
  ASSERT_THAT(model.Load(file), IsOk());
  EXPECT_EQ(model.Store(), FullFile().bytes());
}

}  // namespace
}  // namespace quellor
