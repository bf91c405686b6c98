// SPDX-License-Identifier: MIT
#include "chart/CChartStatic.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

#include "chart/ChartLayout.h"
#include "chart/DrawChart.h"

void PaintChartView(QPainter& painter, const QRect& client, const ChartBins& bins,
    const std::vector<LensChart>& lensCharts)
{
    if (lensCharts.empty()) {
        PaintChart(painter, client, bins);
        return;
    }
    const QFont font = ChartFont(painter.device()->logicalDpiY());
    const int line = MeasureChartText(font).cy;
    const std::vector<QRect> cells
        = SmallMultipleCells(client, static_cast<int>(lensCharts.size()));
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const QRect& cell = cells[i];
        painter.save();
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QString title = QString::fromStdString(lensCharts[i].title) + QStringLiteral(" (")
            + QString::fromStdString(GroupedCount(lensCharts[i].count)) + QLatin1Char(')');
        painter.drawText(QRect(cell.left() + 4, cell.top(), cell.width() - 8, line),
            Qt::AlignLeft | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(title, Qt::ElideRight, cell.width() - 8));
        painter.restore();
        PaintChart(painter, cell.adjusted(0, line, 0, 0), lensCharts[i].bins);
    }
}

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
    m_lensCharts.clear();
    m_anchor = m_end = -1;
    update();
    if (m_interactive)
        emit ReadoutChanged();
}

void CChartStatic::SetLensCharts(std::vector<LensChart> charts)
{
    m_lensCharts = std::move(charts);
    m_anchor = m_end = -1;
    update();
    if (m_interactive)
        emit ReadoutChanged();
}

void CChartStatic::SetInteractive(bool on)
{
    m_interactive = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    setContextMenuPolicy(on ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
    if (!on && m_anchor >= 0) {
        m_anchor = m_end = -1;
        update();
    }
}

QString CChartStatic::Readout() const
{
    if (!m_lensCharts.empty())
        return QString();
    if (m_anchor >= 0)
        return QString::fromStdString(SelectionText(m_bins, m_anchor, m_end));
    return QString::fromStdString(CentralRangeText(m_bins));
}

int CChartStatic::BinCount() const
{
    const std::size_t labelled
        = m_bins.nameKind != ChartNameKind::None ? m_bins.names.size() : m_bins.values.size();
    return static_cast<int>(std::min(labelled, m_bins.counts.size()));
}

int CChartStatic::BinAt(int x) const
{
    const QFont font = ChartFont(logicalDpiY());
    return BinAtColumn(LayoutChart(rect(), m_bins, MeasureChartText(font)), x);
}

void CChartStatic::Select(int anchor, int end)
{
    const int count = BinCount();
    if (count == 0)
        return;
    m_anchor = std::clamp(anchor, 0, count - 1);
    m_end = std::clamp(end, 0, count - 1);
    update();
    emit ReadoutChanged();
}

void CChartStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintChartView(painter, rect(), m_bins, m_lensCharts);
    if (m_anchor >= 0 && m_lensCharts.empty()) {
        const QFont font = ChartFont(logicalDpiY());
        const ChartLayout layout = LayoutChart(rect(), m_bins, MeasureChartText(font));
        painter.fillRect(SlotsRect(layout, m_anchor, m_end), QColor(0, 0, 160, 56));
    }
}

void CChartStatic::mousePressEvent(QMouseEvent* event)
{
    if (!m_interactive || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (!m_lensCharts.empty()) {
        const std::vector<QRect> cells
            = SmallMultipleCells(rect(), static_cast<int>(m_lensCharts.size()));
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i].contains(at))
                emit LensChartClicked(static_cast<int>(i));
        }
        return;
    }
    const int bin = BinAt(at.x());
    if (bin < 0)
        return;
    if (event->modifiers() & Qt::ShiftModifier && m_anchor >= 0)
        Select(m_anchor, bin);
    else
        Select(bin, bin);
}

void CChartStatic::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_interactive || !(event->buttons() & Qt::LeftButton) || m_anchor < 0
        || !m_lensCharts.empty()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const int bin = BinAt(event->position().toPoint().x());
    if (bin >= 0 && bin != m_end)
        Select(m_anchor, bin);
}

void CChartStatic::keyPressEvent(QKeyEvent* event)
{
    const int count = BinCount();
    if (!m_interactive || !m_lensCharts.empty() || count == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    int end = m_end;
    switch (event->key()) {
    case Qt::Key_Left:
        end = m_anchor < 0 ? 0 : m_end - 1;
        break;
    case Qt::Key_Right:
        end = m_anchor < 0 ? 0 : m_end + 1;
        break;
    case Qt::Key_Home:
        end = 0;
        break;
    case Qt::Key_End:
        end = count - 1;
        break;
    case Qt::Key_Escape:
        if (m_anchor < 0) {
            QWidget::keyPressEvent(event);
            return;
        }
        m_anchor = m_end = -1;
        update();
        emit ReadoutChanged();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    Select(shift && m_anchor >= 0 ? m_anchor : end, end);
}
