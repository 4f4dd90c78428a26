// Platform-free launch rules; see LaunchRules_core.h.
#include "app/LaunchRules_core.h"

namespace launchrules {

std::u16string ComposeSupportPath(const std::u16string& directory)
{
    return directory + SupportToolFileName;
}

bool IsReportedLaunchResult(std::intptr_t result)
{
    constexpr std::intptr_t kFileNotFound = 2;
    constexpr std::intptr_t kPathNotFound = 3;
    return result == kFileNotFound || result == kPathNotFound;
}

std::u16string ComposeMissingFileReport(const std::u16string& prefix, const std::u16string& path)
{
    return prefix + path;
}

bool IsUsableModulePath(std::uint32_t length, std::uint32_t limit)
{
    return length != 0 && length < limit;
}

std::string FirstTwoCharacters(const std::string& text)
{
    return text.substr(0, 2);
}

}  // namespace launchrules
