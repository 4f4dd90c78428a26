// A copy of the running test program that stands in for a program the code under test starts
// (a link, a label's text). Started under its stub name, the copy only leaves a marker file beside
// itself and ends, before any test runs.
#pragma once

#include <windows.h>

#include <string>

namespace wintest {

// Called once per test program during static initialisation: when this process was started under a
// name beginning with prefix, writes "<own path>.ran" and ends the process; otherwise answers false.
bool ExitIfStartedAsStub(const char* prefix);

// Copies this program to the temporary folder as "<prefix>_<process id>.exe"; the destructor removes
// the copy (once the stub has ended) and its marker.
class SelfStub
{
public:
    explicit SelfStub(const char* prefix);
    ~SelfStub();
    SelfStub(const SelfStub&) = delete;
    SelfStub& operator=(const SelfStub&) = delete;

    bool Made() const { return m_made; }
    const std::string& Path() const { return m_path; }
    // Waits until the copy has run (its marker is there), at most timeoutMs.
    bool WaitUntilRan(DWORD timeoutMs) const;

private:
    std::string m_path;
    std::string m_marker;
    bool m_made;
};

}  // namespace wintest
