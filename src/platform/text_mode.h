// Text files as the Windows C runtime's text mode writes and reads them.
#pragma once

#include <string>
#include <string_view>

namespace quellor {

// Every LF written as CR LF (so "\r\n" in the text becomes "\r\r\n", as the runtime does).
std::string ToCrLf(std::string_view text);

enum class CtrlZ { kIsData, kEndsText };

// CR LF read as LF; a lone CR or LF stays. With kEndsText a Ctrl-Z byte (0x1A) ends the
// text and nothing after it is read (how DDE.CFG is read).
std::string FromCrLf(std::string_view bytes, CtrlZ ctrl_z = CtrlZ::kIsData);

}  // namespace quellor
