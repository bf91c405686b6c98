// SPDX-License-Identifier: MIT
#include "chart/ChartPicture.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSize>
#include <QString>
#include <QSvgGenerator>

#include "chart/CChartStatic.h"

ChartPictureFormat ChartPictureFormatOf(const QString& path)
{
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? ChartPictureFormat::Svg
                                                                      : ChartPictureFormat::Png;
}

QByteArray ChartPicture(const ChartBins& bins, const std::vector<LensChart>& lensCharts,
    const QSize& size, ChartPictureFormat format)
{
    if (size.isEmpty())
        return QByteArray();
    const QRect client(QPoint(0, 0), size);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == ChartPictureFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(client);
        svg.setResolution(96);
        svg.setTitle(QStringLiteral("Fotolot chart"));
        QPainter painter;
        if (!painter.begin(&svg))
            return QByteArray();
        painter.fillRect(client, Qt::white);
        PaintChartView(painter, client, bins, lensCharts);
        painter.end();
        return buffer.data();
    }
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dots per inch, as the chart's font is sized for
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintChartView(painter, client, bins, lensCharts);
    }
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return QByteArray();
    return buffer.data();
}
