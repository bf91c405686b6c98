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
};

ListRow Row(std::string path, double fNumber, double iso, double exposureTime,
            std::string camera = "C")
{
    ListRow row;
    row.path = std::move(path);
    row.camera = std::move(camera);
    row.fNumber = fNumber;
    row.focalLength = 50;
    row.iso = iso;
    row.exposureTime = exposureTime;
    return row;
}

std::vector<std::string> Order(const ResultsModel& model)
{
    std::vector<std::string> paths;
    for (const ListRow& row : model.Rows())
        paths.push_back(row.path);
    return paths;
}

} // namespace

TEST_F(ResultsModelTest, HeadingsAlignmentAndCellTexts)
{
    ResultsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRows({Row("/d/\xc3\xa9t\xc3\xa9.jpg", 2.8, 0, 0.004, "Canon")});

    const char* headings[] = {"File", "Camera", "Aperture", "Focal length", "ISO",
                              "Shutter speed"};
    const char* texts[] = {"\xc3\xa9t\xc3\xa9.jpg", "Canon", "F2.8", "50", "n/a", "1/250"};
    for (int c = 0; c < kResultColumnCount; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), QString::fromUtf8(headings[c]));
        const Qt::Alignment expected =
            (c < 2 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::TextAlignmentRole)
                      .value<Qt::Alignment>(),
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
    ResultsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.SetRows({Row("/a", 4, 400, 1.0 / 60), Row("/b", 2.8, 0, 0.002),
                   Row("/c", 0, 100, 2), Row("/d", 5.6, 200, 0)});

    model.SortByColumn(ApertureColumn);
    EXPECT_EQ(Order(model), (std::vector<std::string>{"/c", "/b", "/a", "/d"}));
    EXPECT_EQ(g_sortDirection[ApertureColumn], -1);

    model.SortByColumn(IsoColumn); // ascending, the aperture direction stays
    EXPECT_EQ(Order(model), (std::vector<std::string>{"/b", "/c", "/d", "/a"}));
    EXPECT_EQ(g_sortDirection[ApertureColumn], -1);

    model.SortByColumn(ApertureColumn); // descending: the missing aperture goes last
    EXPECT_EQ(Order(model), (std::vector<std::string>{"/d", "/a", "/b", "/c"}));
    EXPECT_EQ(g_sortDirection[ApertureColumn], 1);

    // By exposure time, not by text: 1/500 before 1/60 before 2 s; missing first.
    model.SortByColumn(ShutterSpeedColumn);
    EXPECT_EQ(Order(model), (std::vector<std::string>{"/d", "/b", "/a", "/c"}));

    // A new set of rows keeps the directions: the next File click sorts descending.
    g_sortDirection[FileColumn] = -1;
    model.SetRows({Row("/b", 1, 1, 1), Row("/c", 1, 1, 1), Row("/a", 1, 1, 1)});
    model.SortByColumn(FileColumn);
    EXPECT_EQ(Order(model), (std::vector<std::string>{"/c", "/b", "/a"}));

    ResultsModel empty;
    empty.SortByColumn(CameraColumn);
    empty.SortByColumn(CameraColumn);
    empty.SortByColumn(CameraColumn);
    EXPECT_EQ(g_sortDirection[CameraColumn], -1);
}

TEST_F(ResultsModelTest, PathsAndCamerasCompareAsUnsignedBytesAndTiesKeepTheirOrder)
{
    ResultsModel model;
    model.SetRows({Row("/p/\xc3\xa9.jpg", 0, 0, 0, "z"), Row("/p/b.jpg", 0, 0, 0, "\xff"),
                   Row("/p/B.jpg", 0, 0, 0, "a"), Row("/p/a.jpg", 0, 0, 0, "a"),
                   Row("/o/z.jpg", 0, 0, 0, "A")});
    model.SortByColumn(FileColumn);
    EXPECT_EQ(Order(model), (std::vector<std::string>{"/o/z.jpg", "/p/B.jpg", "/p/a.jpg",
                                                      "/p/b.jpg", "/p/\xc3\xa9.jpg"}));
    // Equal cameras ("a", "a") keep the order the File sort left them in.
    model.SortByColumn(CameraColumn);
    EXPECT_EQ(Order(model), (std::vector<std::string>{"/o/z.jpg", "/p/B.jpg", "/p/a.jpg",
                                                      "/p/\xc3\xa9.jpg", "/p/b.jpg"}));
}

TEST_F(ResultsModelTest, ShadingFollowsThePositionAndSelectionsFollowTheirRows)
{
    ResultsModel model;
    model.SetRows({Row("/c", 3, 0, 0), Row("/a", 1, 0, 0), Row("/b", 2, 0, 0)});
    const QPersistentModelIndex selected(model.index(0, 2)); // "/c"
    model.SortByColumn(ApertureColumn);
    ASSERT_EQ(Order(model), (std::vector<std::string>{"/a", "/b", "/c"}));
    EXPECT_EQ(selected.row(), 2);
    EXPECT_EQ(selected.column(), 2);
    const QColor expected[] = {QColor(248, 248, 248), QColor(240, 240, 240),
                               QColor(248, 248, 248)};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < kResultColumnCount; ++c)
            EXPECT_EQ(model.index(r, c).data(Qt::BackgroundRole).value<QBrush>().color(),
                      expected[r])
                << r << "," << c;
    }
}
