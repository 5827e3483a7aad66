// Profile writes: the file edited line by line as Windows edits it, then replaced atomically.
#include <memory>
#include <string>
#include <vector>

#include "base/ascii.h"
#include "platform/atomic_file.h"
#include "platform/env.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/profile_lines.h"

namespace quellor {
namespace {

constexpr std::string_view kCrLf = "\r\n";

bool HasLineEnd(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// One line of the output: kept as it was, or written anew.
struct OutLine {
  std::string text;
  std::string end;
};

Status CheckEntries(std::string_view section, std::span<const ProfileEntry> entries) {
  if (HasLineEnd(section)) return Status::InvalidArgument("a line end in a profile section name");
  if (section.empty()) return Status::InvalidArgument("an empty profile section name");
  for (const ProfileEntry& entry : entries) {
    if (HasLineEnd(entry.key) || HasLineEnd(entry.value)) {
      return Status::InvalidArgument("a line end in a profile key or value");
    }
    if (TrimSpaces(entry.key).empty()) return Status::InvalidArgument("an empty profile key");
  }
  return Status::Ok();
}

// The current content, or "" for a file that does not exist yet.
Result<std::string> CurrentContent(const std::string& host_path) {
  Result<std::unique_ptr<File>> file = Env::Default().file_system().Open(host_path, OpenOptions{});
  if (!file.ok()) {
    if (file.status().code() == StatusCode::kNotFound) return std::string();
    return file.status();
  }
  return ReadAll(**file);
}

// The line of `key` in the section: among its original lines [begin, end) first, then among
// the lines this edit added [first_new, after_new). Original lines before first_new keep their
// index in `out`, since new lines go after them.
OutLine* FindKey(const std::vector<ProfileLine>& lines, std::vector<OutLine>& out, int begin,
                 int end, int first_new, int after_new, std::string_view key) {
  for (int i = begin; i < end; ++i) {
    const ProfileLine& line = lines[static_cast<std::size_t>(i)];
    if (line.kind == ProfileLineKind::kKey && EqualsIgnoreCase(line.name, key)) {
      OutLine& target = out[static_cast<std::size_t>(i)];
      target.text = std::string(line.name);
      return &target;
    }
  }
  for (int i = first_new; i < after_new; ++i) {
    OutLine& added = out[static_cast<std::size_t>(i)];
    if (EqualsIgnoreCase(std::string_view(added.text).substr(0, added.text.find('=')), key)) {
      return &added;
    }
  }
  return nullptr;
}

std::string Edit(std::string_view content, std::string_view section,
                 std::span<const ProfileEntry> entries) {
  const std::vector<ProfileLine> lines = SplitProfileLines(content);
  std::vector<OutLine> out;
  out.reserve(lines.size() + entries.size() + 1);
  for (const ProfileLine& line : lines)
    out.push_back({std::string(line.text), std::string(line.end)});

  int header = FindProfileSection(lines, section);
  if (header < 0) {
    if (!out.empty() && out.back().end.empty()) out.back().end = kCrLf;
    out.push_back({"[" + std::string(section) + "]", std::string(kCrLf)});
    header = static_cast<int>(out.size()) - 1;
  }
  // Keys are looked for among the section's original lines; new ones go after its last
  // non-blank line, in the order given.
  const int end =
      header < static_cast<int>(lines.size()) ? EndOfProfileSection(lines, header) : header + 1;
  int insert_at = header + 1;
  for (int i = header + 1; i < end; ++i) {
    if (lines[static_cast<std::size_t>(i)].kind != ProfileLineKind::kBlank) insert_at = i + 1;
  }
  const int first_new = insert_at;
  for (const ProfileEntry& entry : entries) {
    const std::string_view key = TrimSpaces(entry.key);
    // Appended, not `"=" + std::string(...)`: g++ 12 at -O3 warns falsely (-Wrestrict) on that.
    std::string line = "=";
    line += entry.value;
    if (OutLine* found = FindKey(lines, out, header + 1, end, first_new, insert_at, key)) {
      found->text.resize(found->text.find('=') == std::string::npos ? found->text.size()
                                                                    : found->text.find('='));
      found->text += line;
      found->end = kCrLf;
      continue;
    }
    OutLine& before = out[static_cast<std::size_t>(insert_at) - 1];
    if (before.end.empty()) before.end = kCrLf;
    out.insert(out.begin() + insert_at, {std::string(key) + line, std::string(kCrLf)});
    ++insert_at;
  }
  std::string result;
  result.reserve(content.size() + 64);
  for (const OutLine& line : out) {
    result += line.text;
    result += line.end;
  }
  return result;
}

}  // namespace

Status WritePrivateProfileStrings(std::string_view section, std::span<const ProfileEntry> entries,
                                  std::string_view file) {
  section = TrimSpaces(section);
  if (Status status = CheckEntries(section, entries); !status.ok()) return status;
  Result<std::string> host = ResolveProfilePath(file);
  if (!host.ok()) return host.status();
  Result<std::string> content = CurrentContent(*host);
  if (!content.ok()) return content.status();
  return ReplaceHostFileAtomically(*host, Edit(*content, section, entries));
}

Status WritePrivateProfileString(std::string_view section, std::string_view key,
                                 std::string_view value, std::string_view file) {
  const ProfileEntry entry{key, value};
  return WritePrivateProfileStrings(section, {&entry, 1}, file);
}

}  // namespace quellor
