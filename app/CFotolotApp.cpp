// SPDX-License-Identifier: MIT
#include "app/CFotolotApp.h"

#include "app/CMainDialog.h"

bool CFotolotApp::InitInstance()
{
    CMainDialog dialog;
    dialog.exec();
    return false;
}
