// JsonWriter: separators, indentation and the escapes of texts.
#include "quellor-dump/json_writer.h"

#include <charconv>
#include <cmath>

#include "base/cp1252.h"
#include "base/format.h"

namespace quellor::dump {

JsonWriter& JsonWriter::BeginObject() {
  BeginValue(/*is_container=*/true);
  out_ += '{';
  levels_.push_back({.is_object = true});
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeginValue(/*is_container=*/true);
  out_ += '[';
  levels_.push_back({.is_object = false});
  return *this;
}

JsonWriter& JsonWriter::End() {
  const Level level = levels_.back();
  levels_.pop_back();
  if (level.broken) NewLine();
  out_ += level.is_object ? '}' : ']';
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  Level& level = levels_.back();
  if (!level.empty) out_ += ',';
  level.empty = false;
  level.broken = true;
  NewLine();
  out_ += JsonString(name) + ": ";
  after_key_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeginValue(/*is_container=*/false);
  out_ += JsonString(text);
  return *this;
}

JsonWriter& JsonWriter::Int(std::int64_t value) {
  BeginValue(/*is_container=*/false);
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Float(float value) {
  if (!std::isfinite(value)) return Null();
  BeginValue(/*is_container=*/false);
  out_ += FloatText(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeginValue(/*is_container=*/false);
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeginValue(/*is_container=*/false);
  out_ += "null";
  return *this;
}

std::string JsonWriter::Finish() {
  while (!levels_.empty()) End();
  out_ += '\n';
  return std::move(out_);
}

void JsonWriter::BeginValue(bool is_container) {
  if (after_key_ || levels_.empty()) {
    after_key_ = false;
    return;
  }
  Level& level = levels_.back();
  if (!level.empty) out_ += is_container ? "," : ", ";
  level.empty = false;
  if (is_container) {
    level.broken = true;
    NewLine();
  }
}

void JsonWriter::NewLine() {
  out_ += '\n';
  out_.append(2 * levels_.size(), ' ');
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : Cp1252ToUtf8(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += StringPrintf("\\u%04X", byte);
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string FloatText(float value) {
  char text[32];
  const std::to_chars_result end = std::to_chars(text, text + sizeof(text), value);
  return std::string(text, end.ptr);
}

}  // namespace quellor::dump
