// Reading one regedit export file into the registry: the header, key lines, value lines and
// deletions (docs/formats/registry-files.md). A damaged line is skipped, as regedit does.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ascii.h"
#include "base/cp1252.h"
#include "platform/registry.h"

namespace quellor {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kRoots[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER",
                                       "HKEY_CLASSES_ROOT", "HKEY_USERS", "HKEY_CURRENT_CONFIG"};

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanksLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}
std::string_view TrimBlanksRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The file's text in Windows-1252: version 5 files are UTF-16LE with a byte-order mark.
std::string DecodeFile(std::string_view bytes) {
  if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return std::string(bytes);
  std::u16string wide;
  wide.reserve(bytes.size() / 2);
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    wide += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return Utf16ToCp1252(wide);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// A quoted text at the start of `s` with \\ and \" (and \n, \r) escapes; consumes it.
std::optional<std::string> TakeQuoted(std::string_view& s) {
  if (s.empty() || s.front() != '"') return std::nullopt;
  std::string out;
  for (std::size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return out;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i == s.size()) return std::nullopt;
    switch (s[i]) {
      case '\\':
        out += '\\';
        break;
      case '"':
        out += '"';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      default:
        return std::nullopt;  // an unknown escape spoils the line
    }
  }
  return std::nullopt;
}

// Nothing, or a ";" comment, after the data.
bool OnlyCommentLeft(std::string_view s) {
  s = TrimBlanksLeft(s);
  return s.empty() || s.front() == ';';
}

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::optional<std::uint32_t> ParseDword(std::string_view s) {
  std::uint32_t value = 0;
  std::size_t digits = 0;
  while (digits < s.size() && HexDigit(s[digits])) {
    value = (value << 4) | static_cast<std::uint32_t>(*HexDigit(s[digits]));
    ++digits;
  }
  if (digits == 0 || digits > 8 || !OnlyCommentLeft(s.substr(digits))) return std::nullopt;
  return value;
}

// "aa,bb,cc" (blanks allowed around the commas) into bytes.
std::optional<std::string> ParseHexBytes(std::string_view s) {
  std::string bytes;
  s = TrimBlanksLeft(s);
  while (!s.empty() && s.front() != ';') {
    if (s.size() < 2 || !HexDigit(s[0]) || !HexDigit(s[1])) return std::nullopt;
    bytes += static_cast<char>(*HexDigit(s[0]) * 16 + *HexDigit(s[1]));
    s = TrimBlanksLeft(s.substr(2));
    if (!s.empty() && s.front() == ',')
      s = TrimBlanksLeft(s.substr(1));
    else if (!OnlyCommentLeft(s))
      return std::nullopt;
  }
  return bytes;
}

// "hex:" or "hex(N):" at the start of `s`: the type, and `s` advanced past the colon.
std::optional<std::uint32_t> TakeHexType(std::string_view& s) {
  if (s.starts_with("hex:")) {
    s.remove_prefix(4);
    return kRegBinary;
  }
  if (!s.starts_with("hex(")) return std::nullopt;
  std::uint32_t type = 0;
  std::size_t i = 4;
  for (; i < s.size() && HexDigit(s[i]) && i < 12; ++i) {
    type = (type << 4) | static_cast<std::uint32_t>(*HexDigit(s[i]));
  }
  if (i == 4 || !s.substr(i).starts_with("):")) return std::nullopt;
  s.remove_prefix(i + 2);
  return type;
}

}  // namespace

// Applies the lines of one file to a registry.
class RegFileParser final {
 public:
  RegFileParser(Registry& registry, bool unicode) : registry_(registry), unicode_(unicode) {}

  void Apply(const std::vector<std::string_view>& lines) {
    for (std::size_t i = 1; i < lines.size(); ++i) {
      std::string line(TrimBlanksLeft(lines[i]));
      // A hex value continues on the next non-blank line while it ends in a backslash (a
      // comment may follow the backslash).
      for (std::size_t at = ContinuationAt(line); at != std::string::npos && i + 1 < lines.size();
           at = ContinuationAt(line)) {
        line.erase(at);
        while (i + 1 < lines.size() && TrimBlanksLeft(lines[i + 1]).empty()) ++i;
        if (i + 1 < lines.size()) line += TrimBlanksLeft(lines[++i]);
      }
      ApplyLine(line);
    }
  }

 private:
  // The position of the backslash that continues a hex value line, or npos.
  static std::size_t ContinuationAt(std::string_view line) {
    if (!line.starts_with('"') && !line.starts_with('@')) return std::string::npos;
    const std::size_t hex = line.find("=hex");
    if (hex == std::string_view::npos) return std::string::npos;
    std::string_view data = line.substr(0, line.find(';', hex));
    data = TrimBlanksRight(data);
    return data.ends_with('\\') ? data.size() - 1 : std::string::npos;
  }

  void ApplyLine(std::string_view line) {
    if (line.empty() || line.front() == ';' || line.front() == '#') return;
    if (line.front() == '[') return ApplyKeyLine(line);
    if (current_.empty() || (line.front() != '"' && line.front() != '@')) return;
    ApplyValueLine(line);
  }

  void ApplyKeyLine(std::string_view line) {
    current_.clear();
    const std::size_t close = line.find_last_of(']');
    if (close == std::string_view::npos) return;
    std::string_view path = line.substr(1, close - 1);
    const bool remove = path.starts_with('-');
    if (remove) path.remove_prefix(1);
    std::optional<std::string> full = Normalise(path);
    if (!full) return;
    if (remove) {
      registry_.DeleteTree(*full);
    } else {
      registry_.CreateKey(*full);
      current_ = std::move(*full);
    }
  }

  // The upper-cased full path, or nothing for a path that names no known root.
  static std::optional<std::string> Normalise(std::string_view path) {
    if (path.empty() || IsBlank(path.front())) return std::nullopt;
    std::string full;
    std::size_t start = 0;
    while (start <= path.size()) {
      std::size_t end = path.find('\\', start);
      if (end == std::string_view::npos) end = path.size();
      if (end > start) {
        if (!full.empty()) full += '\\';
        full += ToUpperAscii(path.substr(start, end - start));
      }
      start = end + 1;
    }
    const std::string_view root = std::string_view(full).substr(0, full.find('\\'));
    for (std::string_view known : kRoots) {
      if (root == known) return full;
    }
    return std::nullopt;
  }

  void ApplyValueLine(std::string_view line) {
    std::string name;
    if (line.front() == '@') {
      line.remove_prefix(1);
    } else {
      std::optional<std::string> quoted = TakeQuoted(line);
      if (!quoted) return;
      name = std::move(*quoted);
    }
    line = TrimBlanksLeft(line);
    if (!line.starts_with('=')) return;
    line = TrimBlanksLeft(line.substr(1));
    Registry::Key& key = registry_.keys_[current_];
    const std::string id = ToUpperAscii(name);
    if (line.starts_with('-') && OnlyCommentLeft(line.substr(1))) {
      key.values.erase(id);
      return;
    }
    std::optional<RegistryValue> value = ParseData(line);
    if (!value) return;
    value->name = std::move(name);
    key.values.insert_or_assign(id, std::move(*value));
  }

  std::optional<RegistryValue> ParseData(std::string_view data) const {
    if (data.starts_with('"')) {
      std::optional<std::string> text = TakeQuoted(data);
      if (!text || !OnlyCommentLeft(data)) return std::nullopt;
      return RegistryValue{{}, kRegSz, std::move(*text)};
    }
    if (data.starts_with("dword:")) {
      std::optional<std::uint32_t> dword = ParseDword(data.substr(6));
      if (!dword) return std::nullopt;
      std::string bytes(4, '\0');
      for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((*dword >> (8 * i)) & 0xFF);
      return RegistryValue{{}, kRegDword, std::move(bytes)};
    }
    std::optional<std::uint32_t> type = TakeHexType(data);
    if (!type) return std::nullopt;
    std::optional<std::string> bytes = ParseHexBytes(data);
    if (!bytes) return std::nullopt;
    const bool text = *type == kRegSz || *type == kRegExpandSz || *type == kRegMultiSz;
    if (text && unicode_) *bytes = FromUtf16Le(*bytes);
    return RegistryValue{{}, *type, std::move(*bytes)};
  }

  // Text data given as hex in a version 5 file is UTF-16LE; the program reads it narrow.
  static std::string FromUtf16Le(std::string_view bytes) {
    std::u16string wide;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      wide += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                    (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return Utf16ToCp1252(wide);
  }

  Registry& registry_;
  const bool unicode_;
  std::string current_;  // the key that value lines go to; empty: none
};

Status Registry::AddFile(std::string_view bytes) {
  const std::string text = DecodeFile(bytes);
  const std::vector<std::string_view> lines = SplitLines(text);
  const std::string_view header =
      lines.empty() ? std::string_view() : TrimBlanksRight(TrimBlanksLeft(lines[0]));
  if (header != kHeader4 && header != kHeader5) {
    return Status::Corruption("not a registry file: no REGEDIT4 or version 5.00 header");
  }
  RegFileParser(*this, header == kHeader5).Apply(lines);
  return Status::Ok();
}

}  // namespace quellor
