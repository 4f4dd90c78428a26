// The launcher's application object: shows the warning dialog once and ends.
#pragma once

#include "framework/afx.h"

class CLauncherApp : public CWinApp
{
public:
    CLauncherApp();

    // Probes the language, runs the warning dialog modally and returns FALSE: no message loop.
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
