// CString: the framework's 8-bit string (ANSI, Windows-1252 content), with value semantics.
// Standard C++ only, so the header needs no <windows.h>.
#pragma once

#include <string>

class CString
{
public:
    CString() = default;
    CString(const char* text);            // NULL gives the empty string
    CString(const char* text, int length); // the first length bytes (fewer if text is shorter)
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const char* text);

    // Implicit, as the framework's string hands itself to every ...A function.
    operator const char*() const { return m_text.c_str(); }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    char GetAt(int index) const { return m_text.at(static_cast<size_t>(index)); }
    char operator[](int index) const { return GetAt(index); }

    // The first count bytes (all of them when fewer); a count of 0 or less gives the empty string.
    CString Left(int count) const;

    // printf rules, any output length. Passing a CString for %s needs an explicit (const char*).
    void Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // A writable buffer of at least minLength + 1 bytes that holds the current text. The length
    // is undefined until ReleaseBuffer; -1 there means "up to the first NUL".
    char* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_text;
};
