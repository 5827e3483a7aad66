// Private-profile files: any bytes as a .ini file in a temporary folder. The line splitter
// must give back every byte; every section and key the file names is read through the
// profile functions within the buffer; and a key written into the file reads back as written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "platform/profile.h"
#include "platform/profile_lines.h"
#include "testing/temp_dir.h"
#include "testing/unsynced_file_system.h"

namespace {

// The reads are bounded, so a file of many keys costs no more than a few.
constexpr std::size_t kMaxLookups = 8;
constexpr std::size_t kBufferSize = 64;

void CheckSplitKeepsEveryByte(std::string_view text,
                              const std::vector<quellor::ProfileLine>& lines) {
  std::string joined;
  for (const quellor::ProfileLine& line : lines) {
    joined.append(line.text);
    joined.append(line.end);
  }
  quellor::fuzz::Check(joined == text, "the profile lines hold every byte of the file");
}

void ReadEveryNamedKey(const std::vector<quellor::ProfileLine>& lines, const std::string& file) {
  std::string_view section;
  std::size_t lookups = 0;
  for (const quellor::ProfileLine& line : lines) {
    if (lookups == kMaxLookups) return;
    if (line.kind == quellor::ProfileLineKind::kSection) section = line.name;
    if (line.kind != quellor::ProfileLineKind::kKey) continue;
    ++lookups;
    const std::string value =
        quellor::GetPrivateProfileString(section, line.name, "", kBufferSize, file);
    quellor::fuzz::Check(value.size() < kBufferSize, "a profile value fits its buffer");
    (void)quellor::GetPrivateProfileInt(section, line.name, 0, file);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quellor;
  testing::SkipSyncsFromNowOn();
  static const testing::TempDir dir;
  static const std::string file = dir.Join("fuzz.ini");
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  testing::WriteFile(file, text);

  const std::vector<ProfileLine> lines = SplitProfileLines(text);
  CheckSplitKeepsEveryByte(text, lines);
  ReadEveryNamedKey(lines, file);

  fuzz::Check(WritePrivateProfileString("Quellor", "FuzzKey", "written", file).ok(),
              "a key is written into any profile");
  fuzz::Check(GetPrivateProfileString("Quellor", "FuzzKey", "", 255, file) == "written",
              "a written key reads back");
  return 0;
}
