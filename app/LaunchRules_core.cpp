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

std::uint32_t LaunchError(std::uint32_t lastError, std::uintptr_t shellResult)
{
    if (lastError != 0)
        return lastError;
    // SE_ERR_ values and the errors ShellExecuteEx leaves for them.
    static const struct { std::uintptr_t result; std::uint32_t error; } kReasons[] = {
        {2, 2},       // SE_ERR_FNF: ERROR_FILE_NOT_FOUND
        {3, 3},       // SE_ERR_PNF: ERROR_PATH_NOT_FOUND
        {5, 5},       // SE_ERR_ACCESSDENIED: ERROR_ACCESS_DENIED
        {8, 8},       // SE_ERR_OOM: ERROR_NOT_ENOUGH_MEMORY
        {11, 11},     // ERROR_BAD_FORMAT
        {26, 32},     // SE_ERR_SHARE: ERROR_SHARING_VIOLATION
        {27, 1155},   // SE_ERR_ASSOCINCOMPLETE: ERROR_NO_ASSOCIATION
        {28, 1156},   // SE_ERR_DDETIMEOUT: ERROR_DDE_FAIL
        {29, 1156},   // SE_ERR_DDEFAIL
        {30, 1156},   // SE_ERR_DDEBUSY
        {31, 1155},   // SE_ERR_NOASSOC: ERROR_NO_ASSOCIATION
        {32, 1157},   // SE_ERR_DLLNOTFOUND: ERROR_DLL_NOT_FOUND
    };
    for (const auto& reason : kReasons)
        if (reason.result == shellResult)
            return reason.error;
    return 2;
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

bool IsLaunchablePath(std::uint32_t moduleLength, std::size_t pathLength, std::uint32_t limit)
{
    return moduleLength != 0 && moduleLength < limit && pathLength < limit;
}

std::string FirstTwoCharacters(const std::string& text)
{
    return text.substr(0, 2);
}

}  // namespace launchrules
