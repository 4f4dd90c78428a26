// Texts and Windows: a CString holds Windows-1252 bytes whatever the system's code page is, so
// where a text meets Windows it goes to the wide (UTF-16) functions, converted explicitly, and
// what Windows gives back comes home the same way. The ANSI functions would read the bytes in the
// system's code page instead ("mцglichen" under 1251).
#pragma once

#include <windows.h>

#include <string>

#include "framework/afxstr.h"

// The code page of every CString text.
constexpr UINT AFX_TEXT_CODEPAGE = 1252;

// UTF-16 text for the wide functions and paths with every character of every folder name. A string
// of char16_t (Windows' wide characters have the same 16 bits) is compiled into the program as far
// as it is used; std::wstring would link the runtime's whole wide-string code (24 KB).
using AfxWideString = std::u16string;

inline const wchar_t* AfxWide(const AfxWideString& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// The string's characters to be written by a wide function (size() + 1 of them, with the terminator).
inline wchar_t* AfxWideBuffer(AfxWideString& text)
{
    return reinterpret_cast<wchar_t*>(&text[0]);
}

// length bytes of text (up to its terminator for -1) as UTF-16; NULL gives the empty string.
AfxWideString AfxTextToWide(const char* text, int length = -1);

// UTF-16 text (up to its terminator for -1) as Windows-1252 bytes; a character that has no byte
// there becomes '?', never a look-alike.
CString AfxTextFromWide(const wchar_t* text, int length = -1);
