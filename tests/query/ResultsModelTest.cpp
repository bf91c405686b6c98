// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

#include "query/ResultsModel.h"

namespace {

struct ResultsModelTest : testing::Test {
    ResultsModel model;
    QAbstractItemModelTester tester { &model,
        QAbstractItemModelTester::FailureReportingMode::Fatal };
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
