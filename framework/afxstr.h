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

    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char ch);

    // Implicit, as the framework's string hands itself to every ...A function.
    operator const char*() const { return m_text.c_str(); }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text.at(static_cast<size_t>(index)); }
    char operator[](int index) const { return GetAt(index); }

    // Substrings: counts are clamped to the text; a negative count gives the empty string.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // Position of the first match at or after start, -1 when there is none.
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;

    // Replacements return how many places were changed. A NULL or empty replacement removes.
    int Replace(char oldCh, char newCh);
    int Replace(const char* oldText, const char* newText);
    int Remove(char ch);

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
    // Buffer of exactly newLength characters (plus the NUL); the length is set at once.
    char* GetBufferSetLength(int newLength);

private:
    std::string m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
CString operator+(char a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
