// SPDX-License-Identifier: MIT
#include "app/CMainDialog.h"

#include "app/CAboutDlg.h"
#include "app/ControlIds.h"
#include "app/ExpandedPanel.h"
#include "app/MainDialogTemplate.h"
#include "app/ProgramIcon.h"
#include "capture/ImageExport.h"
#include "chart/CChartStatic.h"
#include "chart/ChartBins.h"
#include "controls/CTransparentStatic.h"
#include "controls/DrawGradient.h"
#include "controls/UpDownControl.h"
#include "query/ResultColumns.h"
#include "query/ResultsModel.h"

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

#include <algorithm>
#include <iterator>

namespace {
constexpr QRgb kTopColour = qRgb(255, 255, 255);
constexpr QRgb kBottomColour = qRgb(239, 239, 255);
constexpr QRgb kLinkColour = qRgb(0, 0, 255);

// The window-menu item of the About command.
const char* const kAboutItem = "&About Fotolot...";
const char* const kOpenFolderItem = "Open &Folder...";

// 12 points at the screen's vertical resolution, as a character height in pixels.
int LinkFontPixelHeight(int dotsPerInchY)
{
    return dotsPerInchY * 120 / 720;
}
} // namespace

CMainDialog::CMainDialog(QWidget* parent)
    // A window of its own (its own taskbar entry), fixed in size: title, window menu,
    // minimise and close, no maximise.
    : QDialog(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    const DialogItems items(*this, MainDialogTemplate());
    DoDataExchange(items);
    // The gradient covers the whole client area, so Qt need not fill it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    ConnectHandlers();
    OnInitDialog();
}

CMainDialog::~CMainDialog() = default;

void CMainDialog::DoDataExchange(const DialogItems& items)
{
    m_linkLabel = items.Get<CTransparentStatic>(IdLink);
    m_matchesLabel = items.Get<CTransparentStatic>(IdMatches);
    // The chart takes the place and stacking of its frame in the template.
    auto* chartFrame = items.Get<QFrame>(IdChart);
    m_chart = new CChartStatic(this);
    m_chart->setGeometry(chartFrame->geometry());
    m_chart->stackUnder(chartFrame);
    delete chartFrame;
    m_showCombo = items.Get<QComboBox>(IdShow);
    m_focalMinSpin = items.Get<UpDownControl>(IdFocalMinSpin);
    m_focalMaxSpin = items.Get<UpDownControl>(IdFocalMaxSpin);
    m_resultsList = items.Get<QTableView>(IdResultsList);
    m_apertureMinCombo = items.Get<QComboBox>(IdApertureMin);
    m_apertureMaxCombo = items.Get<QComboBox>(IdApertureMax);
    m_shutterMinCombo = items.Get<QComboBox>(IdShutterMin);
    m_shutterMaxCombo = items.Get<QComboBox>(IdShutterMax);
    m_isoMinCombo = items.Get<QComboBox>(IdIsoMin);
    m_isoMaxCombo = items.Get<QComboBox>(IdIsoMax);
    m_focalMinEdit = items.Get<QLineEdit>(IdFocalMinEdit);
    m_focalMaxEdit = items.Get<QLineEdit>(IdFocalMaxEdit);
    m_openButton = items.Get<QPushButton>(IdOpen);
    m_queryButton = items.Get<QPushButton>(IdQuery);
    m_screenshotButton = items.Get<QPushButton>(IdScreenshot);
    m_exitButton = items.Get<QPushButton>(IdCancel);
    m_apertureHeading = items.Get<QLabel>(IdApertureHeading);
    m_isoHeading = items.Get<QLabel>(IdIsoHeading);
    m_shutterHeading = items.Get<QLabel>(IdShutterHeading);
    m_focalHeading = items.Get<QLabel>(IdFocalHeading);
    m_minHeading = items.Get<QLabel>(IdMinHeading);
    m_maxHeading = items.Get<QLabel>(IdMaxHeading);
    m_showHeading = items.Get<QLabel>(IdShowHeading);
    m_matchesHeading = items.Get<QLabel>(IdMatchesHeading);
    m_iconItem = items.Icon();

    m_resultsModel = new ResultsModel(this);
    m_resultsList->setModel(m_resultsModel);
}

void CMainDialog::ConnectHandlers()
{
    // In the order of the window's handler table.
    m_systemMenu = new QMenu(this);
    // The window holds the action too, so that its key works while the menu is closed.
    m_openFolderAction = new QAction(QString::fromLatin1(kOpenFolderItem), this);
    m_openFolderAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    m_openFolderAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_openFolderAction);
    m_systemMenu->addAction(m_openFolderAction);
    connect(m_openFolderAction, &QAction::triggered, this, &CMainDialog::OnOpenFolder);
    auto* aboutShortcut = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(aboutShortcut, &QShortcut::activated, this, &CMainDialog::OnAbout);

    connect(m_openButton, &QPushButton::clicked, this, &CMainDialog::OnOpen);
    connect(m_queryButton, &QPushButton::clicked, this, &CMainDialog::OnQuery);
    // activated: a choice of the user's, not a selection made by the program.
    connect(m_showCombo, &QComboBox::activated, this, &CMainDialog::OnSelchangeShow);
    connect(m_resultsList->horizontalHeader(), &QHeaderView::sectionClicked, this,
        &CMainDialog::OnHeaderItemClick);
    connect(m_resultsList, &QTableView::doubleClicked, this, &CMainDialog::OnListDblClk);
    connect(m_screenshotButton, &QPushButton::clicked, this, &CMainDialog::OnScreenshot);

    m_listMenu = new QMenu(QStringLiteral("_LIST_"), this);
    QAction* openAction = m_listMenu->addAction(QStringLiteral("Open"));
    QAction* exportAction = m_listMenu->addAction(QStringLiteral("Export to CSV"));
    connect(openAction, &QAction::triggered, this, &CMainDialog::OnOpenPhoto);
    connect(exportAction, &QAction::triggered, this, &CMainDialog::OnExportCsv);
    m_resultsList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(
        m_resultsList, &QTableView::customContextMenuRequested, this, &CMainDialog::OnListRClick);

    connect(m_exitButton, &QPushButton::clicked, this, &QDialog::reject);
    MakeExpandedWindow();
}

void CMainDialog::OnInitDialog()
{
    for (const ShowEntry& entry : ShowEntries(false))
        m_showCombo->addItem(QString::fromLatin1(entry.text));
    m_matchesLabel->clear();

    const QString aboutItem = QString::fromLatin1(kAboutItem);
    if (!aboutItem.isEmpty()) {
        m_systemMenu->addSeparator();
        QAction* about = m_systemMenu->addAction(aboutItem);
        connect(about, &QAction::triggered, this, &CMainDialog::OnAbout);
    }
    m_iconItem->installEventFilter(this);

    // Files and folders dropped anywhere on the window are read; the focal edits would
    // take a file manager's drag as text, so they pass it on to the window.
    setAcceptDrops(true);
    m_focalMinEdit->installEventFilter(this);
    m_focalMaxEdit->installEventFilter(this);

    setWindowIcon(ProgramIcon());
    m_iconItem->setPixmap(ProgramIconPixmap(32));

    m_matchesLabel->SetBold(true);
    m_linkLabel->SetBold(true);

    m_hLinkCursor = QCursor(Qt::PointingHandCursor);
    m_linkLabel->m_hCursor = m_hLinkCursor;
    m_linkLabel->m_isLink = true;

    // The link's own font replaces the bold one just given: 12-point Arial, normal weight.
    m_linkFont = QFont(QStringLiteral("Arial"));
    m_linkFont.setPixelSize(LinkFontPixelHeight(logicalDpiY()));
    m_linkFont.setWeight(QFont::Normal);
    m_linkLabel->setFont(m_linkFont);

    QHeaderView* header = m_resultsList->horizontalHeader();
    header->setMinimumSectionSize(1);
    for (int column = 0; column < m_resultsModel->ShownColumns(); ++column)
        header->resizeSection(column, ResultColumnTable()[column].width);
    m_resultsList->verticalHeader()->setMinimumSectionSize(1);
    m_resultsList->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 3);

    m_queryButton->setEnabled(false);
    m_showCombo->setCurrentIndex(0);
    m_screenshotButton->setEnabled(IsImageEncoderAvailable());
    m_resultsModel->ResetSortDirections();
    m_catalogue.head.reset();

    SetControlColours();
    m_exitButton->setFocus();
}

void CMainDialog::SetControlColours()
{
    // The headings and the link show through to the gradient (labels paint no
    // background) in the window-text colour; the link in blue. Every other control keeps
    // the style's colours.
    const QColor windowText = palette().color(QPalette::Active, QPalette::WindowText);
    for (QLabel* label :
        { m_apertureHeading, m_isoHeading, m_shutterHeading, m_focalHeading, m_minHeading,
            m_maxHeading, m_showHeading, m_matchesHeading, static_cast<QLabel*>(m_linkLabel) }) {
        label->setAutoFillBackground(false);
        QPalette colours = label->palette();
        colours.setColor(
            QPalette::WindowText, label == m_linkLabel ? QColor(kLinkColour) : windowText);
        label->setPalette(colours);
    }
}

void CMainDialog::OnAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CMainDialog::OnOK()
{
    QWidget* focus = focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focus)) {
        if (button->isEnabled())
            button->click();
    } else if (focus == m_resultsList) {
        OnOpenPhoto();
    } else if (focus == m_showCombo) {
        OnSelchangeShow();
    } else if (IsBoundControl(focus) || (m_panel->isVisible() && m_panel->isAncestorOf(focus))) {
        if (m_queryButton->isEnabled())
            m_queryButton->click();
    }
}

bool CMainDialog::IsBoundControl(const QWidget* widget) const
{
    const QWidget* bounds[] = { m_apertureMinCombo, m_apertureMaxCombo, m_isoMinCombo,
        m_isoMaxCombo, m_shutterMinCombo, m_shutterMaxCombo, m_focalMinEdit, m_focalMaxEdit };
    return widget && std::find(std::begin(bounds), std::end(bounds), widget) != std::end(bounds);
}

void CMainDialog::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawGradient(painter, rect(), kTopColour, kBottomColour, kGradientRows);
}

void CMainDialog::keyPressEvent(QKeyEvent* event)
{
    // No button is a default button, so Enter is always the window's own command. The
    // controls leave Enter to the window, a push button too when it is not a default one.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnOK();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event); // Escape ends the dialog like Exit; Space reaches no button
}

bool CMainDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_iconItem && event->type() == QEvent::MouseButtonPress) {
        m_systemMenu->popup(m_iconItem->mapToGlobal(QPoint(0, m_iconItem->height())));
        return true;
    }
    // A drag of local items is left to the window, which it reaches next: decided on
    // entering, when the window decides too; its moves and drop follow that decision.
    const bool windowDrag = event->type() == QEvent::DragEnter
        ? !DraggedItems(*static_cast<QDropEvent*>(event)).empty()
        : (event->type() == QEvent::DragMove || event->type() == QEvent::Drop) && m_dragTaken;
    if (windowDrag) {
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CMainDialog::done(int result)
{
    // Exit, Escape and the close box all end here.
    OnDestroy();
    QDialog::done(result);
}

void CMainDialog::OnDestroy()
{
    m_currentRecord = nullptr;
    ClearRecords(m_catalogue);
}
