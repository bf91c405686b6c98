// SPDX-License-Identifier: MIT
#include "chart/CChartStatic.h"

#include <QPainter>

#include <utility>

#include "chart/DrawChart.h"

CChartStatic::CChartStatic(QWidget* parent)
    : QWidget(parent)
{
}

void CChartStatic::SetData(Quantity q, const std::vector<double>& values)
{
    SetBins(BinValues(q, values));
}

void CChartStatic::SetBins(ChartBins bins)
{
    m_bins = std::move(bins);
    update();
}

void CChartStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintChart(painter, rect(), m_bins);
}
