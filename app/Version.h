// Reads strings from a file's version resource; the file version comes back as dotted text.
#pragma once

#include "framework/afx.h"

class CVersion : public CObject
{
    DECLARE_DYNAMIC(CVersion);

public:
    // fileName in UTF-16, so that any folder name can be read.
    explicit CVersion(const wchar_t* fileName);

    // "1, 0, 2, 0" becomes "1.0.2.0"; empty when the file has no readable version resource.
    CString GetFileVersion();

    // The string named key of the resource's first translation. On any failure (no resource, a
    // resource that cannot be read, no translation list, no such string) value is left as it was.
    static void QueryVersionString(const wchar_t* fileName, const char* key, CString& value);

private:
    AfxWideString m_strFileName;
};
