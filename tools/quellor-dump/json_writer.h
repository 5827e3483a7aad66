// JsonWriter: one JSON document (RFC 8259), built front to back. Texts and keys given are the
// program's Windows-1252 bytes; the document is UTF-8, every control character escaped. An
// object puts each member on a line of its own, two spaces deeper per level; an array keeps
// numbers and texts on one line and puts objects and arrays on lines of their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quellor::dump {

class JsonWriter final {
 public:
  JsonWriter& BeginObject();
  JsonWriter& BeginArray();
  // Closes the innermost open object or array.
  JsonWriter& End();
  // Names the next value; only inside an object.
  JsonWriter& Key(std::string_view name);

  JsonWriter& String(std::string_view text);
  JsonWriter& Int(std::int64_t value);
  // The shortest text that reads back as the same float32; NaN and the infinities, which JSON
  // has no numbers for, are written as null.
  JsonWriter& Float(float value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  // Closes what is still open (so a dump cut short by damage is still one document) and
  // returns the document with a final line end.
  std::string Finish();

 private:
  struct Level {
    bool is_object;
    bool empty = true;
    bool broken = false;  // an element went on a line of its own
  };
  // Places a value: after its key in an object, after a separator in an array.
  void BeginValue(bool is_container);
  void NewLine();

  std::string out_;
  std::vector<Level> levels_;
  bool after_key_ = false;
};

// A text in JSON's double quotes, converted to UTF-8.
std::string JsonString(std::string_view text);

// The shortest decimal text that reads back as the same float32.
std::string FloatText(float value);

}  // namespace quellor::dump
