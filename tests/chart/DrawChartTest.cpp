// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "chart/ChartBins.h"
#include "chart/DrawChart.h"

// The chart in its place in the main window: 572 x 198 pixels at 96 dots per inch. The
// chart font's " 10 MB " measures 38 x 12, so the plot runs from column 38 up to 553 and
// from row 6 up to 180 (515 x 174), framed by the rectangle (37, 5) - (554, 181).
const QRgb kBehind = qRgb(1, 2, 3); // the window's background behind the margins

// The rows of the box that hold a pixel darker than the plot's background, as
// "first..last"; "none" for none.
static std::string InkRows(const QImage& image, const QRect& box)
{
    int first = -1, last = -1;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (qGray(image.pixel(x, y)) < 150 && image.pixel(x, y) != kBehind) {
                first = first < 0 ? y : first;
                last = y;
            }
    return first < 0 ? "none" : std::to_string(first) + ".." + std::to_string(last);
}

// 26 bins: every second label is drawn, and every second drawn label 2 pixels lower with
// a tick 2 pixels longer, so that its whole line of 12 pixels ends with the chart and its
// digits and decimal point show whole.
TEST(DrawChart, LoweredLabelsStayWhole)
{
    std::vector<double> values;
    for (int i = 10; i < 36; ++i)
        values.push_back(i / 10.0);
    QImage image(572, 198, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(kBehind);
    QPainter painter(&image);
    PaintChart(painter, image.rect(), BinValues(Aperture, values));
    painter.end();
    // The count label "1" ends 3 pixels left of the plot, centred on its line at the top.
    EXPECT_EQ(InkRows(image, QRect(25, 0, 10, 20)), "2..9");
    // Slots of 19 pixels: bin i centred at 38 + (515 i) / 26 + 9.
    for (int i = 0; i < 26; ++i) {
        const int x = 38 + 515 * i / 26 + 9;
        const bool lowered = i % 4 == 2, drawn = i % 2 == 0;
        EXPECT_EQ(image.pixel(x, 184), lowered ? qRgb(0, 0, 0) : kBehind) << i;
        EXPECT_EQ(image.pixel(x, 185), kBehind) << i;
        EXPECT_EQ(InkRows(image, QRect(x - 8, 185, 17, 13)),
            drawn ? (lowered ? "188..195" : "186..193") : "none")
            << i;
    }
}
