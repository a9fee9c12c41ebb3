#pragma once

#include <string>

#include "channel/ChannelTable.h"
#include "platform/FileRead.h"

namespace vx40::tool {

// Raises ToolError (with the usage) when the input file cannot be opened as the kind of file its
// reader takes; the readers themselves treat such a file as missing or too short.
void CheckInputReadable(const std::string& path, ReadableFiles kinds);

// The table of a channel-set file. A load never fails: it reads a missing file as empty, so the
// tool refuses such an input first, with ToolError as above.
ChannelTable LoadChannelSetInput(const std::string& path);

// The whole text of a regular file, or ToolError as above.
std::string ReadInputText(const std::string& path);

}  // namespace vx40::tool
