// SPDX-License-Identifier: MIT
#include "catalogue/QuantityText.h"

#include <clocale>
#include <gtest/gtest.h>
#include <tuple>

TEST(QuantityText, Formats)
{
    // One row per format: aperture, focal below and from 10, ISO, shutter below 1, from 1
    // and from 10, file size.
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
