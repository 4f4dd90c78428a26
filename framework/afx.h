// The framework layer in one include.
#pragma once

#include <windows.h>

#include "framework/afxstr.h"
#include "framework/afxconv.h"
#include "framework/afxobj.h"
#include "framework/afxexcept.h"
#include "framework/afxgdi.h"
#include "framework/afxmsg.h"
#include "framework/afxwnd.h"
#include "framework/afxdlg.h"
#include "framework/afxapp.h"
