// SPDX-License-Identifier: MIT
// The expanded window's chart statistics through the controls: Bins, Axis and the
// cumulative line each change the picture, a selection changes the readout, the context
// menu exports the bins and saves the picture, and a lens chart filters the panel.
#include "tests/app/MainWindowDriver.h"

#include "app/ChartSettings.h"
#include "app/ExpandedPanel.h"

#include <QCheckBox>
#include <QSvgRenderer>
#include <QTreeWidget>

namespace {

class ChartStatisticsWindowTest : public MainWindowTest {
protected:
    QString LensPhoto(const char* name, const char* lens, std::uint32_t focal, std::uint32_t tenths,
        std::uint16_t focal35 = 0)
    {
        CorpusPhoto photo;
        photo.focal35 = focal35;
        std::tie(
            photo.make, photo.model, photo.lens, photo.fNumber, photo.focalLength, photo.fileSize)
            = std::make_tuple("Canon", "Canon CAM-2", lens, CorpusRational { tenths, 10 },
                CorpusRational { focal, 1 }, 2 << 20);
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteCorpusFile(QFile::encodeName(path).toStdString(), photo));
        return path;
    }

    QImage ChartPicture()
    {
        QCoreApplication::processEvents();
        return m_ui.Chart()->grab().toImage();
    }

    ChartSettings* Settings() const { return m_ui.Panel()->m_chartSettings; }
    QString Readout() const { return Settings()->m_readout->text(); }
};

TEST_F(ChartStatisticsWindowTest, SettingsSelectionMenuAndLensCharts)
{
    OpenPhotos({ LensPhoto("a.jpg", "L24-70", 24, 28, 38), LensPhoto("b.jpg", "L24-70", 70, 28),
        LensPhoto("c.jpg", "L24-70", 35, 40), LensPhoto("d.jpg", "L85", 85, 18) });
    Press(Qt::Key_E, Qt::ControlModifier);
    Click(m_ui.QueryButton());
    EXPECT_EQ(Readout(), "80 % of the matches around the median: F1.8-F4.0 (4 photos, 100 %)");
    // 35 mm: a's tag; b's from a's ratio 38 / 24, marked.
    const QAbstractItemModel* list = m_ui.ResultsList()->model();
    EXPECT_EQ(list->index(0, Focal35Column).data().toString() + ' '
            + list->index(1, Focal35Column).data().toString(),
        "38 \u2248111");

    // Each setting, reached by its key, changes the picture.
    QImage before = ChartPicture();
    for (const auto& [key, change] : { std::pair { Qt::Key_B, Qt::Key_Down },
             std::pair { Qt::Key_X, Qt::Key_Down }, std::pair { Qt::Key_U, Qt::Key_unknown } }) {
        Press(key, Qt::AltModifier);
        if (change != Qt::Key_unknown)
            Press(change);
        else // a check box's mnemonic clicks it a moment later, as a pressed button shows
            EXPECT_TRUE(QTest::qWaitFor([this] { return Settings()->m_cumulative->isChecked(); }));
        const QImage after = ChartPicture();
        EXPECT_FALSE(after == before) << char(key);
        before = after;
    }
    EXPECT_EQ(m_ui.Chart()->Bins().labels,
        (std::vector<std::string> {
            "F1.8", "F2.0", "F2.2", "F2.5", "F2.8", "F3.2", "F3.5", "F4.0" }));

    // A click on the first bar, then Shift+Right.
    const QRect chart = m_ui.Chart()->rect();
    Click(m_ui.Chart(), QPoint(chart.width() / 10, chart.height() / 2));
    EXPECT_EQ(Readout(), "F1.8: 1 photo, 25 % of the matches");
    for (int i = 0; i < 4; ++i)
        Press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Readout(), "F1.8-F2.8: 3 photos, 75 % of the matches");

    m_desktop.saveTarget = m_dir.filePath("stops.txt");
    Click(m_ui.Chart(), chart.center(), Qt::RightButton);
    ChooseFromMenu("Export statistics...");
    QFile stats(m_desktop.saveTarget);
    ASSERT_TRUE(stats.open(QIODevice::ReadOnly));
    EXPECT_EQ(stats.readAll(),
        "Bin\tCount\tPer cent\tCumulative per cent\nF1.8\t1\t25.0\t25.0\nF2.0\t0\t0.0\t25.0\n"
        "F2.2\t0\t0.0\t25.0\nF2.5\t0\t0.0\t25.0\nF2.8\t2\t50.0\t75.0\nF3.2\t0\t0.0\t75.0\n"
        "F3.5\t0\t0.0\t75.0\nF4.0\t1\t25.0\t100.0\n");
    m_desktop.saveTarget = m_dir.filePath("chart.svg");
    Click(m_ui.Chart(), chart.center(), Qt::RightButton);
    ChooseFromMenu("Save chart as PNG/SVG...");
    EXPECT_TRUE(QSvgRenderer(m_desktop.saveTarget).isValid());

    // Focal length by lens, the last Show entry: a click on the second chart keeps L85 alone.
    m_ui.ShowCombo()->setFocus();
    Press(Qt::Key_End);
    const std::vector<LensChart>& lenses = m_ui.Chart()->LensChartList();
    ASSERT_EQ(lenses.size(), 2u);
    EXPECT_EQ(std::make_tuple(lenses[0].title, lenses[0].count, lenses[1].title),
        std::make_tuple("L24-70", 3, "L85"));
    Click(m_ui.Chart(), QPoint(chart.width() * 3 / 4, chart.height() / 2));
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "1/4");

    // Off, the chart is the template's: each value, counted.
    Press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(m_ui.Chart()->Bins().values, (std::vector<double> { 1.8 }));
    EXPECT_TRUE(m_ui.Chart()->Bins().labels.empty());
}

} // namespace
