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
#include "catalogue/QuantityText.h"
#include "chart/CChartStatic.h"
#include "chart/ChartBins.h"
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
    FillSelectorPair(m_isoMinCombo, m_isoMaxCombo, selectors.lists[Iso]);
    FillSelectorPair(m_apertureMinCombo, m_apertureMaxCombo, selectors.lists[Aperture]);
    FillSelectorPair(m_shutterMinCombo, m_shutterMaxCombo, selectors.lists[ShutterSpeed]);
    const WholeNumberFill& focal = selectors.texts[FocalLength];
    m_focalMinSpin->SetRange(focal.rangeLow, focal.rangeHigh);
    m_focalMaxSpin->SetRange(focal.rangeLow, focal.rangeHigh);
    m_queryButton->setEnabled(selectors.queryEnabled);
    m_focalMaxEdit->setText(QString::fromStdString(focal.upperText));
    m_focalMinEdit->setText(QString::fromStdString(focal.lowerText));
    m_panel->Fill(m_catalogue);
    FitBoundLists();
}

void CMainDialog::OnQuery()
{
    QueryBounds bounds;
    bounds[Aperture]
        = ListSelection(m_apertureMinCombo->currentIndex(), m_apertureMaxCombo->currentIndex());
    bounds[Iso] = ListSelection(m_isoMinCombo->currentIndex(), m_isoMaxCombo->currentIndex());
    bounds[ShutterSpeed]
        = ListSelection(m_shutterMinCombo->currentIndex(), m_shutterMaxCombo->currentIndex());
    bounds[FocalLength]
        = { -1, -1, m_focalMinEdit->text().toStdString(), m_focalMaxEdit->text().toStdString() };

    // The panel's filters and bounds apply while the window is expanded.
    if (IsExpanded())
        m_panel->ReadBounds(bounds);
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
    const bool expanded = IsExpanded();
    const std::vector<ShowEntry> entries = ShowEntries(expanded);
    const int shown = m_showCombo->currentIndex();
    const ShowEntry& entry
        = entries[shown >= 0 && shown < static_cast<int>(entries.size()) ? shown : 0];
    if (expanded) {
        ShowExpandedChart(entry);
        return;
    }
    const std::vector<ListRow>& rows = m_resultsModel->Rows();
    if (entry.nameKind != ChartNameKind::None) {
        // One bar per name.
        const bool lens = entry.nameKind == ChartNameKind::Lens;
        std::vector<InternedName> names;
        names.reserve(rows.size());
        for (const ListRow& row : rows)
            names.push_back(lens ? ExpandedLens(row) : row.camera);
        m_chart->SetBins(BinNames(entry.nameKind, names));
        return;
    }
    std::vector<double> values;
    values.reserve(rows.size());
    for (const ListRow& row : rows)
        values.push_back(QuantityValue(row, entry.quantity, expanded));
    m_chart->SetData(entry.quantity, values);
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
