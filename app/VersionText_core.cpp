// Platform-free version text rules; see VersionText_core.h.
#include "app/VersionText_core.h"

#include <algorithm>

namespace versiontext {

std::string FormatVersionText(std::string raw)
{
    std::replace(raw.begin(), raw.end(), ',', '.');
    raw.erase(std::remove(raw.begin(), raw.end(), ' '), raw.end());
    return raw;
}

namespace {

void AppendHex4(std::string& out, std::uint16_t value)
{
    static const char kDigits[] = "0123456789abcdef";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 0xF];
}

} // namespace

std::string VersionStringPath(std::uint16_t language, std::uint16_t codePage, const char* key)
{
    std::string path = "\\StringFileInfo\\";
    AppendHex4(path, language);
    AppendHex4(path, codePage);
    path += '\\';
    if (key != nullptr)
        path += key;
    return path;
}

}  // namespace versiontext
