// SPDX-License-Identifier: MIT
// The chart as a file: a PNG image or an SVG drawing of what the chart control shows.
#pragma once

#include <QByteArray>

#include <vector>

#include "chart/ChartStatistics.h"

class QSize;
class QString;

enum class ChartPictureFormat { Png, Svg };

// SVG when path ends in ".svg" in any letter case, PNG otherwise.
ChartPictureFormat ChartPictureFormatOf(const QString& path);

// The bytes of a picture of size pixels showing bins, or the lens charts when there are
// any, on a white ground; empty when the picture cannot be made.
QByteArray ChartPicture(const ChartBins& bins, const std::vector<LensChart>& lensCharts,
    const QSize& size, ChartPictureFormat format);
