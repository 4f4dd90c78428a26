// Launch rules: support path, how a launch failure is reported and with what text, the module-path
// check and the two-character rule of the language probe.
#include "app/LaunchRules_core.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

using namespace launchrules;

TEST(LaunchRules, SupportPathIsThePlainConcatenation)
{
    struct Case {
        std::u16string directory;
        std::u16string path;
    };
    const Case cases[] = {
        {u"C:\\Programme\\Teleskarn", u"C:\\Programme\\Teleskarn\\Teleskarn-pqrw7kt3mz.exe"},
        // A drive root keeps its backslash: two follow the colon.
        {u"C:\\", u"C:\\\\Teleskarn-pqrw7kt3mz.exe"},
        {u"", u"\\Teleskarn-pqrw7kt3mz.exe"},
        {u"\\\\server\\share", u"\\\\server\\share\\Teleskarn-pqrw7kt3mz.exe"},
        // Longer than a path buffer: composed in full.
        {u"C:\\" + std::u16string(300, u'd'), u"C:\\" + std::u16string(300, u'd') + u"\\Teleskarn-pqrw7kt3mz.exe"},
        // Characters of several scripts, one outside the Basic Multilingual Plane: kept as they are.
        {u"C:\\Werkstatt \u0141\u00f3d\u017a \u041c\u0430\u0441\u0442\u0435\u0440 Ertu\u011frul \U0001F527",
         u"C:\\Werkstatt \u0141\u00f3d\u017a \u041c\u0430\u0441\u0442\u0435\u0440 Ertu\u011frul \U0001F527"
         u"\\Teleskarn-pqrw7kt3mz.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComposeSupportPath(c.directory), c.path);
    EXPECT_EQ(std::u16string(SupportToolFileName), u"\\Teleskarn-pqrw7kt3mz.exe");
}

TEST(LaunchRules, ReportByTheShellsAnswer)
{
    using R = LaunchReport;
    // (started, error): 1223 is ERROR_CANCELLED, the user declining the elevation prompt; access denied
    // (5), bad format (193), a virus (225) or a policy (1260) are told; a failure naming no error too.
    const std::tuple<bool, std::uint32_t, LaunchReport> cases[] = {
        {true, 0, R::None},          {true, 5, R::None},          {false, 1223, R::None},
        {false, 2, R::MissingFile},  {false, 3, R::MissingFile},  {false, 5, R::SystemError},
        {false, 193, R::SystemError}, {false, 225, R::SystemError}, {false, 1260, R::SystemError},
        {false, 0, R::SystemError},
    };
    for (const auto& [started, error, report] : cases)
        EXPECT_EQ(ChooseLaunchReport(started, error), report) << started << " " << error;
}

TEST(LaunchRules, ReportsInGermanAndEnglish)
{
    const std::u16string path = u"C:\\\u0141\u00f3d\u017a\\Teleskarn-pqrw7kt3mz.exe";
    const std::u16string de = u"Fehler\nDatei nicht gefunden: ", en = u"Error\nFile not found: ";
    EXPECT_EQ(ComposeMissingFileReport(de, path), de + path);
    // The system's text as FormatMessage gives it (line breaks at the end, inserts not expanded).
    EXPECT_EQ(ComposeLaunchFailureReport(de, u"Zugriff verweigert\r\n", 5, path),
              u"Fehler\nZugriff verweigert\n" + path);
    EXPECT_EQ(ComposeLaunchFailureReport(en, u"%1 is not a valid Win32 application.\r\n", 193, path),
              u"Error\n" + path + u" is not a valid Win32 application.");
    EXPECT_EQ(ComposeLaunchFailureReport(en, u"%1, not %10 or %2\r\n", 7, u"X"), u"Error\nX, not %10 or %2");
    EXPECT_EQ(ComposeLaunchFailureReport(en, u"", 1260, path), u"Error\n1260\n" + path);
}

// (module path length, composed tool path length): the tool's name is 11 characters longer than
// "\Teleskarn.exe", so a launcher 235 to 245 characters deep has a usable path of its own, but the
// tool's is too long.
TEST(LaunchRules, LaunchOnlyFromPathsShorterThanTheLimit)
{
    const std::tuple<std::uint32_t, std::size_t, bool> cases[] = {
        {0, 25, false},      // the module path could not be read
        {248, 259, true},    // the launcher 234 characters deep
        {249, 260, false},   // 235 deep: the tool's path has no room for its terminator
        {259, 270, false},
        {240, 261, false},   // another launcher name, shorter than the tool's
        {260, 259, false},   // a long launcher name: its own path over the limit
        {27, 38, true},
    };
    for (const auto& [moduleLength, pathLength, launchable] : cases)
        EXPECT_EQ(IsLaunchablePath(moduleLength, pathLength, 260), launchable) << moduleLength << " " << pathLength;
}

// The error left by the shell, else the one its hInstApp stands for, else file not found: never 0.
TEST(LaunchRules, LaunchErrorFromTheShellsResultWhereItLeftNone)
{
    const std::tuple<std::uint32_t, std::uintptr_t, std::uint32_t> cases[] = {
        {5, 31, 5},      {193, 11, 193},   {0, 2, 2},       {0, 3, 3},       {0, 5, 5},
        {0, 8, 8},       {0, 11, 11},      {0, 26, 32},     {0, 27, 1155},   {0, 28, 1156},
        {0, 29, 1156},   {0, 30, 1156},    {0, 31, 1155},   {0, 32, 1157},
        {0, 0, 2},       {0, 42, 2},       {0, 1, 2},       {0, 33, 2},
    };
    for (const auto& [lastError, result, error] : cases)
        EXPECT_EQ(LaunchError(lastError, result), error) << lastError << " " << result;
}

TEST(LaunchRules, FirstTwoCharactersOfTheLanguageTag)
{
    const std::pair<std::string, std::string> cases[] = {
        {"de", "de"}, {"en-us", "en"}, {"en-gb", "en"}, {"d", "d"}, {"", ""}, {"sv", "sv"},
        {"fr;q=1", "fr"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FirstTwoCharacters(c.first), c.second) << c.first;
}
