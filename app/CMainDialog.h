// SPDX-License-Identifier: MIT
// The program's one window: the bound selectors, the results list, the chart, the match
// count and the buttons, over a gradient background. It owns the photo catalogue and
// releases its records when it closes.
#pragma once

#include <QCursor>
#include <QDialog>
#include <QFont>

#include "catalogue/PhotoCatalogue.h"
#include "scan/ScanChoice.h"

class CChartStatic;
class CTransparentStatic;
class DialogItems;
class ExpandedPanel;
class QAction;
class QDropEvent;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QPaintEvent;
class QResizeEvent;
class QPoint;
class QPushButton;
class QTableView;
class ResultsModel;
class UpDownControl;

class CMainDialog : public QDialog {
    Q_OBJECT
public:
    explicit CMainDialog(QWidget* parent = nullptr);
    ~CMainDialog() override;

    // Enter, by the control that has the focus: a push button is clicked; the results
    // list opens its selected photo; Show redraws the chart; a bound list or a focal box
    // runs the query when Query is enabled. The window never closes on Enter.
    void OnOK();

    // Fills the bound selectors, the focal texts and their ranges from the catalogue's
    // value tables and enables Query when it holds a photo (after a completed scan run).
    void FillSelectorsFromCatalogue();

    // The number of rows the results list shows.
    int ListedRowCount() const;

    // Whether the expanded window is on.
    bool IsExpanded() const;

    // Once the window is up: switches the expanded window on, and reads paths (files and
    // folders, as a drop does) when there are any. For the command line.
    void StartWith(bool expanded, const ScanItems& paths);

    // Reaches the controls as a user would: for the tests and the benchmark
    // (app/MainDialogDriver.h).
    class Driver;

public slots:
    void OnOpen();
    void OnOpenFolder();
    void OnQuery();
    void OnSelchangeShow();
    void OnHeaderItemClick(int column);
    void OnListDblClk(const QModelIndex& index);
    void OnScreenshot();
    void OnOpenPhoto();
    void OnExportCsv();
    void OnListRClick(const QPoint& position);
    // Switches the expanded window on or off.
    void OnExpandedWindow(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    // Controls, made from the window's template.
    CTransparentStatic* m_linkLabel = nullptr;
    CTransparentStatic* m_matchesLabel = nullptr;
    CChartStatic* m_chart = nullptr;
    QComboBox* m_showCombo = nullptr;
    UpDownControl* m_focalMinSpin = nullptr;
    UpDownControl* m_focalMaxSpin = nullptr;
    QTableView* m_resultsList = nullptr;
    QComboBox* m_apertureMinCombo = nullptr;
    QComboBox* m_apertureMaxCombo = nullptr;
    QComboBox* m_shutterMinCombo = nullptr;
    QComboBox* m_shutterMaxCombo = nullptr;
    QComboBox* m_isoMinCombo = nullptr;
    QComboBox* m_isoMaxCombo = nullptr;
    QLineEdit* m_focalMinEdit = nullptr;
    QLineEdit* m_focalMaxEdit = nullptr;
    QPushButton* m_openButton = nullptr;
    QPushButton* m_queryButton = nullptr;
    QPushButton* m_screenshotButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QLabel* m_apertureHeading = nullptr;
    QLabel* m_isoHeading = nullptr;
    QLabel* m_shutterHeading = nullptr;
    QLabel* m_focalHeading = nullptr;
    QLabel* m_minHeading = nullptr;
    QLabel* m_maxHeading = nullptr;
    QLabel* m_showHeading = nullptr;
    QLabel* m_matchesHeading = nullptr;
    QCursor m_hLinkCursor;
    PhotoRecord* m_currentRecord = nullptr;
    QFont m_linkFont;
    PhotoCatalogue m_catalogue;

    ResultsModel* m_resultsModel = nullptr;
    QMenu* m_systemMenu = nullptr; // opened from the program icon at the top left
    QAction* m_openFolderAction = nullptr; // in the window menu, and Ctrl+Shift+O
    QMenu* m_listMenu = nullptr; // the results list's context menu
    QAction* m_expandedAction = nullptr; // checkable, in the window menu, and Ctrl+E
    ExpandedPanel* m_panel = nullptr; // at the right of the expanded window

    // Takes the controls from the built template into their members.
    void DoDataExchange(const DialogItems& items);
    void ConnectHandlers();
    void OnAbout();
    void OnInitDialog();
    void SetControlColours();
    void OnDestroy();
    // One scan run: the progress dialog asks choose for the items, reads them and, when
    // the run completes, the selectors are filled from the new catalogue.
    void RunScan(const ScanChooser& choose);
    // Asks choose for the items over the window, and runs a scan of them when there are any.
    void ChooseThenScan(const ScanChooser& choose);
    // The local files and folders a drag offers for copying (none for any other drag).
    static ScanItems DraggedItems(const QDropEvent& event);
    // Takes a drag of local items for copying while no modal window is up, and returns
    // them; none when the drag is refused.
    ScanItems AcceptDrag(QDropEvent& event) const;

    bool IsBoundControl(const QWidget* widget) const;

    // The expanded window's action, panel and Show entries (CMainDialogExpanded.cpp).
    void MakeExpandedWindow();
    // Lays the chart, the list and the panel out over the window's current size.
    void LayOutExpanded();
    // The panel's width for wanted pixels in a window windowWidth wide.
    int ClampPanelWidth(int wanted, int windowWidth) const;
    // Widens the bound lists' open lists to their longest entry in the expanded window.
    void FitBoundLists();
    // The path of the photo selected in the list; empty when none is.
    std::string SelectedPath() const;
    // After a query in the expanded window: the rows sorted as the user last chose, the
    // photo that was selected selected again and in view.
    void KeepSortAndSelection(const std::string& selectedPath);
    // The heading's sort arrow on the column last sorted by, in the expanded window only.
    void ShowSortIndicator();
    // Runs the query again when the list shows one, so that the panel's counts are those
    // of its filters.
    void OnQueryIfListed();
    // The expanded window's largest size: what the available area of its screen holds.
    void CapToScreen();
    void OnScreenChanged();

    QSize m_templateSize; // the window as its template makes it
    QRect m_templateChart; // the chart's and the list's template places
    QRect m_templateList;
    QPoint m_templatePosition; // where the window stood when the expanded window came on
    QWidget* m_splitter = nullptr; // between the list and chart and the panel
    int m_panelWidth = 0;
    int m_sortColumn = -1; // the column the user last sorted by; -1 none
    QLabel* m_iconItem = nullptr; // the program icon at the top left
    bool m_dragTaken = false; // the drag over the window carries items to read
};
