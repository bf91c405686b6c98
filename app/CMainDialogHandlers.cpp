// SPDX-License-Identifier: MIT
// The handlers of the window's buttons, Show list and results list: opening and
// querying photos, the chart, the list's actions and the screenshot.
#include "app/CMainDialog.h"

#include <QModelIndex>
#include <QPoint>

void CMainDialog::OnOpen()
{
}

void CMainDialog::OnQuery()
{
}

void CMainDialog::OnSelchangeShow()
{
}

void CMainDialog::OnHeaderItemClick(int /*column*/)
{
}

void CMainDialog::OnListDblClk(const QModelIndex& /*index*/)
{
}

void CMainDialog::OnScreenshot()
{
}

void CMainDialog::OnOpenPhoto()
{
}

void CMainDialog::OnExportCsv()
{
}

void CMainDialog::OnListRClick(const QPoint& /*position*/)
{
}
