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
        std::string directory;
        std::string path;
    };
    const Case cases[] = {
        {"C:\\Programme\\Teleskarn", "C:\\Programme\\Teleskarn\\Teleskarn-pqrw7kt3mz.exe"},
        // A drive root keeps its backslash: two follow the colon.
        {"C:\\", "C:\\\\Teleskarn-pqrw7kt3mz.exe"},
        {"", "\\Teleskarn-pqrw7kt3mz.exe"},
        {"\\\\server\\share", "\\\\server\\share\\Teleskarn-pqrw7kt3mz.exe"},
        // Longer than a path buffer: composed in full.
        {"C:\\" + std::string(300, 'd'), "C:\\" + std::string(300, 'd') + "\\Teleskarn-pqrw7kt3mz.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComposeSupportPath(c.directory), c.path) << c.directory;
    EXPECT_STREQ(SupportToolFileName, "\\Teleskarn-pqrw7kt3mz.exe");
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
    EXPECT_EQ(ComposeMissingFileReport("Error\nFile not found: ", "C:\\x\\Teleskarn-pqrw7kt3mz.exe"),
              "Error\nFile not found: C:\\x\\Teleskarn-pqrw7kt3mz.exe");
    EXPECT_EQ(ComposeMissingFileReport("Fehler\nDatei nicht gefunden: ", "D:\\\\T.exe"),
              "Fehler\nDatei nicht gefunden: D:\\\\T.exe");
    EXPECT_EQ(ComposeMissingFileReport("", "C:\\a"), "C:\\a");
}

TEST(LaunchRules, ModulePathIsUsableOnlyWhenCopiedInFull)
{
    struct Case {
        std::uint32_t copied;
        std::uint32_t bufferSize;
        bool usable;
    };
    const Case cases[] = {
        {0, 260, false},     // the call failed
        {260, 260, false},   // the buffer was filled: the path was cut
        {261, 260, false},
        {259, 260, true},
        {1, 260, true},
        {27, 260, true},
        {0, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsUsableModulePath(c.copied, c.bufferSize), c.usable) << c.copied << "/" << c.bufferSize;
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
