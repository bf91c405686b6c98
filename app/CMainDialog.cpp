// SPDX-License-Identifier: MIT
#include "app/CMainDialog.h"

#include "app/CAboutDlg.h"
#include "app/ControlIds.h"
#include "app/MainDialogTemplate.h"
#include "app/ProgramIcon.h"
#include "capture/ImageExport.h"
#include "catalogue/QuantityText.h"
#include "chart/CChartStatic.h"
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
    , m_hIcon(ProgramIcon())
{
    const DialogTemplate& dialogTemplate = MainDialogTemplate();
    const std::vector<QWidget*> widgets = BuildDialog(*this, dialogTemplate);
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const int id = dialogTemplate.items[i].id;
        if (id != -1)
            m_items.insert(id, widgets[i]);
        else if (dialogTemplate.items[i].kind == DialogItemKind::Icon)
            m_iconItem = widgets[i];
    }
    // The chart takes the place and stacking of its frame in the template.
    auto* chartFrame = m_items.value(IdChart);
    auto* chart = new CChartStatic(this);
    chart->setGeometry(chartFrame->geometry());
    chart->stackUnder(chartFrame);
    delete chartFrame;
    m_items.insert(IdChart, chart);
    // The gradient covers the whole client area, so Qt need not fill it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    DoDataExchange();
    ConnectHandlers();
    OnInitDialog();
}

CMainDialog::~CMainDialog() = default;

QWidget* CMainDialog::GetDlgItem(int id) const
{
    return m_items.value(id, nullptr);
}

void CMainDialog::DoDataExchange()
{
    m_linkLabel = static_cast<CTransparentStatic*>(GetDlgItem(IdLink));
    m_matchesLabel = static_cast<CTransparentStatic*>(GetDlgItem(IdMatches));
    m_chart = static_cast<CChartStatic*>(GetDlgItem(IdChart));
    m_showCombo = static_cast<QComboBox*>(GetDlgItem(IdShow));
    m_focalMinSpin = static_cast<UpDownControl*>(GetDlgItem(IdFocalMinSpin));
    m_focalMaxSpin = static_cast<UpDownControl*>(GetDlgItem(IdFocalMaxSpin));
    m_resultsList = static_cast<QTableView*>(GetDlgItem(IdResultsList));
    m_apertureMinCombo = static_cast<QComboBox*>(GetDlgItem(IdApertureMin));
    m_apertureMaxCombo = static_cast<QComboBox*>(GetDlgItem(IdApertureMax));
    m_shutterMinCombo = static_cast<QComboBox*>(GetDlgItem(IdShutterMin));
    m_shutterMaxCombo = static_cast<QComboBox*>(GetDlgItem(IdShutterMax));
    m_isoMinCombo = static_cast<QComboBox*>(GetDlgItem(IdIsoMin));
    m_isoMaxCombo = static_cast<QComboBox*>(GetDlgItem(IdIsoMax));

    m_resultsModel = new ResultsModel(this);
    m_resultsList->setModel(m_resultsModel);
}

void CMainDialog::UpdateData(bool saveAndValidate)
{
    auto* focalMaxEdit = static_cast<QLineEdit*>(GetDlgItem(IdFocalMaxEdit));
    auto* focalMinEdit = static_cast<QLineEdit*>(GetDlgItem(IdFocalMinEdit));
    if (saveAndValidate) {
        m_focalMaxText = focalMaxEdit->text();
        m_focalMinText = focalMinEdit->text();
        m_matchesText = m_matchesLabel->text();
    } else {
        focalMaxEdit->setText(m_focalMaxText);
        focalMinEdit->setText(m_focalMinText);
        m_matchesLabel->setText(m_matchesText);
    }
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
    connect(aboutShortcut, &QShortcut::activated, this, [this] { OnSysCommand(IDM_ABOUTBOX); });

    connect(static_cast<QPushButton*>(GetDlgItem(IdOpen)), &QPushButton::clicked, this,
        &CMainDialog::OnOpen);
    connect(static_cast<QPushButton*>(GetDlgItem(IdQuery)), &QPushButton::clicked, this,
        &CMainDialog::OnQuery);
    // activated: a choice of the user's, not a selection made by the program.
    connect(m_showCombo, &QComboBox::activated, this, &CMainDialog::OnSelchangeShow);
    connect(m_resultsList->horizontalHeader(), &QHeaderView::sectionClicked, this,
        &CMainDialog::OnHeaderItemClick);
    connect(m_resultsList, &QTableView::doubleClicked, this, &CMainDialog::OnListDblClk);
    connect(static_cast<QPushButton*>(GetDlgItem(IdScreenshot)), &QPushButton::clicked, this,
        &CMainDialog::OnScreenshot);

    m_listMenu = new QMenu(QStringLiteral("_LIST_"), this);
    QAction* openAction = m_listMenu->addAction(QStringLiteral("Open"));
    openAction->setData(IdMenuOpenPhoto);
    QAction* exportAction = m_listMenu->addAction(QStringLiteral("Export to CSV"));
    exportAction->setData(IdMenuExportCsv);
    connect(openAction, &QAction::triggered, this, &CMainDialog::OnOpenPhoto);
    connect(exportAction, &QAction::triggered, this, &CMainDialog::OnExportCsv);
    m_resultsList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(
        m_resultsList, &QTableView::customContextMenuRequested, this, &CMainDialog::OnListRClick);

    connect(static_cast<QPushButton*>(GetDlgItem(IdCancel)), &QPushButton::clicked, this,
        &QDialog::reject);
}

void CMainDialog::OnInitDialog()
{
    for (int k = 0; k < kQuantityCount; ++k)
        m_showCombo->addItem(QString::fromLatin1(QuantityTable()[k].showText));
    UpdateData(false);

    const QString aboutItem = QString::fromLatin1(kAboutItem);
    if (!aboutItem.isEmpty()) {
        m_systemMenu->addSeparator();
        QAction* about = m_systemMenu->addAction(aboutItem);
        connect(about, &QAction::triggered, this, [this] { OnSysCommand(IDM_ABOUTBOX); });
    }
    m_iconItem->installEventFilter(this);

    // Files and folders dropped anywhere on the window are read; the focal edits would
    // take a file manager's drag as text, so they pass it on to the window.
    setAcceptDrops(true);
    GetDlgItem(IdFocalMinEdit)->installEventFilter(this);
    GetDlgItem(IdFocalMaxEdit)->installEventFilter(this);

    setWindowIcon(m_hIcon);
    static_cast<QLabel*>(m_iconItem)->setPixmap(ProgramIconPixmap(32));

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

    GetDlgItem(IdQuery)->setEnabled(false);
    m_showCombo->setCurrentIndex(0);
    GetDlgItem(IdScreenshot)->setEnabled(IsImageEncoderAvailable());
    m_resultsModel->ResetSortDirections();
    m_catalogue.head.reset();

    SetControlColours();
    GetDlgItem(IdCancel)->setFocus();
}

void CMainDialog::SetControlColours()
{
    // The headings and the link show through to the gradient (labels paint no
    // background) in the window-text colour; the link in blue. Every other control keeps
    // the style's colours.
    static constexpr int kHeadings[] = { IdApertureHeading, IdIsoHeading, IdShutterHeading,
        IdFocalHeading, IdMinHeading, IdMaxHeading, IdShowHeading, IdMatchesHeading, IdLink };
    const QColor windowText = palette().color(QPalette::Active, QPalette::WindowText);
    for (int id : kHeadings) {
        QWidget* label = GetDlgItem(id);
        label->setAutoFillBackground(false);
        QPalette colours = label->palette();
        colours.setColor(QPalette::WindowText, id == IdLink ? QColor(kLinkColour) : windowText);
        label->setPalette(colours);
    }
}

void CMainDialog::OnSysCommand(unsigned nID)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.exec();
    }
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
    } else if (IsBoundControl(focus)) {
        auto* query = static_cast<QPushButton*>(GetDlgItem(IdQuery));
        if (query->isEnabled())
            query->click();
    }
}

bool CMainDialog::IsBoundControl(const QWidget* widget) const
{
    static constexpr int kBoundControls[] = { IdApertureMin, IdApertureMax, IdIsoMin, IdIsoMax,
        IdShutterMin, IdShutterMax, IdFocalMinEdit, IdFocalMaxEdit };
    return widget && std::any_of(std::begin(kBoundControls), std::end(kBoundControls), [&](int id) {
        return GetDlgItem(id) == widget;
    });
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
    QDialog::keyPressEvent(event); // Escape ends the dialog like Exit
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
