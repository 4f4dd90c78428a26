// The one conversion between the framework's Windows-1252 texts and Windows' UTF-16.
#include "framework/afxconv.h"

AfxWideString AfxTextToWide(const char* text, int length)
{
    if (text == nullptr || length == 0)
        return AfxWideString();
    const int size = ::MultiByteToWideChar(AFX_TEXT_CODEPAGE, 0, text, length, nullptr, 0);
    if (size <= 0)
        return AfxWideString();
    AfxWideString wide((size_t)size, u'\0');
    ::MultiByteToWideChar(AFX_TEXT_CODEPAGE, 0, text, length, AfxWideBuffer(wide), size);
    if (length < 0)
        wide.resize((size_t)size - 1);   // the count included the terminator
    return wide;
}

CString AfxTextFromWide(const wchar_t* text, int length)
{
    if (text == nullptr || length == 0)
        return CString();
    const int size = ::WideCharToMultiByte(AFX_TEXT_CODEPAGE, WC_NO_BEST_FIT_CHARS, text, length, nullptr, 0,
                                           nullptr, nullptr);
    if (size <= 0)
        return CString();
    CString narrow;
    char* buffer = narrow.GetBuffer(size);
    ::WideCharToMultiByte(AFX_TEXT_CODEPAGE, WC_NO_BEST_FIT_CHARS, text, length, buffer, size, "?", nullptr);
    narrow.ReleaseBuffer(length < 0 ? size - 1 : size);
    return narrow;
}
