// Access's string functions, counting characters, not bytes: Len, Left, Right, Mid, InStr,
// UCase, LCase, Trim, LTrim, RTrim, Space, String, Replace, StrComp, Chr, Asc, and the
// translator's access_like.
#include <algorithm>

#include "base/cp1252.h"
#include "tagdll/sql/function_definition.h"
#include "tagdll/sql/like_pattern.h"
#include "tagdll/sql/utf8_text.h"

namespace quellor::tagdll::sql {
namespace {

using enum SqlType;

// The comparison argument: 0 binary, 1 text, 2 the database's, which for a query is text,
// without regard to case.
constexpr int kBinaryCompare = 0;
constexpr int kDatabaseCompare = 2;

std::optional<bool> IgnoresCase(std::optional<std::int32_t> compare) {
  if (!compare || *compare < kBinaryCompare || *compare > kDatabaseCompare) return std::nullopt;
  return *compare != kBinaryCompare;
}

void Len(FunctionCall& call) {
  const auto text = call.Characters(0);
  if (text) call.SetNumber(static_cast<double>(text->size()), kInt32);
}

void Left(FunctionCall& call) {
  const auto text = call.Characters(0);
  const auto length = call.Long(1);
  if (text && length && *length >= 0) call.SetCharacters(text->substr(0, *length));
}

void Right(FunctionCall& call) {
  const auto text = call.Characters(0);
  const auto length = call.Long(1);
  if (!text || !length || *length < 0) return;
  const std::size_t kept = std::min<std::size_t>(*length, text->size());
  call.SetCharacters(std::u32string_view(*text).substr(text->size() - kept));
}

// Mid with a start below 1 or a negative length is #Error; a start past the end gives "".
void Mid(FunctionCall& call) {
  const auto text = call.Characters(0);
  const auto start = call.Long(1);
  const auto length = call.LongOr(2, INT32_MAX);
  if (!text || !start || !length || *start < 1 || *length < 0) return;
  const std::size_t from = std::min<std::size_t>(*start - 1, text->size());
  call.SetCharacters(std::u32string_view(*text).substr(from, *length));
}

// InStr([start, ]text, sought[, compare]): the character position of the first match at or
// after start, 0 for none.
void InStr(FunctionCall& call) {
  const int shift = call.size() >= 3 ? 1 : 0;
  const auto start = shift == 1 ? call.Long(0) : std::optional<std::int32_t>(1);
  auto text = call.Characters(shift);
  auto sought = call.Characters(shift + 1);
  const auto ignore_case = IgnoresCase(call.LongOr(3, kDatabaseCompare));
  if (!start || *start < 1 || !text || !sought || !ignore_case) return;
  const auto from = static_cast<std::size_t>(*start - 1);
  std::size_t position = 0;
  if (from < text->size() && sought->empty()) {
    position = from + 1;
  } else if (from < text->size()) {
    if (*ignore_case) {
      text = ToLowerText(*text);
      sought = ToLowerText(*sought);
    }
    const std::size_t found = text->find(*sought, from);
    position = found == std::u32string::npos ? 0 : found + 1;
  }
  call.SetNumber(static_cast<double>(position), kInt32);
}

void UCase(FunctionCall& call) {
  if (const auto text = call.Characters(0)) call.SetCharacters(ToUpperText(*text));
}

void LCase(FunctionCall& call) {
  if (const auto text = call.Characters(0)) call.SetCharacters(ToLowerText(*text));
}

// Trim and its kin remove blanks only, not tabs or line ends.
void Trimmed(FunctionCall& call, bool left, bool right) {
  const auto text = call.Text(0);
  if (!text) return;
  std::string_view view = *text;
  if (left) view.remove_prefix(std::min(view.find_first_not_of(' '), view.size()));
  if (right) {
    const std::size_t last = view.find_last_not_of(' ');
    view = last == std::string_view::npos ? std::string_view() : view.substr(0, last + 1);
  }
  call.SetText(view);
}

void Trim(FunctionCall& call) { Trimmed(call, true, true); }
void LTrim(FunctionCall& call) { Trimmed(call, true, false); }
void RTrim(FunctionCall& call) { Trimmed(call, false, true); }

// `count` copies of `unit`, or #Error for a negative count or a result beyond SQLite's limit.
void SetRepeated(FunctionCall& call, std::int32_t count, std::string_view unit) {
  if (count < 0 ||
      (!unit.empty() && static_cast<std::size_t>(count) > call.MaxTextBytes() / unit.size())) {
    return;
  }
  std::string text;
  text.reserve(count * unit.size());
  for (std::int32_t i = 0; i < count; ++i) text += unit;
  call.SetText(text);
}

void Space(FunctionCall& call) {
  if (const auto count = call.Long(0)) SetRepeated(call, *count, " ");
}

// String(count, character): a character code (taken modulo 256) or the first character of a
// text.
void String(FunctionCall& call) {
  const auto count = call.Long(0);
  if (!count) return;
  std::string unit;
  if (call.Value(1).kind == AccessValue::Kind::kText) {
    const auto text = call.Characters(1);
    if (!text || text->empty()) return;
    unit = EncodeUtf8(text->substr(0, 1));
  } else {
    const auto code = call.Long(1);
    if (!code || *code < 0) return;
    AppendUtf8(unit, Cp1252ToCodePoint(static_cast<unsigned char>(*code % 256)));
  }
  SetRepeated(call, *count, unit);
}

// Replace(text, find, with[, start[, count[, compare]]]): the text from start on, with at
// most count matches (-1: all) replaced; binary comparison unless told otherwise.
void Replace(FunctionCall& call) {
  const auto text = call.Characters(0);
  const auto find = call.Characters(1);
  const auto with = call.Characters(2);
  const auto start = call.LongOr(3, 1);
  const auto count = call.LongOr(4, -1);
  const auto ignore_case = IgnoresCase(call.LongOr(5, kBinaryCompare));
  if (!text || !find || !with || !start || !count || !ignore_case || *start < 1 || *count < -1) {
    return;
  }
  const std::u32string rest = text->substr(std::min<std::size_t>(*start - 1, text->size()));
  const std::u32string haystack = *ignore_case ? ToLowerText(rest) : rest;
  const std::u32string needle = *ignore_case ? ToLowerText(*find) : *find;
  std::u32string result;
  std::size_t pos = 0;
  std::int64_t left = *count == -1 ? INT64_MAX : *count;
  while (!needle.empty() && left-- > 0) {
    const std::size_t found = haystack.find(needle, pos);
    if (found == std::u32string::npos) break;
    result.append(rest, pos, found - pos).append(*with);
    pos = found + needle.size();
  }
  result.append(rest, pos);
  call.SetCharacters(result);
}

void StrComp(FunctionCall& call) {
  const auto a = call.Characters(0);
  const auto b = call.Characters(1);
  const auto ignore_case = IgnoresCase(call.LongOr(2, kDatabaseCompare));
  if (!a || !b || !ignore_case) return;
  const int order = *ignore_case ? CompareTextIgnoringCase(*a, *b) : a->compare(*b);
  call.SetNumber(order < 0 ? -1 : order > 0 ? 1 : 0, kInt16);
}

// Chr and Asc use the Windows-1252 code page, as Access's narrow characters do.
void Chr(FunctionCall& call) {
  const auto code = call.Long(0);
  if (!code || *code < 0 || *code > 255) return;
  std::string text;
  AppendUtf8(text, Cp1252ToCodePoint(static_cast<unsigned char>(*code)));
  call.SetText(text);
}

void Asc(FunctionCall& call) {
  const auto text = call.Characters(0);
  if (!text || text->empty()) return;
  const std::string first = EncodeUtf8(text->substr(0, 1));
  const char byte = first.size() == 1 ? first[0] : CodePointToCp1252(text->front());
  call.SetNumber(static_cast<unsigned char>(byte), kInt16);
}

void Like(FunctionCall& call) {
  const auto text = call.Characters(0);
  const auto pattern = call.Characters(1);
  if (!text || !pattern) return;
  if (const std::optional<LikePattern> like = LikePattern::Compile(*pattern)) {
    call.SetBoolean(like->Matches(*text));
  }
}

const FunctionDefinition kDefinitions[] = {
    Scalar("Len", "access_len", 1, 1, Returns<kInt32>, Len),
    Scalar("Left", "access_left", 2, 2, Returns<kText>, Left).DollarForm(),
    Scalar("Right", "access_right", 2, 2, Returns<kText>, Right).DollarForm(),
    Scalar("Mid", "access_mid", 2, 3, Returns<kText>, Mid).DollarForm(),
    Scalar("InStr", "access_instr", 2, 4, Returns<kInt32>, InStr),
    Scalar("UCase", "access_ucase", 1, 1, Returns<kText>, UCase).DollarForm(),
    Scalar("LCase", "access_lcase", 1, 1, Returns<kText>, LCase).DollarForm(),
    Scalar("Trim", "access_trim", 1, 1, Returns<kText>, Trim).DollarForm(),
    Scalar("LTrim", "access_ltrim", 1, 1, Returns<kText>, LTrim).DollarForm(),
    Scalar("RTrim", "access_rtrim", 1, 1, Returns<kText>, RTrim).DollarForm(),
    Scalar("Space", "access_space", 1, 1, Returns<kText>, Space).DollarForm(),
    Scalar("String", "access_string", 2, 2, Returns<kText>, String).DollarForm(),
    Scalar("Replace", "access_replace", 3, 6, Returns<kText>, Replace),
    Scalar("StrComp", "access_strcomp", 2, 3, Returns<kInt16>, StrComp),
    Scalar("Chr", "access_chr", 1, 1, Returns<kText>, Chr).DollarForm(),
    Scalar("Asc", "access_asc", 1, 1, Returns<kInt16>, Asc),
    Scalar("", "access_like", 2, 2, Returns<kBoolean>, Like),
};

}  // namespace

std::span<const FunctionDefinition> TextFunctions() { return kDefinitions; }

}  // namespace quellor::tagdll::sql
