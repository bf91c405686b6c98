// SPDX-License-Identifier: MIT
#include "query/ResultsMenu.h"

#include <QAction>

ResultsMenu::ResultsMenu(QWidget* parent)
    : QMenu(parent),
      m_openAction(addAction(QStringLiteral("Open"))),
      m_exportAction(addAction(QStringLiteral("Export to CSV")))
{
}
