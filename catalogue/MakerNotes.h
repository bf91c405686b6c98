// SPDX-License-Identifier: MIT
// The expanded window's lens and ISO speed where the standard tags are silent: the EXIF
// directory's LensSpecification, ISOSpeed and RecommendedExposureIndex, and the makers'
// own notes (the MakerNote entry, 0x927C), read from the bytes already read. A note that
// does not parse is passed over; it never rejects a photo.
#pragma once

#include <cstdint>
#include <string>

struct PhotoRecord;

// A TIFF block as the reader holds it: the bytes read, where its header lies (every
// offset of the block counts from there) and its byte order.
struct TiffSpan {
    const std::uint8_t* data;
    std::uint64_t size;
    std::uint64_t base;
    bool bigEndian;
};

// The EXIF directory's tags the extras read.
constexpr std::uint16_t kTagSensitivityType = 0x8830; // SHORT
constexpr std::uint16_t kTagRecommendedExposureIndex = 0x8832; // LONG
constexpr std::uint16_t kTagIsoSpeed = 0x8833; // LONG
constexpr std::uint16_t kTagMakerNote = 0x927C; // UNDEFINED, the maker's bytes
constexpr std::uint16_t kTagLensSpecification = 0xA432; // 4 RATIONAL

// What the walk of the EXIF directory noted for the extras; positions are in data.
struct ExifDirectoryExtras {
    std::uint64_t makerNote = 0; // where the MakerNote's bytes start; 0: none
    std::uint32_t makerNoteLength = 0;
    std::uint64_t lensSpecification = 0; // where its four rationals start; 0: none
    std::uint16_t sensitivityType = 0; // 0x8830; 0: not given
    std::uint32_t isoSpeed = 0; // 0x8833
    std::uint32_t recommendedExposureIndex = 0; // 0x8832
};

// Notes the EXIF directory's entry at entry (12 bytes inside the span) when its tag is one
// of MakerNote, LensSpecification, SensitivityType, ISOSpeed, RecommendedExposureIndex.
void NoteExifEntry(const TiffSpan& tiff, std::uint64_t entry, ExifDirectoryExtras& found);

// Fills record.extras: where the record has no lens (or no ISO speed, or 65,535), the
// first one found in the order of LensSource (IsoSource); where it has one, only the
// source. The record's camera tells a Canon, Casio or Kodak note, which have no header.
void ReadPhotoExtras(const TiffSpan& tiff, const ExifDirectoryExtras& found, PhotoRecord& record);

// A lens as its focal and f-number range: "18-70 mm f/3.5-4.5", "18 mm f/2.8", "70-200 mm
// f/2.8", "18-55 mm" when the f-numbers are not given (0). Empty when minFocal is not above
// 0 or maxFocal below it.
std::string LensRangeText(double minFocal, double maxFocal, double minF, double maxF);
