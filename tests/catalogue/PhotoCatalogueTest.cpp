// SPDX-License-Identifier: MIT
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/QuantityText.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

TEST(PhotoCatalogue, DistinctValuesExtremesOfAFullTableLongListsAndQuantityTexts)
{
    PhotoCatalogue c;
    auto table = [&c](Quantity k) {
        return std::vector<double>(c.values[k], c.values[k] + c.valueCounts[k]);
    };
    const double above = std::nextafter(1e-8, 1.0);
    for (double v : { 0.0, 1e-8, -3.0, std::nan(""), above, 50.0, 500.0 / 10, 2.8, 50.0, 2.8 })
        AddValue(c, FocalLength, v);
    EXPECT_EQ(table(FocalLength), (std::vector<double> { above, 50, 2.8 }));
    EXPECT_EQ(c.valueCounts[Aperture], 0);
    SortValueTables(c);
    EXPECT_EQ(table(FocalLength), (std::vector<double> { above, 2.8, 50 }));
    ResetValueTables(c);
    EXPECT_EQ(c.valueCounts[FocalLength], 0);
    EXPECT_EQ(c.values[FocalLength][1], 0.0);
    // A full table keeps its extremes.
    std::vector<double> values(kValueTableSize);
    std::iota(values.begin(), values.end(), 1.0); // 1 .. 200, the first half falling
    std::vector<double> expected = values;
    std::reverse(values.begin(), values.begin() + 100);
    // 150.5 is inside the range, 0.5 replaces 1, 300 replaces 200, 0.25 replaces 0.5, 0.75 is
    // above the smallest by now, and 300 is there already.
    values.insert(values.end(), { 150.5, 0.5, 300.0, 0.25, 0.75, 300.0 });
    for (double v : values)
        AddValue(c, Iso, v);
    EXPECT_EQ(c.valueCounts[Iso], kValueTableSize);
    SortValueTables(c);
    expected.front() = 0.25;
    expected.back() = 300;
    EXPECT_EQ(table(Iso), expected);

    // Long lists of records are released without deep recursion.
    auto list = [](PhotoRecord*& last) { // a million records; last points at the final one
        auto first = std::make_unique<PhotoRecord>();
        last = first.get();
        for (int i = 1; i < 1000000; ++i)
            last = (last->next = std::make_unique<PhotoRecord>()).get();
        return first;
    };
    PhotoRecord* last = nullptr;
    c.head = list(last);
    FreeRecords(c.head);
    EXPECT_EQ(c.head, nullptr);
    FreeRecords(c.head); // null does nothing
    c.head = list(c.spare);
    c.recordCount = 999999;
    ClearRecords(c);
    EXPECT_TRUE(c.head == nullptr && c.spare == nullptr && c.recordCount == 0);
    list(last).reset(); // the list owned by a record goes with it, however long

    // Quantity texts, one row per format: aperture, focal below and from 10, ISO, shutter
    // below 1, from 1 and from 10, file size.
    const std::tuple<Quantity, double, const char*> rows[]
        = { { Aperture, 22, "F22.0" }, { FocalLength, 9.96, "10.0" }, { FocalLength, 50.5, "50" },
              { Iso, 3200, "3200" }, { ShutterSpeed, 0.3, "1/3" }, { ShutterSpeed, 1, "1.0" },
              { ShutterSpeed, 10, "10" }, { FileSize, 0.25, "0.2" } };
    for (const auto& [q, value, text] : rows)
        EXPECT_EQ(FormatQuantity(q, value), text) << q << ' ' << value;
    // The user's locale (set by the application at start) does not change the decimal point.
    // Checked only where a German locale is installed.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        EXPECT_EQ(FormatQuantity(Aperture, 2.8), "F2.8");
        std::setlocale(LC_NUMERIC, "C");
    }
}

// The reason a file was not read, as the "Files not read" list writes it.
TEST(SkippedFileReason, NamesTheReasonTheSystemsWordsAndTheExtension)
{
    const std::pair<SkippedFile, const char*> cases[] = {
        { { "/p/a.jpg", SkipNoExif, 0 }, "no EXIF block" },
        { { "/p/a.jpg", SkipUnreadable, EACCES }, "unreadable: Permission denied" },
        { { "/p/a.jpg", SkipUnreadable, 0 }, "unreadable" },
        { { "/p/fifo.jpg", SkipNotRegularFile, 0 }, "not a regular file" },
        { { "/p/x.y/clip.MOV", kSkipOtherKind, 0 }, "not a photo format (.MOV)" },
        { { "/p/x.y/README", kSkipOtherKind, 0 }, "not a photo format (no extension)" },
    };
    for (const auto& [file, text] : cases)
        EXPECT_EQ(SkippedFileReason(file), text);
}
