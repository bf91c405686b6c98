// SPDX-License-Identifier: MIT
#include "catalogue/QuantityText.h"

#include <charconv>

#include "catalogue/PhotoFields.h"

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

// The bound lists write whole numbers, also for times of a second and more: 2.5 s reads
// "2" there ("2.5" in the results list).
std::string WholeText(double value)
{
    return FixedText(value, 0);
}

std::string ExposureEntryText(double value)
{
    if (value < 1.0)
        return "1/" + FixedText(1.0 / value, 0);
    return FixedText(value, 0);
}

double FNumberOf(const PhotoFields& photo)
{
    return photo.fNumber;
}
double FocalLengthOf(const PhotoFields& photo)
{
    return photo.focalLength;
}
double IsoOf(const PhotoFields& photo)
{
    return photo.iso;
}
// The expanded window's: the one the maker's notes or another tag give where the EXIF
// block's ISOSpeedRatings is missing, 0 or 65,535.
double ExpandedIsoOf(const PhotoFields& photo)
{
    return ExpandedIso(photo);
}
double ExposureTimeOf(const PhotoFields& photo)
{
    return photo.exposureTime;
}
double FileSizeOf(const PhotoFields& photo)
{
    return photo.fileSizeMb;
}

// A value of exactly 0 is one the file did not give.
bool IsZero(double value)
{
    return value == 0;
}

using S = SelectorKind;
constexpr QuantityInfo kQuantities[] = {
    { Aperture, "Aperture", FNumberOf, nullptr, IsZero, S::ValueLists, false, 0xff0000, 0x800000,
        ApertureText, ApertureText },
    { FocalLength, "Focal length", FocalLengthOf, nullptr, IsZero, S::WholeNumberTexts, false,
        0x0000ff, 0x000080, FocalText, WholeText },
    { Iso, "ISO", IsoOf, ExpandedIsoOf, IsZero, S::ValueLists, false, 0x00ff00, 0x008000, IsoText,
        WholeText },
    { ShutterSpeed, "Shutter speed", ExposureTimeOf, nullptr, IsZero, S::ValueLists, false,
        0xff00ff, 0x800080, ExposureText, ExposureEntryText },
    { FileSize, "File size (MB)", FileSizeOf, nullptr, IsZero, S::None, false, 0x00ffff, 0x008080,
        SizeText, WholeText },
};

// Every row in its place and complete: a row left short would end in null texts.
constexpr bool TableIsWhole()
{
    for (int k = 0; k < kQuantityCount; ++k) {
        const QuantityInfo& row = kQuantities[k];
        if (row.quantity != k || !row.showText || !row.value || !row.missing || !row.format
            || !row.selectorText)
            return false;
    }
    return true;
}
static_assert(sizeof kQuantities / sizeof kQuantities[0] == kQuantityCount, "a row per quantity");
static_assert(TableIsWhole(), "every row in Quantity order, every text and accessor set");

} // namespace

const QuantityInfo* QuantityTable()
{
    return kQuantities;
}

double QuantityValue(const PhotoFields& photo, Quantity q, bool expandedView)
{
    if (q < 0 || q >= kQuantityCount)
        return 0.0;
    const QuantityInfo& row = kQuantities[q];
    return expandedView && row.expandedValue ? row.expandedValue(photo) : row.value(photo);
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
