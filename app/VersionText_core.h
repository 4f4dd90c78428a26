// Version-resource text rules that need no window system: the dotted file version and the query path
// of a string in a version resource.
#pragma once

#include <cstdint>
#include <string>

namespace versiontext {

// The resource's "1, 0, 2, 0" as "1.0.2.0": every ',' becomes '.', every ' ' is removed.
std::string FormatVersionText(std::string raw);

// "\StringFileInfo\llllcccc\key": language and code page as four lower-case hex digits each.
// A null key is taken as empty.
std::string VersionStringPath(std::uint16_t language, std::uint16_t codePage, const char* key);

}  // namespace versiontext
