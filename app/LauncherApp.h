// The launcher's application object: shows the warning dialog once and ends.
#pragma once

#include "framework/afx.h"

class CLauncherApp : public CWinApp
{
public:
    CLauncherApp();

    // Probes the language, runs the warning dialog modally and returns FALSE: no message loop.
    BOOL InitInstance() override;
    // The exit code: 1 when the dialog could not be shown, else 0.
    int ExitInstance() override { return m_exitCode; }

private:
    int m_exitCode = 0;

    DECLARE_MESSAGE_MAP()
};
