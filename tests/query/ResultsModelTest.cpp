// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QColor>
#include <QPersistentModelIndex>
#include <string>
#include <vector>

#include "query/ListSort.h"
#include "query/ResultsModel.h"

namespace {

class ResultsModelTest : public testing::Test {
protected:
    void SetUp() override { ResetSortDirections(); }
    void TearDown() override { ResetSortDirections(); }
    ResultsModel model;
    QAbstractItemModelTester tester { &model,
        QAbstractItemModelTester::FailureReportingMode::Fatal };

    // The rows' paths in the model's order, joined.
    std::string Order() const
    {
        std::string paths;
        for (const ListRow& row : model.Rows())
            paths += row.path;
        return paths;
    }
};

ListRow Row(
    std::string path, double fNumber, double iso, double exposureTime, std::string camera = "C")
{
    return { std::move(path), std::move(camera), fNumber, 50, iso, exposureTime };
}

} // namespace

TEST_F(ResultsModelTest, HeadingsAlignmentAndCellTexts)
{
    model.SetRows({ Row("/d/\xc3\xa9t\xc3\xa9.jpg", 2.8, 0, 0.004, "Canon") });
    const char* headings[]
        = { "File", "Camera", "Aperture", "Focal length", "ISO", "Shutter speed" };
    const char* texts[] = { "\xc3\xa9t\xc3\xa9.jpg", "Canon", "F2.8", "50", "n/a", "1/250" };
    for (int c = 0; c < kResultColumnCount; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), QString::fromUtf8(headings[c]));
        const Qt::Alignment expected
            = (c < 2 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            expected);
        const QModelIndex cell = model.index(0, c);
        EXPECT_EQ(cell.data(Qt::TextAlignmentRole).value<Qt::Alignment>(), expected);
        EXPECT_EQ(cell.data().toString(), QString::fromUtf8(texts[c]));
        EXPECT_FALSE(cell.data(Qt::ForegroundRole).isValid());
    }
    model.Clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ResultsModelTest, HeaderClicksSortAndFlipEachColumnOnItsOwn)
{
    model.SetRows({ Row("/a", 4, 400, 1.0 / 60), Row("/b", 2.8, 0, 0.002), Row("/c", 0, 100, 2),
        Row("/d", 5.6, 200, 0) });
    const std::tuple<int, const char*, int> clicks[] = {
        // column, order, aperture direction after
        { ApertureColumn, "/c/b/a/d", -1 },
        { IsoColumn, "/b/c/d/a", -1 }, // ascending, the aperture direction stays
        { ApertureColumn, "/d/a/b/c", 1 }, // descending: the missing aperture goes last
        { ShutterSpeedColumn, "/d/b/a/c", 1 }, // by time, not text: 1/500, 1/60, 2 s; missing first
    };
    for (const auto& [column, order, apertureDirection] : clicks) {
        model.SortByColumn(column);
        EXPECT_EQ(Order(), order) << column;
        EXPECT_EQ(g_sortDirection[ApertureColumn], apertureDirection) << column;
    }
    // A new set of rows keeps the directions: the next File click sorts descending.
    g_sortDirection[FileColumn] = -1;
    model.SetRows({ Row("/b", 1, 1, 1), Row("/c", 1, 1, 1), Row("/a", 1, 1, 1) });
    model.SortByColumn(FileColumn);
    EXPECT_EQ(Order(), "/c/b/a");
    // An empty list still flips the direction on each click.
    model.Clear();
    for (int i = 0; i < 3; ++i)
        model.SortByColumn(CameraColumn);
    EXPECT_EQ(g_sortDirection[CameraColumn], -1);
}

TEST_F(ResultsModelTest, PathsAndCamerasCompareAsUnsignedBytesAndTiesKeepTheirOrder)
{
    model.SetRows({ Row("/p/\xc3\xa9 ", 0, 0, 0, "z"), Row("/p/b ", 0, 0, 0, "\xff"),
        Row("/p/B ", 0, 0, 0, "a"), Row("/p/a ", 0, 0, 0, "a"), Row("/o/z ", 0, 0, 0, "A") });
    model.SortByColumn(FileColumn);
    EXPECT_EQ(Order(), "/o/z /p/B /p/a /p/b /p/\xc3\xa9 ");
    model.SortByColumn(CameraColumn); // the equal cameras "a" keep the order the File sort left
    EXPECT_EQ(Order(), "/o/z /p/B /p/a /p/\xc3\xa9 /p/b ");
}

TEST_F(ResultsModelTest, ShadingFollowsThePositionAndSelectionsFollowTheirRows)
{
    model.SetRows({ Row("/c", 3, 0, 0), Row("/a", 1, 0, 0), Row("/b", 2, 0, 0) });
    const QPersistentModelIndex selected(model.index(0, 2)); // "/c"
    model.SortByColumn(ApertureColumn);
    ASSERT_EQ(Order(), "/a/b/c");
    EXPECT_EQ(selected.row(), 2);
    EXPECT_EQ(selected.column(), 2);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < kResultColumnCount; ++c)
            EXPECT_EQ(model.index(r, c).data(Qt::BackgroundRole).value<QBrush>().color(),
                r == 1 ? QColor(240, 240, 240) : QColor(248, 248, 248))
                << r << "," << c;
}
