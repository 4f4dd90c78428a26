// Version text rules: the dotted file version and the string path into a version resource.
#include "app/VersionText_core.h"

#include <gtest/gtest.h>

#include <string>

using namespace versiontext;

TEST(VersionText, CommasBecomePointsAndBlanksGo)
{
    const std::pair<std::string, std::string> cases[] = {
        {"1, 0, 2, 0", "1.0.2.0"},
        {"2,1", "2.1"},
        {"1 0 2 0", "1020"},
        {"1.0.2.0", "1.0.2.0"},
        {"", ""},
        {" , ", "."},
        {"10, 20 ,30", "10.20.30"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatVersionText(c.first), c.second) << '"' << c.first << '"';
}

TEST(VersionText, StringPathUsesFourLowerCaseHexDigitsEach)
{
    EXPECT_EQ(VersionStringPath(0x0407, 0x04B0, "FileVersion"), "\\StringFileInfo\\040704b0\\FileVersion");
    EXPECT_EQ(VersionStringPath(0x0409, 0x04E4, "ProductName"), "\\StringFileInfo\\040904e4\\ProductName");
    EXPECT_EQ(VersionStringPath(0, 0, "X"), "\\StringFileInfo\\00000000\\X");
    EXPECT_EQ(VersionStringPath(0xFFFF, 0xABCD, ""), "\\StringFileInfo\\ffffabcd\\");
    EXPECT_EQ(VersionStringPath(0x0407, 0x04B0, nullptr), "\\StringFileInfo\\040704b0\\");
}
