// The lines of a private-profile (.ini) file as the Windows profile functions see them
// (docs/formats/profile-files.md). Shared by the profile reads and the profile writes.
#pragma once

#include <string_view>
#include <vector>

namespace quellor {

enum class ProfileLineKind { kBlank, kSection, kComment, kKey };

struct ProfileLine {
  std::string_view text;  // the line without its end
  std::string_view end;   // "\r\n", "\r", "\n" or "" (the last line may have none)
  ProfileLineKind kind = ProfileLineKind::kBlank;
  // kSection: the name between "[" and the first "]" (or the end), blanks trimmed.
  // kKey: the text before the first "=" (the whole line without one), blanks trimmed.
  std::string_view name;
  std::string_view value;  // kKey: after the first "=", blanks trimmed, quotes kept
  bool has_value = false;  // kKey: the line holds an "="
};

// Every line of `text`; CR LF, a lone CR and a lone LF each end a line.
std::vector<ProfileLine> SplitProfileLines(std::string_view text);

// Space, TAB and VT: the blanks trimmed around names and values.
constexpr bool IsProfileBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

// A section or key name as a caller gives it to the profile functions: spaces (and only spaces)
// around it are ignored.
std::string_view TrimSpaces(std::string_view name);

// A value as returned to the caller: one outer pair of equal quotes (" or ') removed.
std::string_view UnquoteProfileValue(std::string_view value);

// The index of the first section header named `section` (without case), or -1. Later
// sections of the same name are never looked at.
int FindProfileSection(const std::vector<ProfileLine>& lines, std::string_view section);
// The end of the section whose header is at `header`: the next header's index, or the size.
int EndOfProfileSection(const std::vector<ProfileLine>& lines, int header);

}  // namespace quellor
