// Which project names may become a folder of their own inside the project's clients folder:
// an HMI application name or a historian node name must name exactly one folder there.
#pragma once

#include <string_view>

namespace quellor {

// False for "", "." and "..", and for a name holding a backslash, a slash, one of : * ? " < >
// | or a control character, none of which a Windows folder name may hold.
bool IsSingleFolderName(std::string_view name);

}  // namespace quellor
