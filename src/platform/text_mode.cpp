#include "platform/text_mode.h"

namespace quellor {

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string FromCrLf(std::string_view bytes, CtrlZ ctrl_z) {
  if (ctrl_z == CtrlZ::kEndsText) bytes = bytes.substr(0, bytes.find('\x1A'));
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    out += bytes[i];
  }
  return out;
}

}  // namespace quellor
