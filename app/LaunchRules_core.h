// Rules of the support-tool launch that need no window system: the path, the report decision and text,
// the module-path check, and the two-letter rule of the language probe.
#pragma once

#include <cstdint>
#include <string>

namespace launchrules {

// The support tool's file name, appended unchanged to the launcher's directory.
inline constexpr char SupportToolFileName[] = "\\Teleskarn-pqrw7kt3mz.exe";

// directory + SupportToolFileName, with no check for a separator already there (a drive root "C:\"
// gives "C:\\Teleskarn-...", which the system accepts).
std::string ComposeSupportPath(const std::string& directory);

// True when the shell's launch result means the file (2) or its directory (3) is missing; every other
// result, success (> 32) or another failure, is passed over in silence. The result is pointer-sized.
bool IsReportedLaunchResult(std::intptr_t result);

// The missing-file message: the row's error prefix followed directly by the full path.
std::string ComposeMissingFileReport(const std::string& prefix, const std::string& path);

// A module-path call that copied nothing (failure) or filled its whole buffer (the path was cut) gives
// no usable path.
bool IsUsableModulePath(std::uint32_t copied, std::uint32_t bufferSize);

// The first two characters of text, or all of it when shorter.
std::string FirstTwoCharacters(const std::string& text);

}  // namespace launchrules
