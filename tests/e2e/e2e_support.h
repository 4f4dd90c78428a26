// What the end-to-end programs (the driver and the support stub) share: texts as JSON strings, and
// waiting for a condition by polling it until a deadline.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace e2e {

// text in a code page (UTF-8 unless told); *lossy (if given) tells whether some character has no
// byte in it (no best-fit substitutes are made).
inline std::string Narrow(const std::wstring& text, UINT codePage = CP_UTF8, BOOL* lossy = nullptr)
{
    if (text.empty())
        return std::string();
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), length, &out[0], size, nullptr, lossy);
    return out;
}

// A JSON string literal of UTF-8 text: quotes and backslashes escaped, control characters as \u00XX.
inline std::string Quote(const std::string& utf8)
{
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

inline std::string Quote(const std::wstring& text)
{
    return Quote(Narrow(text));
}

// Asks done() every pollMs until it answers true or timeoutMs have passed; answers its last answer.
template <class Done>
bool PollUntil(DWORD timeoutMs, DWORD pollMs, Done done)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(pollMs);
    }
}

}  // namespace e2e
