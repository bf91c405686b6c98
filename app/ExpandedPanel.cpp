// SPDX-License-Identifier: MIT
#include "app/ExpandedPanel.h"

#include "app/ChartSettings.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStringDecoder>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kCountColumnWidth = 52;

// EXIF texts are meant to be ASCII, but older cameras write Latin-1.
QString NameText(const std::string& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
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
    m_cameraList = MakeList(this, QStringLiteral("Cameras"));
    m_lensList = MakeList(this, QStringLiteral("Lenses"));
    m_takenFrom = new QDateEdit(this);
    m_takenTo = new QDateEdit(this);
    for (QDateEdit* box : { m_takenFrom, m_takenTo }) {
        box->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        box->setCalendarPopup(true);
    }
    m_withoutValuePasses
        = new QCheckBox(QStringLiteral("Photos without a value pass the bounds you set"), this);
    m_withoutValuePasses->setChecked(true);
    m_readLine = new QLabel(this);
    m_readLine->setWordWrap(true);

    m_chartSettings = new ChartSettings(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 8, 8);
    layout->setSpacing(4);
    layout->addWidget(m_chartSettings);
    layout->addWidget(Heading(QStringLiteral("&Cameras"), m_cameraList, this));
    layout->addWidget(m_cameraList, 2);
    layout->addWidget(Heading(QStringLiteral("&Lenses"), m_lensList, this));
    layout->addWidget(m_lensList, 3);
    layout->addWidget(Heading(QStringLiteral("&Taken"), m_takenFrom, this));
    auto* days = new QHBoxLayout;
    days->addWidget(m_takenFrom, 1);
    days->addWidget(new QLabel(QStringLiteral("to"), this));
    days->addWidget(m_takenTo, 1);
    layout->addLayout(days);
    auto* rule = m_withoutValuePasses;
    rule->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    layout->addWidget(rule);
    layout->addWidget(m_readLine);
    // Tab order: cameras, lenses, from, to, the rule.
    setTabOrder(m_cameraList, m_lensList);
    setTabOrder(m_lensList, m_takenFrom);
    setTabOrder(m_takenFrom, m_takenTo);
    setTabOrder(m_takenTo, m_withoutValuePasses);

    for (QTreeWidget* list : { m_cameraList, m_lensList }) {
        connect(list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem*, int column) {
            if (!m_filling && column == 0)
                m_boxToggled = true;
        });
        connect(list, &QTreeWidget::itemClicked, this,
            [this, list](QTreeWidgetItem* item, int) { OnLineClicked(list, item); });
        // Space toggles the box without a click: nothing is to be taken back.
        connect(list, &QTreeWidget::itemPressed, this, [this] { m_boxToggled = false; });
    }
}

void ExpandedPanel::FillList(QTreeWidget* list, const std::vector<NameLine>& lines, bool lenses)
{
    list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(lines.size()));
    for (const NameLine& line : lines) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, NameText(lenses ? LensLineText(line.name) : CameraLineText(line.name)));
        item->setToolTip(0, item->text(0));
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
    for (QDateEdit* box : { m_takenFrom, m_takenTo }) {
        box->setEnabled(dated);
        if (dated)
            box->setDateRange(DateOfDay(fill.firstDay), DateOfDay(fill.lastDay));
    }
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
    m_readLine->setText(
        QStringLiteral("%1 photos read, %2 files skipped").arg(catalogue.recordCount).arg(skipped));
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
    return filters;
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
    m_filling = true;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* line = list->topLevelItem(i);
        line->setCheckState(0, line == item ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

void ExpandedPanel::ChooseLenses(const std::vector<InternedName>& lenses)
{
    m_filling = true;
    for (int i = 0; i < m_lensList->topLevelItemCount(); ++i) {
        const bool chosen = static_cast<std::size_t>(i) < m_lenses.size()
            && std::find(lenses.begin(), lenses.end(), m_lenses[static_cast<std::size_t>(i)])
                != lenses.end();
        m_lensList->topLevelItem(i)->setCheckState(0, chosen ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
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
