// SPDX-License-Identifier: MIT
#include "app/ChartSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QStandardItemModel>

ChartSettings::ChartSettings(QWidget* parent)
    : QWidget(parent)
{
    m_bins = new QComboBox(this);
    m_bins->addItems({ QStringLiteral("Each value"), QStringLiteral("\u2153 stop"),
        QStringLiteral("Standard ranges") });
    m_axis = new QComboBox(this);
    m_axis->addItems({ QStringLiteral("Count"), QStringLiteral("Per cent of the matches") });
    m_cumulative = new QCheckBox(QStringLiteral("C&umulative line"), this);
    m_readout = new QLabel(this);
    m_readout->setWordWrap(true);
    m_readout->setAccessibleName(QStringLiteral("Coverage"));

    auto* binsLabel = new QLabel(QStringLiteral("&Bins:"), this);
    binsLabel->setBuddy(m_bins);
    auto* axisLabel = new QLabel(QStringLiteral("A&xis:"), this);
    axisLabel->setBuddy(m_axis);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(4);
    layout->addWidget(binsLabel, 0, 0);
    layout->addWidget(m_bins, 0, 1);
    layout->addWidget(axisLabel, 1, 0);
    layout->addWidget(m_axis, 1, 1);
    layout->addWidget(m_cumulative, 2, 0, 1, 2);
    layout->addWidget(m_readout, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    setTabOrder(m_bins, m_axis);
    setTabOrder(m_axis, m_cumulative);

    connect(m_bins, &QComboBox::currentIndexChanged, this, &ChartSettings::Changed);
    connect(m_axis, &QComboBox::currentIndexChanged, this, &ChartSettings::Changed);
    connect(m_cumulative, &QCheckBox::toggled, this, &ChartSettings::Changed);
}

ChartBinning ChartSettings::Binning() const
{
    return static_cast<ChartBinning>(m_bins->currentIndex() < 0 ? 0 : m_bins->currentIndex());
}

bool ChartSettings::PerCentAxis() const
{
    return m_axis->currentIndex() == 1;
}

bool ChartSettings::CumulativeLine() const
{
    return m_cumulative->isChecked();
}

void ChartSettings::Offer(bool thirdStop, bool ranges)
{
    auto* model = qobject_cast<QStandardItemModel*>(m_bins->model());
    if (model == nullptr)
        return;
    model->item(1)->setEnabled(thirdStop);
    model->item(2)->setEnabled(ranges);
}

void ChartSettings::SetReadout(const QString& text)
{
    m_readout->setText(text);
}
