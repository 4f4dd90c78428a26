// Import hooks for Windows tests: one system function the program imports, replaced through the
// program's import address table while a hook lives, so a test sees the arguments that product
// code passes where Wine's answer alone would not tell (Wine accepts what Windows refuses).
#pragma once

#include <windows.h>

namespace wintest {

class ImportHook
{
public:
    // Replaces function (imported from dll, by name) with replacement; Installed() says whether the
    // import was found.
    ImportHook(const char* dll, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool Installed() const { return m_slot != nullptr; }
    // The function the import led to before, for the replacement to call on.
    template <class Function>
    Function Original() const
    {
        return reinterpret_cast<Function>(m_original);
    }

private:
    void** m_slot = nullptr;
    void* m_original = nullptr;
};

}  // namespace wintest
