// SPDX-License-Identifier: MIT
// The distribution chart control: holds the bins of the listed photos for the quantity
// shown and paints them as a bar chart. Its margins are not filled, so the parent's
// background shows around the plot.
#pragma once

#include <QWidget>

#include <vector>

#include "chart/ChartBins.h"

class QPaintEvent;

class CChartStatic : public QWidget {
    Q_OBJECT

public:
    explicit CChartStatic(QWidget* parent = nullptr);

    // values: quantity q of every listed photo, in list order (0 where the photo does
    // not give it). Bins them and repaints. No values, or none above 0, shows the empty
    // plot.
    void SetData(Quantity q, const std::vector<double>& values);

    // Stores ready-made bins and repaints.
    void SetBins(ChartBins bins);

    const ChartBins& Bins() const { return m_bins; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartBins m_bins;
};
