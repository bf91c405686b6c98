// SPDX-License-Identifier: MIT
#include "app/CFotolotApp.h"

#include <QCoreApplication>
#include <QTimer>

#include "app/CMainDialog.h"
#include "app/ProgramEnd.h"

bool CFotolotApp::InitInstance()
{
    CMainDialog dialog;
    if (m_startExpanded || !m_startPaths.empty())
        dialog.StartWith(m_startExpanded, m_startPaths);
    dialog.exec();
    return false;
}

int CFotolotApp::Run()
{
    const ProgramEnd end;
    QTimer::singleShot(0, [this] {
        InitInstance();
        QCoreApplication::exit(0);
    });
    return QCoreApplication::exec();
}
