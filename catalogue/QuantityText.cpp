// SPDX-License-Identifier: MIT
#include "catalogue/QuantityText.h"

#include <charconv>

std::string FixedText(double value, int decimals)
{
    char text[400]; // the longest double in fixed notation has 309 digits before the point
    const std::to_chars_result written
        = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (written.ec != std::errc())
        return std::string();
    return std::string(text, written.ptr);
}

namespace {

std::string ApertureText(double value)
{
    return "F" + FixedText(value, 1);
}

std::string FocalText(double value)
{
    return FixedText(value, value < 10 ? 1 : 0);
}

std::string IsoText(double value)
{
    return FixedText(value, 0);
}

std::string ExposureText(double value)
{
    // Exposure times below a second are written as a fraction of a second.
    if (value < 1)
        return "1/" + FixedText(1 / value, 0);
    return FixedText(value, value < 10 ? 1 : 0);
}

std::string SizeText(double value)
{
    return FixedText(value, 1);
}

const QuantityInfo kQuantities[kQuantityCount] = {
    { Aperture, "aperture", "Aperture", &PhotoRecord::fNumber, SelectorKind::ValueLists,
        ApertureText },
    { FocalLength, "focal length", "Focal length", &PhotoRecord::focalLength,
        SelectorKind::WholeNumberTexts, FocalText },
    { Iso, "ISO", "ISO", &PhotoRecord::iso, SelectorKind::ValueLists, IsoText },
    { ShutterSpeed, "shutter speed", "Shutter speed", &PhotoRecord::exposureTime,
        SelectorKind::ValueLists, ExposureText },
    { FileSize, "file size", "File size (MB)", &PhotoRecord::fileSizeMb, SelectorKind::None,
        SizeText },
};

} // namespace

const QuantityInfo* QuantityTable()
{
    return kQuantities;
}

std::string FormatQuantity(Quantity q, double value)
{
    if (q < 0 || q >= kQuantityCount)
        return std::string();
    return kQuantities[q].format(value);
}

std::string TakenText(std::int64_t taken)
{
    if (taken <= 0 || taken > 99991231235959)
        return {};
    char text[20];
    std::int64_t v = taken;
    // Written from the right: ss, mm, hh, DD, MM, then the four year digits.
    static const char kForm[] = "dddd-dd-dd dd:dd:dd";
    for (int i = 18; i >= 0; --i) {
        if (kForm[i] == 'd') {
            text[i] = static_cast<char>('0' + v % 10);
            v /= 10;
        } else {
            text[i] = kForm[i];
        }
    }
    return std::string(text, 19);
}
