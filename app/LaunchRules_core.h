// Rules of the support-tool launch that need no window system: the path, the report decision and texts,
// the module-path check, and the two-letter rule of the language probe.
#pragma once

#include <cstddef>
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

// What OK tells the user after the launch.
enum class LaunchReport {
    None,          // started, or the user declined the system's elevation prompt: their own choice
    MissingFile,   // the file or its folder is missing
    SystemError,   // any other failure: the system's own message for it
};

// The report for the shell's answer: started, or else the error it left (GetLastError).
LaunchReport ChooseLaunchReport(bool started, std::uint32_t error);

// The error a failed launch is told by: the one the shell left (lastError), or where it left none,
// the one its result (shellResult, the call's hInstApp: an SE_ERR_ value) stands for. A result that
// names no reason gives 2 (file not found), so that the user never reads the system's text for
// success (error 0) as the reason.
std::uint32_t LaunchError(std::uint32_t lastError, std::uintptr_t shellResult);

// The missing-file message: the row's error prefix followed directly by the full path.
std::u16string ComposeMissingFileReport(const std::u16string& prefix, const std::u16string& path);

// The message for any other failure, a line each: the first line of the row's error prefix; the
// system's text for the error (its line breaks at the end dropped, the path in place of each "%1";
// the error as a number where the system has no text); the path, unless that text names it already.
std::u16string ComposeLaunchFailureReport(const std::u16string& prefix, const std::u16string& systemText,
                                          std::uint32_t error, const std::u16string& path);

// The tool is started only from a module path that could be read (moduleLength not 0) and only when
// both that path and the tool's path composed from it (pathLength) are shorter than the system's
// classic path limit (limit, 260 with its terminator): Windows' shell does not take a longer one.
bool IsLaunchablePath(std::uint32_t moduleLength, std::size_t pathLength, std::uint32_t limit);

// The first two characters of text, or all of it when shorter.
std::string FirstTwoCharacters(const std::string& text);

}  // namespace launchrules
