// CString: the framework's 8-bit string.
#include "framework/afxstr.h"

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

CString CString::Left(int count) const
{
    if (count <= 0)
        return CString();
    CString result;
    result.m_text = m_text.substr(0, static_cast<size_t>(count));
    return result;
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
