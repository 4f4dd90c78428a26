// The built-in text table: row look-up by code, and the texts' Windows-1252 bytes and form.
#include "app/LanguageTable_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

using namespace languagetable;

namespace {

std::string Field(const LanguageTextRow& row, int index)
{
    const char* fields[] = {row.languageCode, row.altCode,     row.headText,   row.introText,
                            row.instructionText, row.liabilityText, row.captionText, row.okText,
                            row.cancelText,   row.errorPrefix};
    return fields[index];
}

const LanguageTextRow& Row(const char* code)
{
    const LanguageTextRow* row = FindLanguageRow(code);
    if (row == nullptr)
        throw std::runtime_error(std::string("no row for ") + code);
    return *row;
}

} // namespace

TEST(LanguageTable, RowsStandInTheirOrderWithTheirCodes)
{
    const char* codes[][2] = {{"de", "de"}, {"en", "en"}, {"da", "dk"}, {"it", "it"},
                              {"fi", "fi"}, {"no", "no"}, {"sv", "se"}};
    ASSERT_EQ(LanguageTextRowCount, 7);
    for (int i = 0; i < LanguageTextRowCount; ++i) {
        SCOPED_TRACE(codes[i][0]);
        EXPECT_STREQ(LanguageTextTable[i].languageCode, codes[i][0]);
        EXPECT_STREQ(LanguageTextTable[i].altCode, codes[i][1]);
        // The look-up finds each row itself, not a copy.
        EXPECT_EQ(FindLanguageRow(codes[i][0]), &LanguageTextTable[i]);
    }
}

TEST(LanguageTable, LookupIsExactCaseSensitiveAndOverTheWholeString)
{
    const char* misses[] = {"dk", "se", "DE", "En", "EN", "de-x", "de ", "d", "", "fr", "nl", "es", "pt",
                            "en\xE4"};
    for (const char* code : misses) {
        SCOPED_TRACE(code);
        EXPECT_EQ(FindLanguageRow(code), nullptr);
    }
    EXPECT_EQ(FindLanguageRow(nullptr), nullptr);
    // The dialog's fallback.
    ASSERT_NE(FindLanguageRow("en"), nullptr);
    EXPECT_STREQ(FindLanguageRow("en")->headText, "ATTENTION");
}

TEST(LanguageTable, LookupComparesTheCodesCharactersNotItsAddress)
{
    char code[] = {'s', 'v', '\0'};
    ASSERT_NE(FindLanguageRow(code), nullptr);
    EXPECT_STREQ(FindLanguageRow(code)->headText, "Varning");
}

TEST(LanguageTable, TextsAreWindows1252Bytes)
{
    struct Expectation {
        const char* code;
        int field;
        const char* bytes;
    };
    const Expectation cases[] = {
        {"de", 2, "ACHTUNG"},
        {"de", 5, "Keine Haftung f\xFCr Personen Verm\xF6gens- und Sachsch\xE4" "den durch die Quenbrak GmbH."},
        {"de", 9, "Fehler\nDatei nicht gefunden: "},
        {"de", 8, "Abbrechen"},
        {"en", 3, "You are now activating the remote support function."},
        {"da", 2, "OBS..!"},
        {"da", 5, "Quenbrak A/S fraskriver sig ethvert ansvar ved personskade, finansielt tab og/eller "
                  "produktskade."},
        {"it", 5, "Quenbrak S.p.A. Societ\xE0 Unipersonale esclude qualsiasi responsabilit\xE0 per danni "
                  "personali, perdite economiche o danni alle cose. "},
        {"it", 8, "Annulla"},
        {"fi", 3, "Olet aktivoimassa et\xE4tukitoimintoa (Quenbrak Teleskarn)."},
        {"fi", 5, "Quenbrak Oy ei vastaa mahdollisista henkil\xF6- tai materiaalivahingoista."},
        {"fi", 8, "Keskeyt\xE4"},
        {"no", 3, "Du aktiverer n\xE5 fjernhjelpfunksjonen."},
        {"no", 8, "Avbryt"},
        {"sv", 5, "Quenbrak AB ansvarar inte f\xF6r personskador och materiella skador."},
        {"sv", 8, "Avbryt"},
    };
    for (const Expectation& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " field " + std::to_string(c.field));
        EXPECT_EQ(Field(Row(c.code), c.field), c.bytes);
    }
}

TEST(LanguageTable, LongTextsKeepTheirBytesAndLineStructure)
{
    // Danish: æ ø å and an empty line between the two paragraphs.
    const std::string danish = Row("da").instructionText;
    EXPECT_EQ(danish.substr(0, 39), "V\xE6r venligst opm\xE6rksom p\xE5 at f\xF8lge inst");
    EXPECT_NE(danish.find("session.\n\nEfter aktivering"), std::string::npos);
    EXPECT_EQ(danish.size(), 273u);

    // German: one line feed between the two paragraphs.
    const std::string german = Row("de").instructionText;
    EXPECT_NE(german.find("m\xF6glichen Gef\xE4hrdungen f\xFCr Personen, Pr\xFC" "fger\xE4ten"), std::string::npos);
    EXPECT_NE(german.find("Mitarbeiters.\nF\xFChren Sie"), std::string::npos);

    // Finnish and Italian: no line break at all.
    EXPECT_EQ(std::strchr(Row("fi").instructionText, '\n'), nullptr);
    EXPECT_EQ(std::strchr(Row("it").instructionText, '\n'), nullptr);
    EXPECT_NE(std::string(Row("fi").instructionText).find("et\xE4" "diagnoosin"), std::string::npos);

    // Swedish: three paragraphs.
    const std::string swedish = Row("sv").instructionText;
    EXPECT_EQ(swedish.substr(0, 4), "F\xF6lj");
    EXPECT_NE(swedish.find("fordon.\nN\xE4r funktionen \xE4r aktiverad"), std::string::npos);
    EXPECT_NE(swedish.find("hotline-agenten.\nDetta \xE4r speciellt"), std::string::npos);

    const int lineFeeds[] = {1, 1, 2, 0, 0, 1, 2};   // de en da it fi no sv
    for (int i = 0; i < LanguageTextRowCount; ++i) {
        SCOPED_TRACE(LanguageTextTable[i].languageCode);
        const std::string text = LanguageTextTable[i].instructionText;
        EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '\n')), lineFeeds[i]);
    }
}

TEST(LanguageTable, EveryRowHasTheCommonForm)
{
    for (int i = 0; i < LanguageTextRowCount; ++i) {
        const LanguageTextRow& row = LanguageTextTable[i];
        SCOPED_TRACE(row.languageCode);
        for (int f = 0; f < 10; ++f) {
            const std::string text = Field(row, f);
            EXPECT_EQ(text.find('\r'), std::string::npos) << "field " << f;
            EXPECT_FALSE(text.empty()) << "field " << f;
        }
        const std::string prefix = row.errorPrefix;
        ASSERT_GE(prefix.size(), 2u);
        EXPECT_EQ(prefix.substr(prefix.size() - 2), ": ");
        EXPECT_STREQ(row.captionText, "Quenbrak Teleskarn");
        EXPECT_STREQ(row.okText, "OK");
        if (std::strcmp(row.languageCode, "de") != 0) {
            EXPECT_STREQ(row.errorPrefix, "Error\nFile not found: ");
        }
        // Only the Italian liability sentence ends in a blank.
        const std::string liability = row.liabilityText;
        EXPECT_EQ(liability.back() == ' ', std::strcmp(row.languageCode, "it") == 0);
    }
    EXPECT_STREQ(Row("en").cancelText, "Cancel");
    EXPECT_STREQ(Row("da").cancelText, "Cancel");
}
