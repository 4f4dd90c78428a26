// Platform-free launch rules; see LaunchRules_core.h.
#include "app/LaunchRules_core.h"

namespace launchrules {

std::u16string ComposeSupportPath(const std::u16string& directory)
{
    return directory + SupportToolFileName;
}

LaunchReport ChooseLaunchReport(bool started, std::uint32_t error)
{
    constexpr std::uint32_t kFileNotFound = 2;
    constexpr std::uint32_t kPathNotFound = 3;
    constexpr std::uint32_t kCancelled = 1223;   // ERROR_CANCELLED
    if (started || error == kCancelled)
        return LaunchReport::None;
    if (error == kFileNotFound || error == kPathNotFound)
        return LaunchReport::MissingFile;
    return LaunchReport::SystemError;
}

std::u16string ComposeMissingFileReport(const std::u16string& prefix, const std::u16string& path)
{
    return prefix + path;
}

std::u16string ComposeLaunchFailureReport(const std::u16string& prefix, const std::u16string& systemText,
                                          std::uint32_t error, const std::u16string& path)
{
    std::u16string text = systemText;
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
        text.pop_back();
    // "%1" stands for the file; every other insert stays as the system wrote it.
    for (std::size_t at = text.find(u"%1"); at != std::u16string::npos; at = text.find(u"%1", at)) {
        if (at + 2 < text.size() && text[at + 2] >= u'0' && text[at + 2] <= u'9') {
            at += 2;   // "%10" and on
            continue;
        }
        text.replace(at, 2, path);
        at += path.size();
    }
    if (text.empty())
        for (char digit : std::to_string(error))
            text += static_cast<char16_t>(digit);
    std::u16string report = prefix.substr(0, prefix.find(u'\n')) + u'\n' + text;
    if (text.find(path) == std::u16string::npos)
        report += u'\n' + path;
    return report;
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
