// SPDX-License-Identifier: MIT
// The expanded window: switched on and off from the window menu and with Ctrl+E. On, the
// template's controls stay where they are, a panel of filters opens at the right, the
// window can be resized (the chart and the list take the extra space), the list shows
// four more columns and Show two more entries. Off, the window is the template's again.
#include "app/CMainDialog.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

#include "app/ExpandedPanel.h"
#include "chart/CChartStatic.h"
#include "query/ResultsModel.h"

namespace {
const char* const kExpandedItem = "E&xpanded Window";
// The Show entries after the quantities', in Show order.
const char* const kNameEntries[] = { "Lens", "Camera" };
constexpr int kPanelWidth = 290;
} // namespace

void CMainDialog::MakeExpandedWindow()
{
    m_templateSize = size();
    m_templateChart = m_chart->geometry();
    m_templateList = m_resultsList->geometry();

    m_expandedAction = new QAction(QString::fromLatin1(kExpandedItem), this);
    m_expandedAction->setCheckable(true);
    m_expandedAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_expandedAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_expandedAction);
    m_systemMenu->addAction(m_expandedAction);
    connect(m_expandedAction, &QAction::toggled, this, &CMainDialog::OnExpandedWindow);

    // Made last, so that Tab reaches the panel's controls after the template's.
    m_panel = new ExpandedPanel(this);
    m_panel->hide();
}

bool CMainDialog::IsExpanded() const
{
    return m_panel && !m_panel->isHidden();
}

void CMainDialog::OnExpandedWindow(bool on)
{
    if (on == IsExpanded())
        return;
    QHeaderView* header = m_resultsList->horizontalHeader();
    if (on) {
        m_resultsModel->SetShownColumns(kResultColumnCount);
        for (int column = kTemplateColumnCount; column < kResultColumnCount; ++column)
            header->resizeSection(column, ResultColumnTable()[column].width);
        for (const char* entry : kNameEntries)
            m_showCombo->addItem(QString::fromLatin1(entry));
        const QSize expanded = m_templateSize + QSize(kPanelWidth, 0);
        setMinimumSize(expanded);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(expanded);
        m_panel->show();
        LayOutExpanded();
    } else {
        m_panel->hide();
        // A chart by name has no place in the template window: back to the first quantity.
        if (m_showCombo->currentIndex() >= kQuantityCount) {
            m_showCombo->setCurrentIndex(0);
            OnSelchangeShow();
        }
        while (m_showCombo->count() > kQuantityCount)
            m_showCombo->removeItem(m_showCombo->count() - 1);
        m_resultsModel->SetShownColumns(kTemplateColumnCount);
        m_chart->setGeometry(m_templateChart);
        m_resultsList->setGeometry(m_templateList);
        setFixedSize(m_templateSize);
    }
    // The rows now hold the other window's ISO speeds: the chart follows.
    if (ListedRowCount() > 0)
        OnSelchangeShow();
    m_expandedAction->setChecked(on);
}

void CMainDialog::LayOutExpanded()
{
    const ExpandedLayout layout
        = LayoutExpanded(m_templateSize, m_templateChart, m_templateList, kPanelWidth, size());
    m_chart->setGeometry(layout.chart);
    m_resultsList->setGeometry(layout.list);
    m_panel->setGeometry(layout.panel);
}

void CMainDialog::resizeEvent(QResizeEvent* event)
{
    if (IsExpanded())
        LayOutExpanded();
    QDialog::resizeEvent(event);
}
