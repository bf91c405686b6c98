// SPDX-License-Identifier: MIT
// The distribution chart control: holds the bins of the listed photos for the quantity
// shown and paints them as a bar chart. Its margins are not filled, so the parent's
// background shows around the plot. In the expanded window it also takes a selection of
// bins (mouse, Shift+arrows) and says what they cover, and can show one small chart per
// lens instead, a click on one choosing that lens.
#pragma once

#include <QWidget>

#include <vector>

#include "chart/ChartBins.h"
#include "chart/ChartStatistics.h"

class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QPainter;

// Paints bins, or the lens charts when there are any, over client.
void PaintChartView(QPainter& painter, const QRect& client, const ChartBins& bins,
    const std::vector<LensChart>& lensCharts);

class CChartStatic : public QWidget {
    Q_OBJECT

public:
    explicit CChartStatic(QWidget* parent = nullptr);

    // values: quantity q of every listed photo, in list order (0 where the photo does
    // not give it). Bins them and repaints. No values, or none above 0, shows the empty
    // plot.
    void SetData(Quantity q, const std::vector<double>& values);

    // Stores ready-made bins, drops the lens charts and the selection, and repaints.
    void SetBins(ChartBins bins);
    // Shows one small chart per entry instead of the bins.
    void SetLensCharts(std::vector<LensChart> charts);

    const ChartBins& Bins() const { return m_bins; }
    const std::vector<LensChart>& LensChartList() const { return m_lensCharts; }

    // On: the chart takes the keyboard focus and mouse selections (the expanded window).
    // Off: it is the template's picture only, and any selection is dropped.
    void SetInteractive(bool on);

    // What the selection covers, or with none the range around the median that holds
    // 80 % of the matches; empty for lens charts and charts by name without a selection.
    QString Readout() const;

signals:
    void ReadoutChanged();
    // A click on lens chart index.
    void LensChartClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Select(int anchor, int end);
    int BinCount() const;
    int BinAt(int x) const;

    ChartBins m_bins;
    std::vector<LensChart> m_lensCharts;
    bool m_interactive = false;
    int m_anchor = -1; // the selection runs from the anchor bin to the end bin; -1: none
    int m_end = -1;
};
