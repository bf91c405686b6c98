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

struct ResultsModelTest : testing::Test {
    void SetUp() override { ResetSortDirections(); }
    void TearDown() override { ResetSortDirections(); }
    ResultsModel model;
    QAbstractItemModelTester tester { &model,
        QAbstractItemModelTester::FailureReportingMode::Fatal };

    // The rows' paths in the model's order, each followed by a space.
    std::string Order() const
    {
        std::string paths;
        for (const ListRow& row : model.Rows())
            paths += row.path + " ";
        return paths;
    }
};

} // namespace

// Paths show in the file system's encoding; a camera text that is not UTF-8 is Latin-1.
TEST_F(ResultsModelTest, CellTextsAndAlignment)
{
    model.SetRows({ { "/d/\xc3\xa9t\xc3\xa9.jpg", "Canon", 2.8, 6.3, 0, 0.5 } });
    const char* const texts[] = { "\xc3\xa9t\xc3\xa9.jpg", "Canon", "F2.8", "6.3", "n/a", "1/2" };
    for (int c = 0; c < kResultColumnCount; ++c) {
        EXPECT_EQ(model.index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
            (c < 2 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
        EXPECT_EQ(model.index(0, c).data().toString(), QString::fromUtf8(texts[c])) << c;
    }
    const std::pair<const char*, const char*> cameras[] = { { "Caf\xc3\xa9", "Caf\xc3\xa9" },
        { "Caf\xe9", "Caf\xc3\xa9" }, { "\xc3", "\xc3\x83" }, { "\xff\xfe", "\xc3\xbf\xc3\xbe" },
        { "\xed\xa0\x80", "\xc3\xad\xc2\xa0\xc2\x80" } }; // a UTF-16 surrogate is not UTF-8
    for (const auto& [bytes, shown] : cameras) {
        model.SetRows({ { "a.jpg", bytes } });
        EXPECT_EQ(model.index(0, CameraColumn).data().toString(), QString::fromUtf8(shown))
            << bytes;
    }
}

// Each header click sorts by its column and flips only that column's direction. Paths and
// cameras compare as unsigned bytes, ties keep their order, selections follow their rows
// and the shading follows the position.
TEST_F(ResultsModelTest, HeaderClicksSortAndFlipEachColumnOnItsOwn)
{
    model.SetRows({ { "\xc3\xa9", "z", 4, 50, 400, 1.0 / 60 }, { "b", "\xff", 2.8, 50, 0, 0.002 },
        { "B", "a", 0, 50, 100, 2 }, { "a", "a", 5.6, 50, 200, 0 }, { "/", "A", 1, 50, 1, 1 } });
    const QPersistentModelIndex selected(model.index(0, 2)); // "\xc3\xa9"
    const std::tuple<int, const char*, int> clicks[] = {
        // column, order, aperture direction after
        { FileColumn, "/ B a b \xc3\xa9 ", 1 },
        { CameraColumn, "/ B a \xc3\xa9 b ", 1 }, // the equal cameras "a" keep the File order
        { ApertureColumn, "B / b \xc3\xa9 a ", -1 },
        { IsoColumn, "b / B a \xc3\xa9 ", -1 }, // ascending, the aperture direction stays
        { ApertureColumn, "a \xc3\xa9 b / B ", 1 }, // descending: the missing aperture goes last
        { ShutterSpeedColumn, "a b \xc3\xa9 / B ", 1 }, // by time, not text; missing first
    };
    for (const auto& [column, order, apertureDirection] : clicks) {
        model.SortByColumn(column);
        EXPECT_EQ(Order(), order) << column;
        EXPECT_EQ(g_sortDirection[ApertureColumn], apertureDirection) << column;
    }
    EXPECT_EQ(std::make_pair(selected.row(), selected.column()), std::make_pair(2, 2));
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < kResultColumnCount; ++c)
            EXPECT_EQ(model.index(r, c).data(Qt::BackgroundRole).value<QBrush>().color(),
                r % 2 ? QColor(240, 240, 240) : QColor(248, 248, 248))
                << r << "," << c;
    // A new set of rows keeps the directions: the next File click sorts descending.
    model.SetRows({ { "b", "" }, { "c", "" }, { "a", "" } });
    model.SortByColumn(FileColumn);
    EXPECT_EQ(Order(), "c b a ");
    // An empty list still flips the direction on each click.
    model.Clear();
    for (int i = 0; i < 3; ++i)
        model.SortByColumn(FocalLengthColumn);
    EXPECT_EQ(g_sortDirection[FocalLengthColumn], -1);
}
