// CException and CResourceException: the framework's exceptions, thrown and caught by pointer:
//   throw new CResourceException;   ...   catch (CException* e) { e->ReportError(); e->Delete(); }
#pragma once

#include <windows.h>
#include <cstddef>

#include "framework/afxobj.h"

// Shows text in a message box captioned with the application title (defined with the
// application class). Declared here once with its default arguments; redeclare it without them.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);

class CException : public CObject
{
    DECLARE_DYNAMIC(CException);

public:
    CException();
    ~CException() override = default;

    // Frees the exception if it was made with new; one on the stack or static is left alone,
    // so Delete is always the right way to finish with a caught exception.
    void Delete();

    // Copies the exception's text into buf (at most max bytes with the NUL); FALSE if it has none.
    virtual BOOL GetErrorMessage(LPSTR buf, UINT max, PUINT helpContext = NULL);
    // Shows the text (or messageId's string resource, or a generic text) with AfxMessageBox
    // and returns its result.
    virtual int ReportError(UINT type = MB_OK, UINT messageId = 0);

    // Heap allocation is recorded so that the constructor can tell heap from stack.
    static void* operator new(size_t size);
    static void operator delete(void* block);

    BOOL IsAutoDelete() const { return m_bAutoDelete; }

protected:
    BOOL m_bAutoDelete;
};

// A resource (GDI object, bitmap, string) could not be made or found.
class CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException);

public:
    BOOL GetErrorMessage(LPSTR buf, UINT max, PUINT helpContext = NULL) override;
};

// The text that CResourceException reports.
extern const char* const kResourceExceptionText;
// The text ReportError shows when neither the exception nor the message id gives one.
extern const char* const kNoErrorMessageText;

[[noreturn]] void AfxThrowResourceException();
