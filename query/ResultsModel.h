// SPDX-License-Identifier: MIT
// The results list's model: one row per matching photo, six columns of texts, rows
// shaded by their current position.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "query/ListRow.h"

class ResultsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ResultsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Replaces all rows at once (one model reset).
    void SetRows(std::vector<ListRow> rows);
    void Clear();
    const std::vector<ListRow>& Rows() const { return m_rows; }
    // The row at position row, or nullptr when there is none.
    const ListRow* RowAt(int row) const;

    // A click on column's header: sorts the rows by that column in its current
    // direction (g_sortDirection) and then flips the direction, also when there are
    // no rows to sort.
    void SortByColumn(int column);

private:
    std::vector<ListRow> m_rows;
};
