// CString: the framework's 8-bit string.
#include "framework/afxstr.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char* OrEmpty(const char* text)
{
    return text ? text : "";
}

} // namespace

CString::CString(const char* text) : m_text(OrEmpty(text)) {}

CString::CString(const char* text, int length)
{
    if (text && length > 0)
        m_text.assign(text, strnlen(text, static_cast<size_t>(length)));
}

CString& CString::operator=(const char* text)
{
    // text may point into this string itself; assign copes with that.
    m_text.assign(OrEmpty(text));
    return *this;
}

CString& CString::operator+=(const CString& other)
{
    m_text += other.m_text;
    return *this;
}

CString& CString::operator+=(const char* text)
{
    m_text += OrEmpty(text);
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_text += ch;
    return *this;
}

CString CString::Left(int count) const
{
    if (count <= 0)
        return CString();
    CString result;
    result.m_text = m_text.substr(0, static_cast<size_t>(count));
    return result;
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (count <= 0 || first >= GetLength())
        return CString();
    CString result;
    result.m_text = m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count));
    return result;
}

CString CString::Right(int count) const
{
    if (count <= 0)
        return CString();
    if (count >= GetLength())
        return *this;
    CString result;
    result.m_text = m_text.substr(m_text.size() - static_cast<size_t>(count));
    return result;
}

int CString::Find(char ch, int start) const
{
    if (start < 0)
        start = 0;
    if (start >= GetLength())
        return -1;
    size_t pos = m_text.find(ch, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* sub, int start) const
{
    if (!sub || start < 0 || start > GetLength())
        return -1;
    size_t pos = m_text.find(sub, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const
{
    size_t pos = m_text.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Replace(char oldCh, char newCh)
{
    int count = 0;
    for (char& c : m_text) {
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(const char* oldText, const char* newText)
{
    // An empty pattern would match everywhere; it replaces nothing.
    if (!oldText || !*oldText)
        return 0;
    const std::string from(oldText);
    const std::string to(OrEmpty(newText));
    std::string result;
    int count = 0;
    size_t pos = 0;
    for (;;) {
        size_t hit = m_text.find(from, pos);
        if (hit == std::string::npos)
            break;
        result.append(m_text, pos, hit - pos);
        result += to;
        pos = hit + from.size();
        ++count;
    }
    if (count) {
        result.append(m_text, pos, std::string::npos);
        m_text.swap(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    size_t before = m_text.size();
    m_text.erase(std::remove(m_text.begin(), m_text.end(), ch), m_text.end());
    return static_cast<int>(before - m_text.size());
}

void CString::Format(const char* format, ...)
{
    if (!format) {
        m_text.clear();
        return;
    }
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int needed = vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    // Format into a separate buffer: an argument may point into this string.
    std::string result;
    if (needed > 0) {
        result.resize(static_cast<size_t>(needed));
        vsnprintf(&result[0], result.size() + 1, format, args);
    }
    va_end(args);
    m_text.swap(result);
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_text.resize(static_cast<size_t>(minLength), '\0');
    // std::string keeps a NUL at [size()], so the caller has size() + 1 writable bytes
    // (writing a NUL into the last one is allowed).
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength)
{
    size_t length;
    if (newLength < 0) {
        length = m_text.find('\0');
        if (length == std::string::npos)
            length = m_text.size();
    } else {
        length = static_cast<size_t>(newLength);
        if (length > m_text.size())
            length = m_text.size(); // never past what GetBuffer handed out
    }
    m_text.resize(length);
}

char* CString::GetBufferSetLength(int newLength)
{
    m_text.resize(newLength > 0 ? static_cast<size_t>(newLength) : 0, '\0');
    return &m_text[0];
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, const char* b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const char* a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, char b)
{
    CString result(a);
    result += b;
    return result;
}

CString operator+(char a, const CString& b)
{
    CString result;
    result += a;
    result += b;
    return result;
}

bool operator==(const CString& a, const CString& b)
{
    return a.GetLength() == b.GetLength() &&
           memcmp(static_cast<const char*>(a), static_cast<const char*>(b),
                  static_cast<size_t>(a.GetLength())) == 0;
}

bool operator==(const CString& a, const char* b)
{
    return strcmp(a, OrEmpty(b)) == 0 && strlen(OrEmpty(b)) == static_cast<size_t>(a.GetLength());
}

bool operator==(const char* a, const CString& b)
{
    return b == a;
}

bool operator!=(const CString& a, const CString& b)
{
    return !(a == b);
}

bool operator!=(const CString& a, const char* b)
{
    return !(a == b);
}

bool operator!=(const char* a, const CString& b)
{
    return !(b == a);
}
