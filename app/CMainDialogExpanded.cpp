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

#include "app/ChartSaving.h"
#include "app/ChartSettings.h"
#include "app/ExpandedPanel.h"
#include "chart/CChartStatic.h"
#include "chart/ChartStatistics.h"
#include "query/ResultsModel.h"

namespace {
const char* const kExpandedItem = "E&xpanded Window";
// The Show entries after the quantities', in Show order.
const char* const kNameEntries[] = { "Lens", "Camera", "Focal length by lens" };
enum ExpandedEntry { LensEntry = kQuantityCount, CameraEntry, FocalByLensEntry };
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

    m_chartMenu = new QMenu(QStringLiteral("_CHART_"), m_chart);
    connect(m_chartMenu->addAction(QStringLiteral("Export statistics...")), &QAction::triggered,
        this, [this] { ExportChartStatistics(this, *m_chart); });
    connect(m_chartMenu->addAction(QStringLiteral("Save chart as PNG/SVG...")), &QAction::triggered,
        this, [this] { SaveChartPicture(this, *m_chart); });
    connect(m_chart, &QWidget::customContextMenuRequested, this, &CMainDialog::OnChartRClick);
    connect(m_chart, &CChartStatic::LensChartClicked, this, &CMainDialog::OnLensChartClicked);
    ChartSettings* settings = m_panel->m_chartSettings;
    connect(m_chart, &CChartStatic::ReadoutChanged, settings,
        [this, settings] { settings->SetReadout(m_chart->Readout()); });
    connect(settings, &ChartSettings::Changed, this, [this] {
        if (IsExpanded())
            OnSelchangeShow();
    });
}

void CMainDialog::ShowExpandedChart(int shown)
{
    ChartSettings* settings = m_panel->m_chartSettings;
    const ChartBinning binning = settings->Binning();
    const std::vector<ListRow>& rows = m_resultsModel->Rows();
    const auto withAxis = [settings](ChartBins& bins) {
        bins.perCentAxis = settings->PerCentAxis();
        bins.cumulativeLine = settings->CumulativeLine();
    };
    if (shown == LensEntry || shown == CameraEntry) {
        settings->Offer(false, false);
        const bool lens = shown == LensEntry;
        std::vector<InternedName> names;
        names.reserve(rows.size());
        for (const ListRow& row : rows)
            names.push_back(lens ? row.lens : row.camera);
        ChartBins bins = BinNames(lens ? ChartNameKind::Lens : ChartNameKind::Camera, names);
        withAxis(bins);
        m_chart->SetBins(std::move(bins));
        return;
    }
    if (shown == FocalByLensEntry) {
        settings->Offer(false, true);
        std::vector<InternedName> lenses;
        std::vector<double> values;
        lenses.reserve(rows.size());
        values.reserve(rows.size());
        for (const ListRow& row : rows) {
            lenses.push_back(row.lens);
            values.push_back(row.Value(FocalLength));
        }
        std::vector<LensChart> charts = LensCharts(FocalLength, true, binning, lenses, values);
        for (LensChart& chart : charts)
            withAxis(chart.bins);
        m_chart->SetLensCharts(std::move(charts));
        return;
    }
    const Quantity quantity = static_cast<Quantity>(shown < 0 ? 0 : shown);
    const bool focal = quantity == FocalLength;
    settings->Offer(BinningOffered(ChartBinning::ThirdStop, quantity, focal),
        BinningOffered(ChartBinning::StandardRanges, quantity, focal));
    std::vector<double> values;
    values.reserve(rows.size());
    for (const ListRow& row : rows)
        values.push_back(row.Value(quantity));
    ChartBins bins = BinValuesAs(quantity, focal, binning, values);
    withAxis(bins);
    m_chart->SetBins(std::move(bins));
}

void CMainDialog::OnChartRClick(const QPoint& position)
{
    m_chartMenu->popup(m_chart->mapToGlobal(position));
}

void CMainDialog::OnLensChartClicked(int index)
{
    const std::vector<LensChart>& charts = m_chart->LensChartList();
    if (index < 0 || static_cast<std::size_t>(index) >= charts.size())
        return;
    m_panel->ChooseLenses(charts[static_cast<std::size_t>(index)].lenses);
    OnQuery();
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
        m_chart->SetInteractive(true);
        LayOutExpanded();
        OnSelchangeShow();
    } else {
        m_panel->hide();
        m_chart->SetInteractive(false);
        // A chart by name has no place in the template window: back to the first quantity.
        if (m_showCombo->currentIndex() >= kQuantityCount)
            m_showCombo->setCurrentIndex(0);
        // The template's chart: each value, counted.
        OnSelchangeShow();
        while (m_showCombo->count() > kQuantityCount)
            m_showCombo->removeItem(m_showCombo->count() - 1);
        m_resultsModel->SetShownColumns(kTemplateColumnCount);
        m_chart->setGeometry(m_templateChart);
        m_resultsList->setGeometry(m_templateList);
        setFixedSize(m_templateSize);
    }
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
