// SPDX-License-Identifier: MIT
// The handlers of the window's buttons, Show list and results list: opening and
// querying photos, the chart, the list's actions and the screenshot. The work itself is
// done by the query, chart and capture layers; these only collect the controls' values
// and hand them on.
#include "app/CMainDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QModelIndex>
#include <QPoint>
#include <QPushButton>
#include <QStringList>
#include <QTableView>

#include <utility>
#include <vector>

#include "app/ExpandedPanel.h"
#include "app/ExportToCsv.h"
#include "app/PhotoOpening.h"
#include "capture/WindowImage.h"
#include "chart/CChartStatic.h"
#include "controls/CTransparentStatic.h"
#include "controls/UpDownControl.h"
#include "query/BoundSelectors.h"
#include "query/PhotoQuery.h"
#include "query/ResultsModel.h"
#include "scan/CScanProgressDlg.h"

namespace {
// Both lists of a pair hold the table's entries in table order, so that a selection
// index is an index into the value table.
void FillSelectorPair(QComboBox* lower, QComboBox* upper, const SelectorFill& fill)
{
    QStringList texts;
    texts.reserve(static_cast<int>(fill.texts.size()));
    for (const std::string& text : fill.texts)
        texts << QString::fromStdString(text);
    for (QComboBox* list : { lower, upper }) {
        list->clear();
        list->addItems(texts);
    }
    lower->setCurrentIndex(fill.lowerIndex);
    upper->setCurrentIndex(fill.upperIndex);
}
} // namespace

void CMainDialog::OnOpen()
{
    // The template's way: the progress dialog asks for the files once it is up.
    RunScan(ChoosePhotoFiles);
}

void CMainDialog::OnOpenFolder()
{
    ChooseThenScan(ChoosePhotoFolder);
}

void CMainDialog::ChooseThenScan(const ScanChooser& choose)
{
    // The chooser asks over the window itself; the scan's box comes up only for a choice,
    // and a dismissed chooser leaves the photos read before as they are.
    ScanItems items = choose(this);
    if (items.empty())
        return;
    RunScan([items = std::move(items)](QWidget*) { return items; });
}

void CMainDialog::RunScan(const ScanChooser& choose)
{
    CScanProgressDlg scan(this);
    scan.m_catalogue = &m_catalogue;
    scan.m_chooseItems = choose;
    if (scan.exec() != QDialog::Accepted)
        return;
    FillSelectorsFromCatalogue();
}

void CMainDialog::FillSelectorsFromCatalogue()
{
    const BoundSelectors selectors = FillBoundSelectors(m_catalogue);
    FillSelectorPair(m_isoMinCombo, m_isoMaxCombo, selectors.iso);
    FillSelectorPair(m_apertureMinCombo, m_apertureMaxCombo, selectors.aperture);
    FillSelectorPair(m_shutterMinCombo, m_shutterMaxCombo, selectors.shutterSpeed);
    m_focalMinSpin->SetRange(selectors.focal.rangeLow, selectors.focal.rangeHigh);
    m_focalMaxSpin->SetRange(selectors.focal.rangeLow, selectors.focal.rangeHigh);
    m_queryButton->setEnabled(selectors.queryEnabled);
    m_focalMaxEdit->setText(QString::fromStdString(selectors.focal.upperText));
    m_focalMinEdit->setText(QString::fromStdString(selectors.focal.lowerText));
    m_panel->Fill(m_catalogue);
    FitBoundLists();
}

void CMainDialog::OnQuery()
{
    QueryBounds bounds;
    bounds.apertureLower = m_apertureMinCombo->currentIndex();
    bounds.apertureUpper = m_apertureMaxCombo->currentIndex();
    bounds.isoLower = m_isoMinCombo->currentIndex();
    bounds.isoUpper = m_isoMaxCombo->currentIndex();
    bounds.shutterLower = m_shutterMinCombo->currentIndex();
    bounds.shutterUpper = m_shutterMaxCombo->currentIndex();
    bounds.focalLowerText = m_focalMinEdit->text().toStdString();
    bounds.focalUpperText = m_focalMaxEdit->text().toStdString();

    // The panel's filters apply while the window is expanded.
    const PanelFilters filters = m_panel->Filters();
    QueryResult result = RunQuery(m_catalogue, bounds, IsExpanded() ? &filters : nullptr);
    const std::string selected = IsExpanded() ? SelectedPath() : std::string();
    if (IsExpanded())
        m_panel->ShowCounts(result.counts);
    m_resultsModel->SetRows(std::move(result.rows));
    if (IsExpanded())
        KeepSortAndSelection(selected);
    OnSelchangeShow();
    m_matchesLabel->setText(QString::fromStdString(result.countText));
}

int CMainDialog::ListedRowCount() const
{
    return m_resultsModel->rowCount();
}

void CMainDialog::OnSelchangeShow()
{
    const int shown = m_showCombo->currentIndex();
    const std::vector<ListRow>& rows = m_resultsModel->Rows();
    if (shown >= kQuantityCount) {
        // The expanded window's Lens and Camera entries: one bar per name.
        const bool lens = shown == kQuantityCount;
        std::vector<InternedName> names;
        names.reserve(rows.size());
        for (const ListRow& row : rows)
            names.push_back(lens ? ExpandedLens(row) : row.camera);
        m_chart->SetBins(BinNames(lens ? ChartNameKind::Lens : ChartNameKind::Camera, names));
        return;
    }
    const Quantity quantity = static_cast<Quantity>(shown < 0 ? 0 : shown);
    std::vector<double> values;
    values.reserve(rows.size());
    for (const ListRow& row : rows)
        values.push_back(row.Value(quantity));
    m_chart->SetData(quantity, values);
}

void CMainDialog::OnHeaderItemClick(int column)
{
    m_resultsModel->SortByColumn(column);
    m_sortColumn = column;
    ShowSortIndicator();
}

void CMainDialog::OnListDblClk(const QModelIndex& index)
{
    if (index.isValid())
        OpenPhotoAt(this, *m_resultsModel, index.row());
}

void CMainDialog::OnScreenshot()
{
    SaveWindowImage(this);
}

void CMainDialog::OnOpenPhoto()
{
    OpenSelectedPhoto(this, *m_resultsModel, m_resultsList->selectionModel());
}

void CMainDialog::OnExportCsv()
{
    ExportResults(this, *m_resultsModel);
}

void CMainDialog::OnListRClick(const QPoint& position)
{
    // Anywhere in the list, on a row or not, also when the list is empty.
    m_listMenu->popup(m_resultsList->viewport()->mapToGlobal(position));
}
