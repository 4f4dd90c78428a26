// Platform-free launch rules; see LaunchRules_core.h.
#include "app/LaunchRules_core.h"

namespace launchrules {

std::string ComposeSupportPath(const std::string& directory)
{
    return directory + SupportToolFileName;
}

bool IsReportedLaunchResult(std::intptr_t result)
{
    constexpr std::intptr_t kFileNotFound = 2;
    constexpr std::intptr_t kPathNotFound = 3;
    return result == kFileNotFound || result == kPathNotFound;
}

std::string ComposeMissingFileReport(const std::string& prefix, const std::string& path)
{
    return prefix + path;
}

bool IsUsableModulePath(std::uint32_t copied, std::uint32_t bufferSize)
{
    return copied != 0 && copied < bufferSize;
}

std::string FirstTwoCharacters(const std::string& text)
{
    return text.substr(0, 2);
}

}  // namespace launchrules
