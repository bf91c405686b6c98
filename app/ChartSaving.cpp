// SPDX-License-Identifier: MIT
#include "app/ChartSaving.h"

#include <QIODevice>
#include <QString>

#include "chart/CChartStatic.h"
#include "chart/ChartPicture.h"
#include "chart/ChartStatistics.h"
#include "controls/DesktopSeam.h"
#include "controls/SaveProgress.h"

namespace {

bool Save(QWidget* parent, const QString& path, FileWriter write)
{
    QString reason;
    const SaveOutcome outcome = SaveWithProgress(parent, path, std::move(write), &reason);
    if (outcome == SaveOutcome::Failed)
        Desktop().ShowError(
            parent, QStringLiteral("Fotolot"), QStringLiteral("Error saving file"), reason);
    return outcome == SaveOutcome::Saved;
}

} // namespace

bool ExportChartStatistics(QWidget* parent, const CChartStatic& chart)
{
    const QString path = Desktop().ChooseSaveFile(parent, QStringLiteral("ChartStatistics"),
        QStringLiteral("Text files (*.txt)"), QStringLiteral("txt"));
    if (path.isEmpty())
        return false;
    // Lens charts export the bins of each lens after a line naming it.
    std::string text;
    if (chart.LensChartList().empty()) {
        text = StatisticsText(chart.Bins());
    } else {
        for (const LensChart& lens : chart.LensChartList())
            text += lens.title + '\n' + StatisticsText(lens.bins) + '\n';
    }
    return Save(parent, path, [text](QIODevice& device, QString*) {
        return WriteWhole(device, text.data(), static_cast<qint64>(text.size()));
    });
}

bool SaveChartPicture(QWidget* parent, const CChartStatic& chart)
{
    const QString path = Desktop().ChooseSaveFile(parent, QStringLiteral("Chart"),
        QStringLiteral("PNG images (*.png);;SVG drawings (*.svg)"), QStringLiteral("png"));
    if (path.isEmpty())
        return false;
    const QByteArray bytes = ChartPicture(
        chart.Bins(), chart.LensChartList(), chart.size(), ChartPictureFormatOf(path));
    return Save(parent, path, [bytes](QIODevice& device, QString* reason) {
        if (bytes.isEmpty()) {
            *reason = QStringLiteral("The picture could not be made");
            return false;
        }
        return WriteWhole(device, bytes.constData(), bytes.size());
    });
}
