// SPDX-License-Identifier: MIT
#include "app/CFotolotApp.h"

#include "app/CMainDialog.h"

bool CFotolotApp::InitInstance()
{
    CMainDialog dialog;
    if (m_startExpanded || !m_startPaths.empty())
        dialog.StartWith(m_startExpanded, m_startPaths);
    dialog.exec();
    return false;
}
