// CException and CResourceException.
#include "framework/afxexcept.h"

#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CResourceException, CException)

const char* const kResourceExceptionText = "A required resource was unavailable.";
const char* const kNoErrorMessageText = "No error message is available.";

namespace {

// The block most recently handed out by CException::operator new (on the one GUI thread), until
// the exception constructed in it has claimed it.
void* t_freshHeapBlock = nullptr;

// Copies text into buf, cut to max - 1 bytes; FALSE if nothing fits.
BOOL CopyMessage(const char* text, LPSTR buf, UINT max)
{
    if (!buf || max == 0)
        return FALSE;
    size_t length = strlen(text);
    if (length > max - 1)
        length = max - 1;
    memcpy(buf, text, length);
    buf[length] = '\0';
    return TRUE;
}

} // namespace

void* CException::operator new(size_t size)
{
    void* block = ::operator new(size);
    t_freshHeapBlock = block;
    return block;
}

void CException::operator delete(void* block)
{
    ::operator delete(block);
}

CException::CException()
{
    // Single inheritance from CObject: the object starts at the block new returned.
    m_bAutoDelete = (t_freshHeapBlock == static_cast<void*>(this)) ? TRUE : FALSE;
    t_freshHeapBlock = nullptr;
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR buf, UINT max, PUINT helpContext)
{
    if (helpContext)
        *helpContext = 0;
    if (buf && max > 0)
        buf[0] = '\0';
    return FALSE;
}

int CException::ReportError(UINT type, UINT messageId)
{
    char text[512];
    if (!GetErrorMessage(text, sizeof text, NULL) || text[0] == '\0') {
        if (messageId == 0 ||
            LoadStringA(GetModuleHandleA(NULL), messageId, text, sizeof text) <= 0)
            CopyMessage(kNoErrorMessageText, text, sizeof text);
    }
    return AfxMessageBox(text, type);
}

BOOL CResourceException::GetErrorMessage(LPSTR buf, UINT max, PUINT helpContext)
{
    if (helpContext)
        *helpContext = 0;
    return CopyMessage(kResourceExceptionText, buf, max);
}

void AfxThrowResourceException()
{
    throw new CResourceException;
}
