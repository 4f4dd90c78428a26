// Rules of the support-tool launch that need no window system: the path, the report decision and text,
// the module-path check, and the two-letter rule of the language probe.
#pragma once

#include <cstdint>
#include <string>

namespace launchrules {

// Paths are UTF-16 throughout (char16_t, the width of Windows' wide characters on every platform): a
// folder name may hold characters that no single code page has.

// The support tool's file name, appended unchanged to the launcher's directory.
inline constexpr char16_t SupportToolFileName[] = u"\\Teleskarn-pqrw7kt3mz.exe";

// directory + SupportToolFileName, with no check for a separator already there (a drive root "C:\"
// gives "C:\\Teleskarn-...", which the system accepts).
std::u16string ComposeSupportPath(const std::u16string& directory);

// True when the shell's launch result means the file (2) or its directory (3) is missing; every other
// result, success (> 32) or another failure, is passed over in silence. The result is pointer-sized.
bool IsReportedLaunchResult(std::intptr_t result);

// The missing-file message: the row's error prefix followed directly by the full path.
std::u16string ComposeMissingFileReport(const std::u16string& prefix, const std::u16string& path);

// A module path of length characters is used only when it could be read (not 0) and is shorter than
// the system's classic path limit (limit, 260 with its terminator): a longer one is not started from.
bool IsUsableModulePath(std::uint32_t length, std::uint32_t limit);

// The first two characters of text, or all of it when shorter.
std::string FirstTwoCharacters(const std::string& text);

}  // namespace launchrules
