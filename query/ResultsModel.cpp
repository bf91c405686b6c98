// SPDX-License-Identifier: MIT
#include "query/ResultsModel.h"

#include <QBrush>
#include <QColor>
#include <QFile>
#include <QString>
#include <algorithm>
#include <utility>

#include "query/ExifText.h"
#include "query/ListSort.h"

namespace {
Qt::Alignment ColumnAlignment(int column)
{
    const Qt::Alignment horizontal
        = ResultColumnTable()[column].centred ? Qt::AlignHCenter : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter;
}

// Even positions (the first row included) are the lighter stripe.
QColor RowShade(int row)
{
    return row % 2 == 0 ? QColor(248, 248, 248) : QColor(240, 240, 240);
}
} // namespace

ResultsModel::ResultsModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    ResetSortDirections();
}

int ResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_shownColumns;
}

QVariant ResultsModel::data(const QModelIndex& index, int role) const
{
    const ListRow* row = index.isValid() ? RowAt(index.row()) : nullptr;
    if (!row || index.column() < 0 || index.column() >= m_shownColumns)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const std::string text = CellText(*row, index.column());
        switch (ResultColumnTable()[index.column()].encoding) {
        case CellEncoding::FileName:
            return QFile::decodeName(QByteArray::fromStdString(text));
        case CellEncoding::ExifText:
            return ExifTextToQString(text);
        case CellEncoding::Latin1:
            break;
        }
        if (index.column() == Focal35Column && row->focal35 == 0 && row->extras.focal35 > 0)
            return QStringLiteral("\u2248") + QString::fromStdString(text);
        return QString::fromStdString(text);
    }
    case Qt::ToolTipRole:
        // Where the expanded window's lens, ISO speed and 35 mm focal length come from.
        if (index.column() == LensColumn)
            return QString::fromLatin1(LensSourceText(row->extras.lensSource));
        if (index.column() == IsoColumn && m_shownColumns > kTemplateColumnCount)
            return QString::fromLatin1(IsoSourceText(row->extras.isoSource));
        if (index.column() != Focal35Column || row->focal35 != 0)
            return {};
        switch (row->extras.focal35Source) {
        case Focal35Source::CameraRatio:
            return QStringLiteral("Worked out from this camera's photos that give both focal "
                                  "lengths");
        case Focal35Source::FocalPlane:
            return QStringLiteral("Worked out from the size of the camera's sensor");
        default:
            return {};
        }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ColumnAlignment(index.column()));
    case Qt::BackgroundRole:
        return QBrush(RowShade(index.row()));
    default:
        return {};
    }
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_shownColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromLatin1(ResultColumnTable()[section].heading);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ColumnAlignment(section));
    default:
        return {};
    }
}

void ResultsModel::SetRows(std::vector<ListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    const bool expanded = m_shownColumns > kTemplateColumnCount;
    for (ListRow& row : m_rows)
        row.expandedView = expanded;
    endResetModel();
}

void ResultsModel::Clear()
{
    SetRows({});
}

const ListRow* ResultsModel::RowAt(int row) const
{
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size())
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

void ResultsModel::SortByColumn(int column)
{
    if (column < 0 || column >= kResultColumnCount)
        return;
    if (!m_rows.empty()) {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const std::vector<int> order = SortOrder(m_rows, column, m_sortDirection[column]);
        std::vector<ListRow> sorted;
        sorted.reserve(m_rows.size());
        std::vector<int> newPosition(m_rows.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            const auto from = static_cast<std::size_t>(order[i]);
            sorted.push_back(std::move(m_rows[from]));
            newPosition[from] = static_cast<int>(i);
        }
        m_rows = std::move(sorted);
        // Selections and the current item follow their rows.
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& index : before)
            after.push_back(index.isValid() ? createIndex(
                                newPosition[static_cast<std::size_t>(index.row())], index.column())
                                            : QModelIndex());
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
    m_sortDirection[column] = -m_sortDirection[column];
}

void ResultsModel::SortAgain(int column)
{
    if (column < 0 || column >= kResultColumnCount)
        return;
    m_sortDirection[column] = -m_sortDirection[column];
    SortByColumn(column);
}

std::int32_t ResultsModel::SortDirection(int column) const
{
    return column >= 0 && column < kResultColumnCount ? m_sortDirection[column] : 1;
}

void ResultsModel::ResetSortDirections()
{
    for (std::int32_t& direction : m_sortDirection)
        direction = 1;
}

void ResultsModel::SetShownColumns(int count)
{
    count = std::clamp(count, 1, kResultColumnCount);
    if ((count > kTemplateColumnCount) != (m_shownColumns > kTemplateColumnCount)
        && !m_rows.empty()) {
        for (ListRow& row : m_rows)
            row.expandedView = count > kTemplateColumnCount;
        emit dataChanged(index(0, IsoColumn), index(rowCount() - 1, IsoColumn));
    }
    if (count > m_shownColumns) {
        beginInsertColumns({}, m_shownColumns, count - 1);
        m_shownColumns = count;
        endInsertColumns();
    } else if (count < m_shownColumns) {
        beginRemoveColumns({}, count, m_shownColumns - 1);
        m_shownColumns = count;
        endRemoveColumns();
    }
}
