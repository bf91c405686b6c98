// SPDX-License-Identifier: MIT
// The results list's context menu: "Open" and "Export to CSV". The main window shows
// it wherever the right click falls in the list, also on an empty list, and connects
// the two actions to its OnOpenPhoto and OnExportCsv.
#pragma once

#include <QMenu>

class QAction;

class ResultsMenu : public QMenu {
    Q_OBJECT

public:
    explicit ResultsMenu(QWidget* parent = nullptr);

    QAction* OpenAction() const { return m_openAction; }
    QAction* ExportAction() const { return m_exportAction; }

private:
    QAction* m_openAction;
    QAction* m_exportAction;
};
