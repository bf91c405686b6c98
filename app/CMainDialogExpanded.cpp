// SPDX-License-Identifier: MIT
// The expanded window: switched on and off from the window menu and with Ctrl+E. On, the
// template's controls stay where they are, a panel of filters opens at the right, the
// window grows to a size the work needs (on its screen) and can be resized (the chart and
// the list take the extra space), a splitter sets the panel's width, the list shows four
// more columns and Show its own entries after the quantities'. Off, the window is the template's again, where
// it stood.
#include "app/CMainDialog.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QWindow>

#include <algorithm>
#include <functional>

#include "app/ExpandedPanel.h"
#include "app/FilesNotReadDialog.h"
#include "chart/CChartStatic.h"
#include "controls/CTransparentStatic.h"
#include "query/ListRow.h"
#include "chart/ChartBins.h"
#include "query/ResultsModel.h"

namespace {
const char* const kExpandedItem = "E&xpanded Window";
constexpr int kSplitterWidth = 5;

// The handle between the list and chart and the panel: dragged, it hands on the new left
// edge of the panel, in the window's coordinates.
class PanelSplitter : public QWidget {
public:
    PanelSplitter(QWidget* parent, std::function<void(int)> moved)
        : QWidget(parent)
        , m_moved(std::move(moved))
    {
        setCursor(Qt::SplitHCursor);
        setAccessibleName(QStringLiteral("Panel splitter"));
    }

protected:
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (event->buttons() & Qt::LeftButton)
            m_moved(mapToParent(event->position().toPoint()).x());
    }

private:
    std::function<void(int)> m_moved;
};
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
    connect(m_panel->m_openFolderButton, &QPushButton::clicked, this, &CMainDialog::OnOpenFolder);
    connect(m_panel->m_filesNotReadButton, &QPushButton::clicked, this, [this] {
        FilesNotReadDialog list(this, m_catalogue.skippedFiles);
        list.exec();
    });
    m_splitter = new PanelSplitter(this, [this](int left) {
        m_panelWidth = ClampPanelWidth(width() - left - kSplitterWidth / 2, width());
        LayOutExpanded();
    });
    m_splitter->hide();
}

bool CMainDialog::IsExpanded() const
{
    return m_panel && !m_panel->isHidden();
}

void CMainDialog::StartWith(bool expanded, const ScanItems& paths)
{
    // Once the window is up: it grows on its own screen, and the scan's box stands over it.
    QMetaObject::invokeMethod(
        this,
        [this, expanded, paths] {
            if (expanded)
                OnExpandedWindow(true);
            if (!paths.empty())
                RunScan([paths](QWidget*) { return paths; });
        },
        Qt::QueuedConnection);
}

void CMainDialog::OnExpandedWindow(bool on)
{
    if (on == IsExpanded())
        return;
    QHeaderView* header = m_resultsList->horizontalHeader();
    if (on) {
        m_templatePosition = pos();
        m_resultsModel->SetShownColumns(kResultColumnCount);
        int columnsWidth = 0;
        for (int column = kTemplateColumnCount; column < kResultColumnCount; ++column) {
            header->resizeSection(column, ResultColumnTable()[column].width);
            columnsWidth += ResultColumnTable()[column].width;
        }
        const std::vector<ShowEntry> entries = ShowEntries(true);
        for (std::size_t i = static_cast<std::size_t>(m_showCombo->count()); i < entries.size();
             ++i)
            m_showCombo->addItem(QString::fromLatin1(entries[i].text));
        setMinimumSize(m_templateSize + QSize(kPanelMinWidth, 0));
        CapToScreen();
        if (QWindow* window = windowHandle())
            connect(window, &QWindow::screenChanged, this, &CMainDialog::OnScreenChanged,
                Qt::UniqueConnection);
        QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        // The window's frame (title bar, borders) is taken off the screen's room.
        const QSize frame = frameGeometry().size() - size();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
        ExpandedStart start;
        start.templateSize = m_templateSize;
        start.list = m_templateList;
        start.rowHeight = m_resultsList->verticalHeader()->defaultSectionSize();
        start.headerHeight = header->height();
        start.columnsWidth = columnsWidth;
        start.namesWidth = m_panel->NamesWidth();
        start.available = available.size() - frame;
        const QSize grown = ExpandedStartSize(start);
        m_panelWidth = ClampPanelWidth(start.namesWidth, grown.width());
        resize(grown);
        // Kept on the screen: moved up and left as far as the grown window needs.
        QPoint at = pos();
        at.setX(std::max(available.left(),
            std::min(at.x(), available.right() + 1 - grown.width() - frame.width())));
        at.setY(std::max(available.top(),
            std::min(at.y(), available.bottom() + 1 - grown.height() - frame.height())));
        if (at != pos())
            move(at);
        m_panel->show();
        m_splitter->show();
        ShowSortIndicator();
        FitBoundLists();
        LayOutExpanded();
        OnQueryIfListed();
    } else {
        m_panel->hide();
        m_splitter->hide();
        ShowSortIndicator();
        FitBoundLists();
        // The expanded window's own entries have no place in the template window: back to
        // the first quantity.
        const int templateEntries = static_cast<int>(ShowEntries(false).size());
        if (m_showCombo->currentIndex() >= templateEntries)
            m_showCombo->setCurrentIndex(0);
        while (m_showCombo->count() > templateEntries)
            m_showCombo->removeItem(m_showCombo->count() - 1);
        m_resultsModel->SetShownColumns(kTemplateColumnCount);
        m_chart->setGeometry(m_templateChart);
        m_resultsList->setGeometry(m_templateList);
        setFixedSize(m_templateSize);
        move(m_templatePosition);
    }
    // A quantity may read another value in the expanded window (its expandedValue).
    OnSelchangeShow();
    m_expandedAction->setChecked(on);
}

void CMainDialog::CapToScreen()
{
    // The frame, too, stays within the screen's available area (a window of 32,767 pixels
    // square would take seconds and gigabytes a repaint); the minimum stays as it is.
    const QScreen* shownOn = screen();
    if (!shownOn)
        return;
    const QSize frame = frameGeometry().size() - size();
    setMaximumSize((shownOn->availableGeometry().size() - frame).expandedTo(minimumSize()));
}

void CMainDialog::OnScreenChanged()
{
    if (IsExpanded())
        CapToScreen();
}

int CMainDialog::ClampPanelWidth(int wanted, int windowWidth) const
{
    // At least its own minimum; a third of the window at most, unless dragged wider, which
    // the template's controls bound.
    return std::max(
        kPanelMinWidth, std::min(wanted, windowWidth - m_templateSize.width() - kSplitterWidth));
}

void CMainDialog::LayOutExpanded()
{
    const int panelWidth = ClampPanelWidth(m_panelWidth, width());
    const ExpandedLayout layout
        = LayoutExpanded(m_templateSize, m_templateChart, m_templateList, panelWidth, size());
    m_chart->setGeometry(layout.chart);
    m_resultsList->setGeometry(layout.list);
    m_panel->setGeometry(layout.panel);
    m_splitter->setGeometry(layout.panel.left() - kSplitterWidth, 0, kSplitterWidth, height());
    m_splitter->raise();
}

void CMainDialog::resizeEvent(QResizeEvent* event)
{
    if (IsExpanded())
        LayOutExpanded();
    QDialog::resizeEvent(event);
}

void CMainDialog::OnQueryIfListed()
{
    if (m_queryButton->isEnabled() && !m_matchesLabel->text().isEmpty())
        OnQuery();
}

std::string CMainDialog::SelectedPath() const
{
    const QModelIndexList selected = m_resultsList->selectionModel()->selectedRows();
    const ListRow* row
        = selected.isEmpty() ? nullptr : m_resultsModel->RowAt(selected.front().row());
    return row ? row->path : std::string();
}

void CMainDialog::KeepSortAndSelection(const std::string& selectedPath)
{
    m_resultsModel->SortAgain(m_sortColumn);
    ShowSortIndicator();
    if (selectedPath.empty())
        return;
    for (int row = 0; row < m_resultsModel->rowCount(); ++row) {
        if (m_resultsModel->RowAt(row)->path != selectedPath)
            continue;
        const QModelIndex index = m_resultsModel->index(row, 0);
        m_resultsList->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_resultsList->scrollTo(index);
        return;
    }
}

void CMainDialog::ShowSortIndicator()
{
    QHeaderView* header = m_resultsList->horizontalHeader();
    const bool shown = IsExpanded() && m_sortColumn >= 0;
    header->setSortIndicatorShown(shown);
    if (shown)
        // The direction of the next sort is flipped already: the last one is its opposite.
        header->setSortIndicator(m_sortColumn,
            m_resultsModel->SortDirection(m_sortColumn) > 0 ? Qt::DescendingOrder
                                                            : Qt::AscendingOrder);
}

void CMainDialog::FitBoundLists()
{
    // The open lists of the bounds show their longest entry whole ("1/10000", not a cut
    // "1/1000") in the expanded window; the template's lists keep their own width.
    for (QComboBox* list : { m_apertureMinCombo, m_apertureMaxCombo, m_shutterMinCombo,
             m_shutterMaxCombo, m_isoMinCombo, m_isoMaxCombo }) {
        QAbstractItemView* view = list->view();
        view->setMinimumWidth(IsExpanded() ? view->sizeHintForColumn(0)
                    + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth()
                                           : 0);
    }
}
