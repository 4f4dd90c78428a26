// CVersion: one query of a file's version resource per call, nothing kept in between.
#include "app/Version.h"

#include <cstring>
#include <memory>
#include <new>

#include "app/VersionText_core.h"

IMPLEMENT_DYNAMIC(CVersion, CObject)

CVersion::CVersion(const wchar_t* fileName)
    : m_strFileName(fileName != nullptr ? reinterpret_cast<const char16_t*>(fileName) : u"")
{
}

CString CVersion::GetFileVersion()
{
    CString version;
    QueryVersionString(AfxWide(m_strFileName), "FileVersion", version);
    return CString(versiontext::FormatVersionText(std::string(version)).c_str());
}

void CVersion::QueryVersionString(const wchar_t* fileName, const char* key, CString& value)
{
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeW(fileName, &handle);
    if (size == 0)
        return;
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]);
    if (!block || !::GetFileVersionInfoW(fileName, handle, size, block.get()))
        return;

    // The first translation: a 16-bit language followed by a 16-bit code page.
    WORD* translation = nullptr;
    UINT translationLength = 0;
    if (!::VerQueryValueW(block.get(), L"\\VarFileInfo\\Translation", (void**)&translation,
                          &translationLength) ||
        translation == nullptr || translationLength < 2 * sizeof(WORD))
        return;

    const std::string path = versiontext::VersionStringPath(translation[0], translation[1], key);
    wchar_t* text = nullptr;
    UINT textLength = 0;
    if (!::VerQueryValueW(block.get(), AfxWide(AfxTextToWide(path.c_str())), (void**)&text, &textLength) ||
        text == nullptr)
        return;
    // The block is freed on return: copy the text, never past the length the resource gives.
    value = AfxTextFromWide(text, (int)wcsnlen(text, textLength));
}
