#include "platform/registry.h"

#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "platform/env.h"
#include "testing/status_matchers.h"
#include "testing/temp_prefix.h"

namespace quellor {
namespace {
using ::quellor::testing::IsOk;
using ::quellor::testing::StatusIs;
using ::quellor::testing::TempPrefix;

constexpr RegistryRoot kLm = RegistryRoot::kLocalMachine;

// A version 5 file as regedit writes it: UTF-16LE with a byte-order mark.
std::string Utf16File(std::string_view cp1252_text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : Cp1252ToUtf16(cp1252_text)) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

std::string Text(const Registry& registry, RegistryRoot root, std::string_view key,
                 std::string_view name) {
  Result<std::string> value = registry.QueryString(root, key, name);
  return value.ok() ? *value : "<" + value.status().ToString() + ">";
}

TEST(Registry, ReadsBothFormatsWithEscapesDefaultsAndTypes) {
  Registry registry;
  ASSERT_THAT(registry.AddFile("REGEDIT4\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Holdrane\\Corvane]\r\n"
                               "\"InTShellApp\"=\"C:\\\\Shell \\\"new\\\"\"\r\n"
                               "@=\"the default\" ; a comment\r\n"
                               "\"Count\"=dword:0000002a\r\n"
                               "\"Raw\"=hex:41,42,\\ ; a \\ comment\r\n"
                               "\r\n"
                               "  43,\\\r\n"
                               "  44\r\n"
                               "\"Expand\"=hex(2):25,50,00\r\n"),
              IsOk());
  ASSERT_THAT(registry.AddFile(Utf16File("Windows Registry Editor Version 5.00\r\n\r\n"
                                         "[HKEY_CURRENT_USER\\Control Panel\\International]\r\n"
                                         "\"sList\"=\"\xA7\"\r\n"
                                         "\"Wide\"=hex(2):41,00,e4,00,00,00\r\n")),
              IsOk());
  const std::string key = "SOFTWARE\\Holdrane\\Corvane";
  EXPECT_EQ(Text(registry, kLm, key, "InTShellApp"), "C:\\Shell \"new\"");
  EXPECT_EQ(Text(registry, kLm, "software\\holdrane\\corvane\\", "intshellapp"),
            "C:\\Shell \"new\"");
  EXPECT_EQ(Text(registry, kLm, key, ""), "the default");
  EXPECT_EQ(Text(registry, kLm, key, "Count"), std::string("\x2A\0\0\0", 4));
  EXPECT_EQ(Text(registry, kLm, key, "Raw"), "ABCD");
  EXPECT_EQ(Text(registry, kLm, key, "Expand"), "%P");
  EXPECT_EQ(Text(registry, RegistryRoot::kCurrentUser, "Control Panel\\International", "sList"),
            "\xA7");
  EXPECT_EQ(Text(registry, RegistryRoot::kCurrentUser, "Control Panel\\International", "Wide"),
            "A\xE4");
  EXPECT_TRUE(registry.KeyExists(kLm, "SOFTWARE\\Holdrane"));  // parents exist
  EXPECT_THAT(registry.QueryString(kLm, key, "Missing"), StatusIs(StatusCode::kNotFound));
  EXPECT_THAT(registry.QueryString(kLm, "SOFTWARE\\None", ""), StatusIs(StatusCode::kNotFound));
  // HKEY_CLASSES_ROOT is a root of its own.
  EXPECT_FALSE(registry.KeyExists(RegistryRoot::kClassesRoot, key));
}

TEST(Registry, LaterFilesWinAndDeletionsApplyAcrossFiles) {
  Registry registry;
  ASSERT_THAT(registry.AddFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n\"v\"=\"1\"\n"
                               "\"w\"=\"1\"\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\Sub]\n\"x\"=\"1\"\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\B]\n\"y\"=\"1\"\n"),
              IsOk());
  ASSERT_THAT(registry.AddFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\a]\n\"V\"=\"2\"\n"
                               "\"W\"=-\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\SUB]\n"
                               "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\B]\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Empty]\n"),
              IsOk());
  EXPECT_EQ(Text(registry, kLm, "SOFTWARE\\A", "v"), "2");
  EXPECT_THAT(registry.QueryString(kLm, "SOFTWARE\\A", "w"), StatusIs(StatusCode::kNotFound));
  EXPECT_FALSE(registry.KeyExists(kLm, "SOFTWARE\\A\\Sub"));
  EXPECT_FALSE(registry.KeyExists(kLm, "SOFTWARE\\B"));
  EXPECT_TRUE(registry.KeyExists(kLm, "SOFTWARE\\A"));
  EXPECT_TRUE(registry.KeyExists(kLm, "SOFTWARE\\Empty"));
  EXPECT_THAT(registry.QueryString(kLm, "SOFTWARE\\Empty", ""), StatusIs(StatusCode::kNotFound));
}

TEST(Registry, ChoosesTheWow6432NodeViewPerKeyPath) {
  Registry registry;
  ASSERT_THAT(registry.AddFile("REGEDIT4\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wonderware\\InTouch\\Installation]\n"
                               "\"Version\"=\"9.5\"\n\"InstallPath\"=\"C:\\\\64\"\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Wonderware\\InTouch\\"
                               "Installation]\n\"Version\"=\"10.2\"\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Holdrane\\Corvane]\n"
                               "\"InTShellApp\"=\"C:\\\\Shell\"\n"),
              IsOk());
  const std::string installation = "SOFTWARE\\Wonderware\\InTouch\\Installation";
  EXPECT_EQ(Text(registry, kLm, installation, "Version"), "10.2");
  // The whole key path takes the 32-bit view: a value only in the 64-bit key is not seen.
  EXPECT_THAT(registry.QueryString(kLm, installation, "InstallPath"),
              StatusIs(StatusCode::kNotFound));
  EXPECT_EQ(Text(registry, kLm, "SOFTWARE\\Holdrane\\Corvane", "InTShellApp"), "C:\\Shell");
  EXPECT_TRUE(registry.KeyExists(kLm, "SOFTWARE\\WOW6432Node\\Wonderware"));
}

TEST(Registry, A259CharacterTextFitsTheBufferAnd260DoNot) {
  Registry registry;
  const std::string fits(259, 'a'), too_long(260, 'b');
  ASSERT_THAT(registry.AddFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\X]\n\"Fits\"=\"" + fits +
                               "\"\n\"Long\"=\"" + too_long + "\"\n"),
              IsOk());
  EXPECT_EQ(Text(registry, kLm, "SOFTWARE\\X", "Fits"), fits);
  EXPECT_THAT(registry.QueryString(kLm, "SOFTWARE\\X", "Long"),
              StatusIs(StatusCode::kInvalidArgument));
  EXPECT_EQ(*registry.QueryString(kLm, "SOFTWARE\\X", "Long", 261), too_long);
}

TEST(Registry, SkipsDamagedLinesAndRefusesAFileWithoutHeader) {
  Registry registry;
  for (const char* header : {"", "regedit4\n", "REGEDIT5\n", "\nREGEDIT4\n"}) {
    EXPECT_THAT(registry.AddFile(std::string(header) +
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Bad]\n\"v\"=\"1\"\n"),
                StatusIs(StatusCode::kCorruption))
        << header;
  }
  EXPECT_FALSE(registry.KeyExists(kLm, "SOFTWARE\\Bad"));
  ASSERT_THAT(registry.AddFile("  REGEDIT4\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\K]\n"
                               "\"Good\"=\"ok\"\n"
                               "\"BadEscape\"=\"a\\qb\"\n"
                               "\"Open\"=\"no end\n"
                               "\"Dword9\"=dword:000000001\n"
                               "\"Dword0x\"=dword:0x1\n"
                               "\"Hex\"=hex:4g\n"
                               "\"Hash\"=\"x\" #comment\n"
                               "NoQuotes=\"x\"\n"
                               "# a comment\n"
                               "[ HKEY_LOCAL_MACHINE\\SOFTWARE\\Spaced]\n"
                               "\"InSpaced\"=\"lost\"\n"
                               "[HKEY_NOWHERE\\X]\n"
                               "\"InNowhere\"=\"lost\"\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\K]\n"
                               "\"After\"=\"ok\"\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Truncated\n"),
              IsOk());
  EXPECT_EQ(Text(registry, kLm, "SOFTWARE\\K", "Good"), "ok");
  EXPECT_EQ(Text(registry, kLm, "SOFTWARE\\K", "After"), "ok");
  for (const char* name : {"BadEscape", "Open", "Dword9", "Dword0x", "Hex", "Hash", "NoQuotes",
                           "InSpaced", "InNowhere"}) {
    EXPECT_THAT(registry.QueryString(kLm, "SOFTWARE\\K", name), StatusIs(StatusCode::kNotFound))
        << name;
  }
  EXPECT_FALSE(registry.KeyExists(kLm, "SOFTWARE\\Spaced"));
  EXPECT_FALSE(registry.KeyExists(kLm, "SOFTWARE\\Truncated"));
}

TEST(Registry, ReadsEveryTruncationOfAFileWithoutHarm) {
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\K]\r\n"
      "\"s\"=\"a\\\\b\\\"c\"\r\n@=dword:0000002a\r\n\"h\"=hex(2):41,00,\\\r\n  42,00,00,00\r\n"
      "\"d\"=-\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\K\\Sub]\r\n";
  for (const std::string& file : {text, Utf16File(text)}) {
    for (std::size_t size = 0; size <= file.size(); ++size) {
      Registry registry;
      const Status status = registry.AddFile(file.substr(0, size));
      if (!status.ok()) continue;  // the header was cut
      Result<std::string> s = registry.QueryString(kLm, "SOFTWARE\\K", "s");
      if (s.ok()) {
        EXPECT_EQ(*s, "a\\b\"c") << size;
      }
    }
  }
}

TEST(Registry, LoadsThePrefixFilesInNameOrderOnceUntilTheEnvironmentIsReset) {
  TempPrefix prefix;
  prefix.AddFile("b.reg", "REGEDIT4\n[HKEY_CLASSES_ROOT\\BuildWin.UBuildWin\\CLSID]\n@=\"{2}\"\n");
  prefix.AddFile("a.REG", "REGEDIT4\n[HKEY_CLASSES_ROOT\\BuildWin.UBuildWin\\CLSID]\n@=\"{1}\"\n");
  prefix.AddFile("c.reg", "not a registry file\n");
  prefix.AddFile("d.txt", "REGEDIT4\n[HKEY_CLASSES_ROOT\\BuildWin.UBuildWin\\CLSID]\n@=\"{4}\"\n");
  Env::Default().Reset();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(
      Text(Env::Default().registry(), RegistryRoot::kClassesRoot, "BuildWin.UBuildWin\\CLSID", ""),
      "{2}");
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, (prefix.path() / "c.reg").string() +
                     ": not a registry file (no REGEDIT4 or version 5.00 header); skipped\n");
  prefix.AddFile("e.reg", "REGEDIT4\n[HKEY_CLASSES_ROOT\\BuildWin.UBuildWin\\CLSID]\n@=\"{5}\"\n");
  EXPECT_EQ(
      Text(Env::Default().registry(), RegistryRoot::kClassesRoot, "BuildWin.UBuildWin\\CLSID", ""),
      "{2}");  // loaded once
  Env::Default().Reset();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(
      Text(Env::Default().registry(), RegistryRoot::kClassesRoot, "BuildWin.UBuildWin\\CLSID", ""),
      "{5}");
  ::testing::internal::GetCapturedStderr();
  Env::Default().Reset();
}

}  // namespace
}  // namespace quellor
