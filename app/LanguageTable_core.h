// The launcher's built-in texts: one row per supported language, and the row look-up by language code.
// Platform-free: the texts are Windows-1252 bytes, handed unchanged to the ANSI window functions.
#pragma once

namespace languagetable {

// One language's texts, in the order the dialog and the missing-file message use them.
struct LanguageTextRow {
    const char* languageCode;    // two lowercase letters; the look-up key
    const char* altCode;         // a second code ("dk", "se"); nothing looks it up
    const char* headText;        // heading label
    const char* introText;       // introduction label
    const char* instructionText; // instructions, paragraphs separated by '\n'
    const char* liabilityText;   // liability label
    const char* captionText;     // dialog caption
    const char* okText;          // OK button
    const char* cancelText;      // Cancel button
    const char* errorPrefix;     // missing-file message; the path follows directly
};

constexpr int LanguageTextRowCount = 7;

// Rows in the order de, en, da, it, fi, no, sv.
extern const LanguageTextRow LanguageTextTable[LanguageTextRowCount];

// Returns the row whose languageCode equals code byte for byte (case-sensitive, whole string), or
// nullptr when no row matches or code is null. altCode is not consulted.
const LanguageTextRow* FindLanguageRow(const char* code);

}  // namespace languagetable
