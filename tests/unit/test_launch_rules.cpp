// Launch rules: support path, when a launch failure is reported and with what text, the module-path
// check and the two-character rule of the language probe.
#include "app/LaunchRules_core.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

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

TEST(LaunchRules, OnlyFileAndPathNotFoundAreReported)
{
    EXPECT_TRUE(IsReportedLaunchResult(2));
    EXPECT_TRUE(IsReportedLaunchResult(3));
    const std::intptr_t silent[] = {0, 1, 4, 5, 8, 26, 27, 31, 32, 33, 42, -1, -2, -3,
                                    std::numeric_limits<std::intptr_t>::max(),
                                    std::numeric_limits<std::intptr_t>::min()};
    for (std::intptr_t result : silent)
        EXPECT_FALSE(IsReportedLaunchResult(result)) << result;
    if (sizeof(std::intptr_t) > 4) {
        // A handle-sized result whose low 32 bits read 2 or 3 is not a missing file.
        const std::intptr_t high = static_cast<std::intptr_t>(std::uint64_t{1} << 32);
        EXPECT_FALSE(IsReportedLaunchResult(high + 2));
        EXPECT_FALSE(IsReportedLaunchResult(high + 3));
    }
}

TEST(LaunchRules, ReportIsThePrefixFollowedDirectlyByThePath)
{
    EXPECT_EQ(ComposeMissingFileReport(u"Error\nFile not found: ", u"C:\\x\\Teleskarn-pqrw7kt3mz.exe"),
              u"Error\nFile not found: C:\\x\\Teleskarn-pqrw7kt3mz.exe");
    EXPECT_EQ(ComposeMissingFileReport(u"Fehler\nDatei nicht gefunden: ", u"D:\\\\\u0141\u00f3d\u017a.exe"),
              u"Fehler\nDatei nicht gefunden: D:\\\\\u0141\u00f3d\u017a.exe");
    EXPECT_EQ(ComposeMissingFileReport(u"", u"C:\\a"), u"C:\\a");
}

TEST(LaunchRules, ModulePathIsUsableOnlyWhenReadAndShorterThanTheLimit)
{
    struct Case {
        std::uint32_t length;
        std::uint32_t limit;
        bool usable;
    };
    const Case cases[] = {
        {0, 260, false},     // the path could not be read
        {260, 260, false},   // as long as the limit with no room for its terminator
        {261, 260, false},
        {259, 260, true},
        {1, 260, true},
        {27, 260, true},
        {0, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsUsableModulePath(c.length, c.limit), c.usable) << c.length << "/" << c.limit;
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
