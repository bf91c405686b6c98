// SPDX-License-Identifier: MIT
// The expanded window's chart settings, beside Show: how values become bins, whether the
// axis counts photos or per cents of the matches, the cumulative line, and the readout of
// what the chart's selection (or its central 80 %) covers.
#pragma once

#include <QWidget>

#include "chart/ChartBins.h"

class QCheckBox;
class QComboBox;
class QLabel;

class ChartSettings : public QWidget {
    Q_OBJECT
public:
    explicit ChartSettings(QWidget* parent = nullptr);

    ChartBinning Binning() const;
    bool PerCentAxis() const;
    bool CumulativeLine() const;

    // Enables the Bins entries the chart shown offers; a chosen entry it does not offer
    // stays chosen and bins by each value until a chart offers it again.
    void Offer(bool thirdStop, bool ranges);
    void SetReadout(const QString& text);

    QComboBox* m_bins = nullptr;
    QComboBox* m_axis = nullptr;
    QCheckBox* m_cumulative = nullptr;
    QLabel* m_readout = nullptr;

signals:
    void Changed();
};
