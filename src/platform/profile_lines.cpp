#include "platform/profile_lines.h"

#include "base/ascii.h"

namespace quellor {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsProfileBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsProfileBlank(s.back())) s.remove_suffix(1);
  return s;
}

void Classify(ProfileLine& line) {
  std::string_view rest = line.text;
  while (!rest.empty() && IsProfileBlank(rest.front())) {
    rest.remove_prefix(1);
  }
  if (rest.empty()) return;
  if (rest.front() == '[') {
    line.kind = ProfileLineKind::kSection;
    rest.remove_prefix(1);
    line.name = TrimBlanks(rest.substr(0, rest.find(']')));
    return;
  }
  if (rest.front() == ';') {
    line.kind = ProfileLineKind::kComment;
    return;
  }
  line.kind = ProfileLineKind::kKey;
  const std::size_t equals = rest.find('=');
  line.name = TrimBlanks(rest.substr(0, equals));
  if (equals != std::string_view::npos) {
    line.has_value = true;
    line.value = TrimBlanks(rest.substr(equals + 1));
  }
}

}  // namespace

std::vector<ProfileLine> SplitProfileLines(std::string_view text) {
  std::vector<ProfileLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    std::size_t next = end;
    if (next < text.size()) {
      next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    }
    ProfileLine line;
    line.text = text.substr(start, end - start);
    line.end = text.substr(end, next - end);
    Classify(line);
    lines.push_back(line);
    start = next;
  }
  return lines;
}

std::string_view TrimSpaces(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

std::string_view UnquoteProfileValue(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

int FindProfileSection(const std::vector<ProfileLine>& lines, std::string_view section) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == ProfileLineKind::kSection && EqualsIgnoreCase(lines[i].name, section)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int EndOfProfileSection(const std::vector<ProfileLine>& lines, int header) {
  std::size_t i = static_cast<std::size_t>(header) + 1;
  while (i < lines.size() && lines[i].kind != ProfileLineKind::kSection) ++i;
  return static_cast<int>(i);
}

}  // namespace quellor
