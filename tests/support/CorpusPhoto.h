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

// The MakerNote a photo carries: opaque bytes, or a maker's note of one of the layouts
// the reader knows, holding the note fields of CorpusPhoto.
enum class CorpusNote {
    Opaque, // 384 bytes of 0x5A
    Canon, // a plain directory, offsets from the TIFF base
    Nikon, // "Nikon\0" type 3 with its own TIFF header, offsets from that header
    Olympus, // "OLYMPUS\0II", offsets from the note's start, Equipment sub-directory
    OlympusOld, // "OLYMP\0", offsets from the TIFF base, Equipment sub-directory
    Panasonic, // "Panasonic\0\0\0", offsets from the TIFF base
    Sony, // "SONY DSC \0\0\0", offsets from the TIFF base
    Casio, // "QVC\0\0\0", offsets from the TIFF base
    CasioOld, // a plain directory with an ISO code
    Kodak, // Kodak's fixed-field record
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
    // FocalPlaneXResolution and FocalPlaneYResolution, both this, and
    // FocalPlaneResolutionUnit; not present: none of the three entries.
    CorpusRational focalPlaneResolution;
    std::uint16_t focalPlaneUnit = 2;
    bool bigEndian = false; // "MM" instead of "II"
    bool jfifFirst = false; // a JFIF segment before the EXIF one: the reader rejects it
    // Further segments between the JFIF and the EXIF one, as editors and phones write them;
    // only with jfifFirst.
    bool iccBeforeExif = false; // APP2, an ICC profile of 3,144 bytes (sRGB's size)
    bool photoshopBeforeExif = false; // APP13, a Photoshop block of IPTC data
    std::uint64_t fileSize = 0; // bytes, at least the size of FileStart()

    // What the expanded window reads beyond the tags above.
    CorpusNote note = CorpusNote::Opaque;
    std::string noteLens; // Canon 0x0095, Olympus 0x0203, Panasonic 0x0051; empty: none
    std::uint16_t noteFocal[2] = {}; // mm, shortest and longest: Canon, Nikon, Sony
    std::uint16_t noteF[2] = {}; // tenths of an f-number at each: Nikon, Sony
    std::uint16_t noteIso = 0; // Canon, Nikon, Casio, Kodak; 0: none
    bool canonAutoIso = false; // Canon: CameraISO "auto", noteIso from ShotInfo
    CorpusRational lensSpecification[4]; // 0xA432 when the first is present
    std::uint16_t sensitivityType = 0; // 0x8830; 0: none
    std::uint32_t isoSpeed = 0; // 0x8833; 0: none
    std::uint32_t recommendedExposureIndex = 0; // 0x8832; 0: none
    std::string xmp; // an XMP packet in an APP1 segment after the EXIF one; empty: none
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
//   [FF E2 "ICC_PROFILE" ...]  only when jfifFirst and iccBeforeExif
//   [FF ED "Photoshop 3.0"...] only when jfifFirst and photoshopBeforeExif
//   FF E1, 2-byte length,      the EXIF segment; its TIFF header is at byte 12 unless
//   "Exif\0\0", TIFF block     jfifFirst
//   FF DB ...                  a quantisation table, as the image data would follow
// The rest of the file up to the end-of-image marker FF D9 is left to WriteCorpusFile.
std::vector<std::uint8_t> CorpusFileStart(const CorpusPhoto& photo);

// The kinds of file the corpus can be made of.
enum class CorpusFormat {
    Jpeg,
    Heic,
    HeicTail,
    Cr3,
    Raf,
    Mrw,
    // Metadata past the first read, and EXIF in a chunk or box of its own; a TIFF file.
    HeicMdatFirst,
    Png,
    Webp,
    Jxl,
    Tiff,
    Jfif, // a JPEG with other segments before the EXIF one
};

// "jpeg", "heic", "heic-tail", "cr3", "raf", "mrw", "heic-mdat-first", "png", "webp",
// "jxl", "tiff" or "jfif".
bool ParseCorpusFormat(const std::string& name, CorpusFormat& format);
// The file name extension of a format, in upper case as cameras write it ("JPG", "HEIC").
const char* CorpusExtension(CorpusFormat format);

// A file's bytes: start at byte 0, tail at its end, a hole between.
struct CorpusFile {
    std::vector<std::uint8_t> start;
    std::vector<std::uint8_t> tail;
    std::uint64_t size = 0; // bytes, at least start and tail
};

// The photo as a file of format, built from each format's published structure:
//   jpeg       CorpusFileStart, FF D9 at the end
//   heic       ftyp, meta (iinf, iloc version 1, idat, ...), mdat whose first item is Exif
//   heic-tail  the same with the Exif item at the end of the file
//   cr3        ftyp "crx ", moov with Canon's uuid box: CMT1 (IFD0), CMT2 (EXIF directory)
//   raf        Fujifilm's header, the JPEG of CorpusFileStart at byte 148
//   mrw        "\0MRM", blocks PRD, TTW (the TIFF block), WBG, RIF, PAD
//   heic-mdat-first  ftyp, mdat (the image, then the Exif item), meta at the end
//   png        signature, IHDR, one IDAT over the file, eXIf after it, IEND
//   webp       RIFF WEBP: VP8X, VP8 over the file, EXIF at the end
//   jxl        JPEG XL's container: signature, ftyp, jxlc over the file, Exif at the end
//   tiff       the TIFF block of the JPEG's EXIF segment from byte 0, the image after it
//   jfif       the jpeg file with a JFIF segment first, and an ICC profile after it in one
//              file of four, a Photoshop block in one of eight (chosen by the file size)
// Files other than JPEG are at least 1 MiB longer than their start.
CorpusFile CorpusFileContents(const CorpusPhoto& photo, CorpusFormat format);

// Writes the photo's file: the start bytes followed by zeros, written up to the first
// 64 KiB, a hole (ftruncate, so the disk holds only the written blocks) and the tail at
// the end; a JPEG's tail is FF D9 and its size fileSize. Returns false with errno set on
// failure.
bool WriteCorpusFile(const std::string& path, const CorpusPhoto& photo, CorpusFormat format);
bool WriteCorpusFile(const std::string& path, const CorpusPhoto& photo);
