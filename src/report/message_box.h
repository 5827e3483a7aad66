// A modal message box of the original platform. Here it is one line on standard error with
// its text, and the build goes on at once.
#pragma once

#include <string_view>

namespace quellor {

void ShowMessageBox(std::string_view text);

}  // namespace quellor
