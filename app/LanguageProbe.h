// The user's language: the locale's language identifier looked up in the system's table of
// language tags (HKEY_CLASSES_ROOT\MIME\Database\Rfc1766), cut to its first two characters.
#pragma once

#include "framework/afx.h"

// Reads string values of one registry key; opens and closes the key on every read.
class CRegistryKeyReader : public CObject
{
public:
    CRegistryKeyReader(HKEY rootKey, CString subKey);

    // The value's text up to its first NUL; empty when the key or value is missing, the data do not
    // fit the buffer, or the query fails in any other way.
    CString ReadStringValue(CString valueName);

    // Room for the value's data; one byte more is kept for the terminator.
    static constexpr DWORD DataBufferSize = 260;

private:
    HKEY m_hRootKey;
    CString m_strSubKey;
};

class CLanguageProbe : public CObject
{
public:
    // Two lowercase letters such as "de", fewer or none when the language cannot be found.
    CString GetLanguageCode();
    // The first two characters of the tag stored under the identifier, or empty.
    CString LookupRfc1766Code(CString localeId);
};
