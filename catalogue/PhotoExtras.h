// SPDX-License-Identifier: MIT
// What the reader finds in a photo beyond the values the window as it starts shows: read
// only for the expanded window, which uses these where they are set and the record's own
// values elsewhere. The window as it starts never looks here, so nothing read into this
// struct can change what it lists, counts or draws; the catalogue reads exifPlace alone, to
// keep the photos that only the expanded window counts out of the other's view.
#pragma once

#include <cstdint>
#include <memory>

#include "catalogue/InternedName.h"

// Where the expanded window's lens name comes from, in the order the reader tries them.
enum class LensSource : std::uint8_t {
    None,
    LensModel, // the EXIF directory's LensModel (0xA434): the record's own lens
    CanonLensModel, // Canon's note, 0x0095
    CanonFocalRange, // Canon's CameraSettings (0x0001), entries 23-25
    OlympusEquipment, // Olympus's note, Equipment (0x2010) -> LensModel (0x0203)
    PanasonicLensType, // Panasonic's note, 0x0051
    SonyLensSpec, // Sony's note, LensSpec (0xB02A)
    NikonLensRange, // Nikon's note, Lens (0x0084)
    LensSpecification, // the EXIF directory's LensSpecification (0xA432)
    XmpAuxLens, // XMP aux:Lens
    XmpExifExLensModel, // XMP exifEX:LensModel
};
constexpr int kLensSourceCount = 11;

// Where the expanded window's ISO speed comes from.
enum class IsoSource : std::uint8_t {
    None,
    IsoSpeedRatings, // 0x8827: the record's own ISO
    IsoSpeed, // 0x8833
    RecommendedExposureIndex, // 0x8832
    CanonCameraSettings, // Canon's CameraSettings (0x0001), entry 16
    CanonAutoIso, // Canon's ShotInfo (0x0004): base ISO times the automatic gain
    NikonIso, // Nikon's note, 0x0002
    CasioIso, // Casio's note: 0x3014, or the older 0x0014
    KodakIso, // Kodak's binary note, bytes 96-97
};
constexpr int kIsoSourceCount = 9;

// A photo's values as read from its directories wherever they lie in the file, for a
// TIFF-based file (TIFF, DNG, NEF, CR2, ...) whose IFD0 or EXIF directory lies past the
// first 32 KiB that the window as it starts reads. Units as in PhotoRecord; 0 or empty
// where the file gives none.
struct DirectoryValues {
    InternedName camera;
    InternedName lens;
    std::int64_t taken = 0;
    std::uint16_t focal35 = 0;
    double iso = 0;
    double exposureTime = 0;
    double focalLength = 0;
    double fNumber = 0;
};

// Where the reader found a photo's EXIF block.
enum class ExifPlace : std::uint8_t {
    // Where the window as it starts looks: byte 12 of a JPEG whose first segment is EXIF,
    // byte 0 of a TIFF file, or another container's own place for it.
    Start,
    // A JPEG's APP1 "Exif" segment after other leading segments (JFIF, an ICC profile, a
    // Photoshop block, ...): a photo of the expanded window only.
    LaterSegment,
};

// Where a photo's 35 mm-equivalent focal length came from.
enum class Focal35Source : std::uint8_t {
    None, // no value
    Tag, // the photo's own FocalLengthIn35mmFilm (0xA405)
    CameraRatio, // its focal length times the ratio learnt from the same camera's photos
    FocalPlane, // its focal length times the crop worked out from the focal plane resolution
};

struct PhotoExtras {
    // EXIF directory: FocalPlaneXResolution and FocalPlaneYResolution (0xA20E, 0xA20F),
    // pixels per resolution unit on the sensor; 0 when not given.
    double focalPlaneXResolution = 0;
    double focalPlaneYResolution = 0;
    // FocalPlaneResolutionUnit (0xA210): 2 inch, 3 centimetre, 4 millimetre, 5 micrometre;
    // 0 when not given (the standard's default is inches).
    std::uint16_t focalPlaneUnit = 0;
    // PixelXDimension and PixelYDimension (0xA002, 0xA003), pixels; 0 when not given.
    std::uint32_t pixelWidth = 0;
    std::uint32_t pixelHeight = 0;
    // The 35 mm-equivalent focal length in millimetres (0: none) and its source, set by the
    // pass over the catalogue after a scan run (LearnFocal35).
    double focal35 = 0;
    Focal35Source focal35Source = Focal35Source::None;
    // Set only for a TIFF-based file with far directories: shared, unchanged, by the record
    // and its list rows.
    std::shared_ptr<const DirectoryValues> directories;
    ExifPlace exifPlace = ExifPlace::Start;
    // A lens found where LensModel is silent ("18-55 mm f/3.5-5.6" for a range); empty
    // when none, or when the record's own lens is set.
    InternedName lens;
    LensSource lensSource = LensSource::None; // also LensModel for the record's own
    // An ISO speed found where ISOSpeedRatings is missing, 0 or 65,535; 0 when none.
    double iso = 0;
    IsoSource isoSource = IsoSource::None; // also IsoSpeedRatings for the record's own
};

// "LensModel", "Canon LensModel (0x0095)", ...: the source's name as the list's tooltip and
// the bench write it; "" for None.
const char* LensSourceText(LensSource source);
const char* IsoSourceText(IsoSource source);

// The lens the expanded window shows for a record or a row: its own, else the extras'.
template <class R> const InternedName& ExpandedLens(const R& r)
{
    return r.lens.empty() ? r.extras.lens : r.lens;
}

// The ISO speed the expanded window uses for a record: the extras' where set (only where
// the record's own is missing, 0 or 65,535), else the record's.
template <class R> double ExpandedIso(const R& record)
{
    return record.extras.iso != 0 ? record.extras.iso : record.iso;
}
