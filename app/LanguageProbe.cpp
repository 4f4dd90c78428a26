// The language probe and the registry reader behind it.
#include "app/LanguageProbe.h"

#include "app/LaunchRules_core.h"

CRegistryKeyReader::CRegistryKeyReader(HKEY rootKey, CString subKey)
    : m_hRootKey(rootKey), m_strSubKey(subKey)
{
}

CString CRegistryKeyReader::ReadStringValue(CString valueName)
{
    CString result;
    char data[DataBufferSize + 1] = "";
    DWORD size = DataBufferSize;

    HKEY key = NULL;
    if (::RegOpenKeyExA(m_hRootKey, m_strSubKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return result;
    // The data need not end in a NUL (a value that fills the buffer exactly, binary data), and
    // after ERROR_MORE_DATA the buffer is undefined: only a successful query gives text, and the
    // terminator is set after the data it returned.
    LONG status = ::RegQueryValueExA(key, valueName, NULL, NULL, (BYTE*)data, &size);
    ::RegCloseKey(key);
    if (status == ERROR_SUCCESS && size <= DataBufferSize) {
        data[size] = '\0';
        result = data;
    }
    return result;
}

CString CLanguageProbe::GetLanguageCode()
{
    CString localeId;
    char* buffer = localeId.GetBuffer(128);
    buffer[0] = '\0';
    ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE, buffer, 128);
    localeId.ReleaseBuffer();
    return LookupRfc1766Code(localeId);
}

CString CLanguageProbe::LookupRfc1766Code(CString localeId)
{
    CRegistryKeyReader reader(HKEY_CLASSES_ROOT, "MIME\\Database\\Rfc1766");
    CString text = reader.ReadStringValue(localeId);
    return CString(launchrules::FirstTwoCharacters(std::string(text)).c_str());
}
