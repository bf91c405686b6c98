// SPDX-License-Identifier: MIT
#include "app/ExpandedPanel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <tuple>

#include "catalogue/QuantityText.h"

#include "query/ExifText.h"

namespace {
constexpr int kCountColumnWidth = 52;

// value bounded by most, but never below least.
int Capped(int value, int least, int most)
{
    return std::max(least, std::min(value, most));
}

QDate DateOfDay(int day)
{
    return QDate(day / 10000, day / 100 % 100, day % 100);
}

int DayOfDate(const QDate& date)
{
    return date.year() * 10000 + date.month() * 100 + date.day();
}

QTreeWidget* MakeList(QWidget* parent, const QString& name)
{
    auto* list = new QTreeWidget(parent);
    list->setAccessibleName(name);
    list->setColumnCount(2);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    list->header()->resizeSection(1, kCountColumnWidth);
    return list;
}

QLineEdit* MakeFilter(QWidget* parent, const QString& name)
{
    auto* filter = new QLineEdit(parent);
    filter->setAccessibleName(name);
    filter->setPlaceholderText(QStringLiteral("Filter"));
    filter->setClearButtonEnabled(true);
    return filter;
}

QToolButton* MakeToolButton(QWidget* parent, const QString& text, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(tip);
    return button;
}

// Milliseconds for the type-ahead's pauses.
const QElapsedTimer& TypingClock()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock;
}

QLabel* Heading(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}
} // namespace

ExpandedPanel::ExpandedPanel(QWidget* parent)
    : QWidget(parent)
{
    m_openFolderButton = new QPushButton(QStringLiteral("Open &Folder..."), this);
    m_openFolderButton->setAutoDefault(false);
    m_cameraList = MakeList(this, QStringLiteral("Cameras"));
    m_lensList = MakeList(this, QStringLiteral("Lenses"));
    m_cameraFilter = MakeFilter(this, QStringLiteral("Filter cameras"));
    m_lensFilter = MakeFilter(this, QStringLiteral("Filter lenses"));
    m_cameraAll
        = MakeToolButton(this, QStringLiteral("All"), QStringLiteral("Check every camera shown"));
    m_cameraNone = MakeToolButton(
        this, QStringLiteral("None"), QStringLiteral("Uncheck every camera shown"));
    m_lensAll
        = MakeToolButton(this, QStringLiteral("All"), QStringLiteral("Check every lens shown"));
    m_lensNone
        = MakeToolButton(this, QStringLiteral("None"), QStringLiteral("Uncheck every lens shown"));
    m_takenFrom = new QDateEdit(this);
    m_takenTo = new QDateEdit(this);
    for (QDateEdit* box : { m_takenFrom, m_takenTo }) {
        box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        box->setCalendarPopup(true);
        box->findChild<QLineEdit*>()->installEventFilter(this);
    }
    m_withoutValuePasses
        = new QCheckBox(QStringLiteral("Photos without a value pass the bounds you set"), this);
    m_withoutValuePasses->setChecked(true);
    auto* without = new QGroupBox(QStringLiteral("Only photos &without"), this);
    auto* withoutGrid = new QGridLayout(without);
    withoutGrid->setContentsMargins(6, 2, 6, 4);
    withoutGrid->setSpacing(2);
    for (int k = 0; k <= kQuantityCount; ++k) {
        if (k == FileSize)
            continue;
        const QString name = k == kQuantityCount ? QStringLiteral("Lens")
                                                 : QString::fromLatin1(QuantityTable()[k].showText);
        auto* check = new QCheckBox(name, without);
        check->setToolTip(
            QStringLiteral("Only photos that do not give their %1").arg(name.toLower()));
        const int at = static_cast<int>(m_onlyWithout.size());
        withoutGrid->addWidget(check, at / 3, at % 3);
        m_onlyWithout.push_back(check);
    }
    m_readLine = new QLabel(this);
    m_readLine->setWordWrap(true);
    m_filesNotReadButton = new QPushButton(QStringLiteral("Files &Not Read..."), this);
    m_filesNotReadButton->setAutoDefault(false);
    m_filesNotReadButton->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 8, 8);
    layout->setSpacing(4);
    auto* top = new QHBoxLayout;
    top->addWidget(m_openFolderButton);
    top->addStretch(1);
    layout->addLayout(top);
    const std::tuple<QString, QTreeWidget*, QLineEdit*, QToolButton*, QToolButton*, int> lists[] = {
        { QStringLiteral("&Cameras"), m_cameraList, m_cameraFilter, m_cameraAll, m_cameraNone, 2 },
        { QStringLiteral("&Lenses"), m_lensList, m_lensFilter, m_lensAll, m_lensNone, 3 }
    };
    for (const auto& [heading, list, filter, all, none, stretch] : lists) {
        auto* row = new QHBoxLayout;
        row->addWidget(Heading(heading, list, this));
        row->addWidget(filter, 1);
        row->addWidget(all);
        row->addWidget(none);
        layout->addLayout(row);
        layout->addWidget(list, stretch);
    }
    layout->addWidget(Heading(QStringLiteral("&Taken"), m_takenFrom, this));
    auto* days = new QHBoxLayout;
    days->addWidget(m_takenFrom, 1);
    days->addWidget(new QLabel(QStringLiteral("to"), this));
    days->addWidget(m_takenTo, 1);
    layout->addLayout(days);
    auto* rule = m_withoutValuePasses;
    rule->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    layout->addWidget(rule);
    layout->addWidget(without);
    auto* readRow = new QHBoxLayout;
    readRow->addWidget(m_readLine, 1);
    readRow->addWidget(m_filesNotReadButton, 0, Qt::AlignTop);
    layout->addLayout(readRow);
    // Tab order: Open Folder; each list's filter, All, None and the list; from, to; the
    // rules.
    QWidget* order[] = { m_openFolderButton, m_cameraFilter, m_cameraAll, m_cameraNone,
        m_cameraList, m_lensFilter, m_lensAll, m_lensNone, m_lensList, m_takenFrom, m_takenTo,
        m_withoutValuePasses };
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    QWidget* previous = m_withoutValuePasses;
    for (QCheckBox* check : m_onlyWithout)
        setTabOrder(previous, check), previous = check;
    setTabOrder(previous, m_filesNotReadButton);

    m_lineMenu = new QMenu(this);
    for (const auto& [heading, list, filter, all, none, stretch] : lists) {
        connect(list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem*, int column) {
            if (!m_filling && column == 0)
                m_boxToggled = true;
        });
        connect(list, &QTreeWidget::itemClicked, this,
            [this, list = list](QTreeWidgetItem* item, int) { OnLineClicked(list, item); });
        // Space toggles the box without a click: nothing is to be taken back.
        connect(list, &QTreeWidget::itemPressed, this, [this] { m_boxToggled = false; });
        connect(all, &QToolButton::clicked, this, [this, list = list] { CheckShown(list, true); });
        connect(
            none, &QToolButton::clicked, this, [this, list = list] { CheckShown(list, false); });
        connect(filter, &QLineEdit::textChanged, this,
            [this, list = list](const QString& text) { ShowLinesHolding(list, text); });
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QTreeWidget::customContextMenuRequested, this,
            [this, list = list](const QPoint& at) { OnLineMenu(list, at); });
        list->installEventFilter(this);
    }
}

bool ExpandedPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        // A click in a date box selects the part under the pointer, as a double click
        // does, so that digits typed next replace it.
        for (QDateEdit* box : { m_takenFrom, m_takenTo })
            if (watched == box->findChild<QLineEdit*>())
                QMetaObject::invokeMethod(
                    box, [box] { box->setSelectedSection(box->currentSection()); },
                    Qt::QueuedConnection);
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    auto* list = qobject_cast<QTreeWidget*>(watched);
    if (list) {
        // Letters typed in a row find a line by its name; a space among them is part of
        // the name ("Sony CY"), never a toggle of the box.
        const QString text = key->text();
        const bool printable = !text.isEmpty() && text.at(0).isPrint()
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        const qint64 now = TypingClock().elapsed();
        const bool typing
            = m_typedAt >= 0 && now - m_typedAt < QApplication::keyboardInputInterval();
        if (printable && (key->key() != Qt::Key_Space || typing)) {
            m_typedAt = now;
            list->keyboardSearch(text);
            return true;
        }
        m_typedAt = -1;
        return QWidget::eventFilter(watched, event);
    }
    return QWidget::eventFilter(watched, event);
}

void ExpandedPanel::CheckShown(QTreeWidget* list, bool checked)
{
    m_filling = true;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* line = list->topLevelItem(i);
        if (!line->isHidden())
            line->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

void ExpandedPanel::CheckOnly(QTreeWidget* list, QTreeWidgetItem* only)
{
    m_filling = true;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* line = list->topLevelItem(i);
        line->setCheckState(0, line == only ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

void ExpandedPanel::ShowLinesHolding(QTreeWidget* list, const QString& text)
{
    const QString wanted = text.trimmed();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* line = list->topLevelItem(i);
        line->setHidden(!line->text(0).contains(wanted, Qt::CaseInsensitive));
    }
}

void ExpandedPanel::OnLineMenu(QTreeWidget* list, const QPoint& at)
{
    QTreeWidgetItem* line = list->itemAt(at);
    m_lineMenu->clear();
    QAction* only = m_lineMenu->addAction(QStringLiteral("&Only This"));
    only->setEnabled(line != nullptr);
    connect(only, &QAction::triggered, this, [this, list, line] { CheckOnly(list, line); });
    connect(m_lineMenu->addAction(QStringLiteral("&All")), &QAction::triggered, this,
        [this, list] { CheckShown(list, true); });
    connect(m_lineMenu->addAction(QStringLiteral("&None")), &QAction::triggered, this,
        [this, list] { CheckShown(list, false); });
    m_lineMenu->popup(list->viewport()->mapToGlobal(at));
}

void ExpandedPanel::FillList(QTreeWidget* list, const std::vector<NameLine>& lines, bool lenses)
{
    list->clear();
    // Box, name, a gap, the count column, the list's frame and scroll bar, the margins.
    const int around = list->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 16
        + kCountColumnWidth + 4 + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 14;
    const QFontMetrics metrics = list->fontMetrics();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(lines.size()));
    for (const NameLine& line : lines) {
        auto* item = new QTreeWidgetItem;
        item->setText(
            0, ExifTextToQString(lenses ? LensLineText(line.name) : CameraLineText(line.name)));
        item->setToolTip(0, item->text(0));
        m_namesWidth = std::max(m_namesWidth, metrics.horizontalAdvance(item->text(0)) + around);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        item->setText(1, QString::number(line.count));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        items.push_back(item);
    }
    list->addTopLevelItems(items);
    if (!items.isEmpty())
        list->setCurrentItem(items.front(), 0, QItemSelectionModel::NoUpdate);
}

void ExpandedPanel::Fill(const PhotoCatalogue& catalogue)
{
    const PanelFill fill = FillPanel(catalogue);
    m_filling = true;
    m_namesWidth = 0;
    FillList(m_cameraList, fill.cameras, false);
    FillList(m_lensList, fill.lenses, true);
    m_filling = false;
    m_cameras.clear();
    for (const NameLine& line : fill.cameras)
        m_cameras.push_back(line.name);
    m_lenses.clear();
    for (const NameLine& line : fill.lenses)
        m_lenses.push_back(line.name);

    m_firstDay = fill.firstDay;
    m_lastDay = fill.lastDay;
    const bool dated = fill.firstDay != 0;
    // No range: a date typed digit by digit passes through days outside the catalogue's.
    for (QDateEdit* box : { m_takenFrom, m_takenTo })
        box->setEnabled(dated);
    if (dated) {
        m_takenFrom->setDate(DateOfDay(fill.firstDay));
        m_takenTo->setDate(DateOfDay(fill.lastDay));
    }

    int skipped = 0;
    QStringList reasons;
    for (int reason = 0; reason < kSkipReasonCount; ++reason) {
        skipped += catalogue.skipped[reason];
        if (catalogue.skipped[reason] > 0)
            reasons << QStringLiteral("%1 %2")
                           .arg(catalogue.skipped[reason])
                           .arg(QString::fromLatin1(kSkipReasonTexts[reason]));
    }
    QString read = QStringLiteral("%1 photos read, %2 files skipped")
                       .arg(catalogue.recordCount)
                       .arg(skipped);
    if (catalogue.otherKinds > 0)
        read += QStringLiteral(", %1 files of other kinds").arg(catalogue.otherKinds);
    m_readLine->setText(read);
    m_filesNotReadButton->setEnabled(!catalogue.skippedFiles.empty());
    m_readLine->setToolTip(reasons.isEmpty() ? QStringLiteral("No file skipped")
                                             : QStringLiteral("Skipped: ") + reasons.join(", "));
}

PanelFilters ExpandedPanel::Filters() const
{
    PanelFilters filters;
    filters.cameras = m_cameras;
    filters.lenses = m_lenses;
    for (int i = 0; i < m_cameraList->topLevelItemCount(); ++i)
        filters.camerasChosen.push_back(
            m_cameraList->topLevelItem(i)->checkState(0) == Qt::Checked);
    for (int i = 0; i < m_lensList->topLevelItemCount(); ++i)
        filters.lensesChosen.push_back(m_lensList->topLevelItem(i)->checkState(0) == Qt::Checked);
    filters.firstDay = m_firstDay;
    filters.lastDay = m_lastDay;
    if (m_firstDay != 0) {
        filters.fromDay = DayOfDate(m_takenFrom->date());
        filters.toDay = DayOfDate(m_takenTo->date());
    }
    filters.withoutValuePasses = m_withoutValuePasses->isChecked();
    std::size_t check = 0;
    for (int k = 0; k < kQuantityCount; ++k)
        if (k != FileSize)
            filters.onlyWithout[k] = m_onlyWithout[check++]->isChecked();
    filters.onlyWithoutLens = m_onlyWithout[check]->isChecked();
    return filters;
}

void ExpandedPanel::ReadBounds(QueryBounds& /*bounds*/) const
{
    // No quantity is bounded in the panel alone yet.
}

void ExpandedPanel::ShowCounts(const PanelCounts& counts)
{
    const std::pair<QTreeWidget*, const std::vector<int>*> lists[]
        = { { m_cameraList, &counts.cameras }, { m_lensList, &counts.lenses } };
    m_filling = true;
    for (const auto& [list, numbers] : lists) {
        const int n = std::min(list->topLevelItemCount(), static_cast<int>(numbers->size()));
        for (int i = 0; i < n; ++i)
            list->topLevelItem(i)->setText(
                1, QString::number((*numbers)[static_cast<std::size_t>(i)]));
    }
    m_filling = false;
}

void ExpandedPanel::OnLineClicked(QTreeWidget* list, QTreeWidgetItem* item)
{
    if (m_boxToggled) {
        m_boxToggled = false;
        return;
    }
    CheckOnly(list, item);
}

QSize ExpandedStartSize(const ExpandedStart& start)
{
    const int listNeeded = start.headerHeight + kExpandedListRows * start.rowHeight + 4;
    // The list takes two thirds of the height beyond the template's (LayoutExpanded).
    const int extraHeight = (std::max(0, listNeeded - start.list.height()) * 3 + 1) / 2;
    const int leftWidth = start.templateSize.width() + start.columnsWidth;
    // A third of the whole window is half of what stands left of the panel.
    const int panel = std::max(kPanelMinWidth, std::min(start.namesWidth, leftWidth / 2));
    const QSize least = start.templateSize + QSize(kPanelMinWidth, 0);
    return QSize(Capped(leftWidth + panel, least.width(), start.available.width()),
        Capped(
            start.templateSize.height() + extraHeight, least.height(), start.available.height()));
}

ExpandedLayout LayoutExpanded(const QSize& templateSize, const QRect& chart, const QRect& list,
    int panelWidth, const QSize& client)
{
    const int extraWidth = std::max(0, client.width() - panelWidth - templateSize.width());
    const int extraHeight = std::max(0, client.height() - templateSize.height());
    // The chart takes a third of the extra height, the list the rest: more rows to read.
    const int chartExtra = extraHeight / 3;
    ExpandedLayout layout;
    layout.chart = chart.adjusted(0, 0, extraWidth, chartExtra);
    layout.list = list.adjusted(0, chartExtra, extraWidth, extraHeight);
    layout.panel = QRect(templateSize.width() + extraWidth, 0, panelWidth,
        std::max(client.height(), templateSize.height()));
    return layout;
}
