// Which values DDE.CFG can carry. The build must never write a DDE.CFG that its next read
// refuses (which would stop the application's build for good), so discovery and the tag merge
// ask here before a project value enters an access-name set, and refuse what the file cannot
// hold.
#pragma once

#include <string_view>

namespace quellor {

enum class DDECfgField {
  kSourceName,       // an access name
  kTopicName,        // a project topic; empty is fine, the merge gives it its default
  kMasterServer,     // a master (or standby) server computer
  kApplicationName,  // a server application
  kTagName,          // the tag of a DDE point
  kItemName,         // the item of a DDE point
};

// Whether `value` in `field` is read back from DDE.CFG as the reader needs it. Refused
// everywhere: a line end (CR or LF), a NUL byte, and a Ctrl-Z byte (text mode ends the file
// there). Also refused: a blank source name, server application, tag or item; a topic of blanks
// only; a backslash in a server name (it would move the server application); a ";" in a tag
// name (it would split the point line in the wrong place).
bool DDECfgCanCarry(DDECfgField field, std::string_view value);

}  // namespace quellor
