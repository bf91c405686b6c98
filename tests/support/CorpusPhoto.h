// SPDX-License-Identifier: MIT
// One synthetic photo of the benchmark corpus: what its EXIF block says, and the bytes
// at the start of its file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An unsigned EXIF rational; a denominator of 0 marks a tag the file leaves out.
struct CorpusRational {
    std::uint32_t numerator = 0;
    std::uint32_t denominator = 0;

    bool Present() const { return denominator != 0; }
    double Value() const;
};

struct CorpusPhoto {
    std::string make; // empty: no Make entry
    std::string model; // empty: no Model entry
    CorpusRational fNumber;
    CorpusRational exposureTime; // seconds
    CorpusRational focalLength; // millimetres
    std::uint16_t iso = 0; // 0: no ISOSpeedRatings entry
    std::string lens; // empty: no LensModel entry
    std::string dateTime = "2019:07:14 16:42:08"; // DateTime and DateTimeOriginal; empty: none
    std::uint16_t focal35 = 0; // 0: no FocalLengthIn35mmFilm entry
    bool bigEndian = false; // "MM" instead of "II"
    bool jfifFirst = false; // a JFIF segment before the EXIF one: the reader rejects it
    std::uint64_t fileSize = 0; // bytes, at least the size of FileStart()
};

// A small deterministic generator (SplitMix64), so that a seed gives the same corpus on
// every machine and library.
class CorpusRandom {
public:
    explicit CorpusRandom(std::uint64_t seed)
        : m_state(seed)
    {
    }
    std::uint64_t Next();
    // Uniform in [0, bound) for bound > 0; the bias of the modulo is irrelevant here.
    std::uint64_t Below(std::uint64_t bound) { return Next() % bound; }

private:
    std::uint64_t m_state;
};

// Draws one photo from realistic sets of makers, models and camera settings, with a
// file size of 1 to 12 MB. Lens, date and 35 mm focal length follow from the size, so
// that the draws of the other settings stay those of earlier corpora.
CorpusPhoto DrawCorpusPhoto(CorpusRandom& random);

// The bytes at the start of the photo's file:
//   FF D8                      start of image
//   [FF E0 00 10 "JFIF" ...]   only when jfifFirst
//   FF E1, 2-byte length,      the EXIF segment; its TIFF header is at byte 12 unless
//   "Exif\0\0", TIFF block     jfifFirst
//   FF DB ...                  a quantisation table, as the image data would follow
// The rest of the file up to the end-of-image marker FF D9 is left to WriteCorpusFile.
std::vector<std::uint8_t> CorpusFileStart(const CorpusPhoto& photo);

// Writes the photo's file: the start bytes followed by zeros, written up to the first
// 64 KiB, a hole up to fileSize - 2 (ftruncate, so the disk holds only the written
// blocks) and FF D9 at the end. Returns false with errno set on failure.
bool WriteCorpusFile(const std::string& path, const CorpusPhoto& photo);
