#include "platform/text_mode.h"

#include <algorithm>

namespace quellor {

std::string ToCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  // Whole lines at a time: a file of 60000 lines is copied in 60000 appends, not byte by byte.
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t line_end = std::min(text.find('\n', start), text.size());
    out.append(text, start, line_end - start);
    if (line_end == text.size()) break;
    out += "\r\n";
    start = line_end + 1;
  }
  return out;
}

std::string FromCrLf(std::string_view bytes, CtrlZ ctrl_z) {
  if (ctrl_z == CtrlZ::kEndsText) bytes = bytes.substr(0, bytes.find('\x1A'));
  std::string out;
  out.reserve(bytes.size());
  // From CR to CR: the CR of a CR LF pair is dropped, any other CR kept.
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t cr = std::min(bytes.find('\r', start), bytes.size());
    out.append(bytes, start, cr - start);
    if (cr == bytes.size()) break;
    if (cr + 1 == bytes.size() || bytes[cr + 1] != '\n') out += '\r';
    start = cr + 1;
  }
  return out;
}

}  // namespace quellor
