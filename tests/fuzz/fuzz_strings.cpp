// Fuzz target: the launcher's and the label's string rules: language row look-up for any code,
// support path and missing-file report for any UTF-16 directory and prefix (short, at and
// beyond 260 characters), version text for any input, and the label's face-name cut, also from inside its own field.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "app/LanguageTable_core.h"
#include "app/LaunchRules_core.h"
#include "app/VersionText_core.h"
#include "controls/TextLabel_core.h"

using namespace languagetable;
using namespace launchrules;
using namespace versiontext;

namespace {

// Text of any bytes, zeros included, up to a length that also crosses a path buffer's 260 bytes.
std::string AnyText(FuzzedDataProvider& in)
{
    return in.ConsumeRandomLengthString(600);
}

// UTF-16 text of any code units (surrogates alone and zeros included), each two bytes of input.
std::u16string AnyPath(FuzzedDataProvider& in)
{
    const std::string bytes = in.ConsumeRandomLengthString(1200);
    std::u16string path;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        path += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange<int>(0, 4)) {
        case 0: {
            const std::string code = in.ConsumeRandomLengthString(8);
            const bool given = in.ConsumeBool();
            const LanguageTextRow* row = FindLanguageRow(given ? code.c_str() : nullptr);
            FUZZ_CHECK(!row || (given && std::strcmp(row->languageCode, code.c_str()) == 0));
            for (const LanguageTextRow& r : LanguageTextTable)
                if (given && std::strcmp(r.languageCode, code.c_str()) == 0)
                    FUZZ_CHECK(row == &r);
            break;
        }
        case 1: {
            const std::u16string directory = AnyPath(in);
            const std::u16string path = ComposeSupportPath(directory);
            FUZZ_CHECK(path == directory + SupportToolFileName);
            const std::u16string prefix = AnyPath(in);
            FUZZ_CHECK(ComposeMissingFileReport(prefix, path) == prefix + path);
            break;
        }
        case 2: {
            const std::string raw = AnyText(in);
            const std::string text = FormatVersionText(raw);
            // Separators become dots and blanks go; nothing else is added or lost.
            const auto count = [](const std::string& t, char ch) { return std::count(t.begin(), t.end(), ch); };
            FUZZ_CHECK(count(text, ',') == 0 && count(text, ' ') == 0 &&
                       text.size() == raw.size() - size_t(count(raw, ' ')) &&
                       count(text, '.') == count(raw, '.') + count(raw, ','));
            break;
        }
        case 3: {
            const uint16_t language = in.ConsumeIntegral<uint16_t>(), codePage = in.ConsumeIntegral<uint16_t>();
            const bool hasKey = in.ConsumeBool();
            const std::string key = AnyText(in);
            // Language and code page as four lower-case hex digits each, then the key up to its first zero.
            char head[32];
            std::snprintf(head, sizeof head, "\\StringFileInfo\\%04x%04x\\", language, codePage);
            FUZZ_CHECK(VersionStringPath(language, codePage, hasKey ? key.c_str() : nullptr) ==
                       head + std::string(hasKey ? key.c_str() : ""));
            break;
        }
        case 4: {
            char face[textlabel::FaceNameSize];
            const std::string old = in.ConsumeBytesAsString(sizeof face);
            std::memset(face, 'x', sizeof face);
            std::memcpy(face, old.data(), old.size());
            // The name may be any text, none, or lie inside the field itself.
            std::string name = AnyText(in);
            const char* source = name.c_str();
            switch (in.ConsumeIntegralInRange<int>(0, 2)) {
            case 1:
                source = nullptr;
                break;
            case 2:
                face[sizeof face - 1] = '\0';
                source = face + in.ConsumeIntegralInRange<size_t>(0, sizeof face - 1);
                name = source;
                break;
            }
            const size_t kept = textlabel::CopyFaceName(face, source);
            // The name stays within its 32-byte field: cut to 31 bytes, zeros to the end.
            const size_t length = source ? std::min(std::strlen(name.c_str()), sizeof face - 1) : 0;
            FUZZ_CHECK(kept == length && std::memcmp(face, name.data(), kept) == 0);
            for (size_t i = kept; i < sizeof face; ++i)
                FUZZ_CHECK(face[i] == '\0');
            break;
        }
        }
    }
    return 0;
}
