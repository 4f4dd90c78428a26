// Resource identifiers of the launcher; included by launcher.rc and by the C++ sources.
#pragma once

#define IDD_NOTICE      102
#define IDI_APPICON     128
#define IDB_BACKGROUND  129

#define IDC_HEAD        1000
#define IDC_INTRO       1001
#define IDC_TEXT        1002
#define IDC_FINAL       1003
#define IDC_FRAME       1004
