// SPDX-License-Identifier: MIT
#include "catalogue/MakerNotes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "catalogue/ExifReader.h"
#include "catalogue/PhotoCatalogue.h"
#include "tests/catalogue/ExifTestFiles.h"
#include "tests/support/CorpusPhoto.h"

namespace {

// Parses exactly the bytes, from a heap block of their size, so that the address
// sanitizer sees a read past them.
bool Parse(const Bytes& bytes, PhotoRecord& record)
{
    const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return ParseExif(record, copy.get(), bytes.size());
}

// A photo of maker's make and model without LensModel and ISOSpeedRatings.
CorpusPhoto Photo(const char* make, const char* model, CorpusNote note)
{
    CorpusPhoto photo;
    photo.make = make;
    photo.model = model;
    photo.note = note;
    photo.fNumber = { 28, 10 };
    return photo;
}

struct NoteCase {
    CorpusPhoto photo;
    const char* lens;
    LensSource lensSource;
    double iso;
    IsoSource isoSource;
};

std::vector<NoteCase> NoteCases()
{
    std::vector<NoteCase> cases;
    const auto add
        = [&cases](CorpusPhoto p, const char* lens, LensSource ls, double iso, IsoSource is) {
              cases.push_back({ std::move(p), lens, ls, iso, is });
          };
    CorpusPhoto canon = Photo("Canon", "Canon EOS 40D", CorpusNote::Canon);
    std::tie(canon.noteLens, canon.noteFocal[0], canon.noteFocal[1], canon.noteIso)
        = std::make_tuple("EF-S18-55mm f/3.5-5.6 IS", 18, 55, 100);
    add(canon, "EF-S18-55mm f/3.5-5.6 IS", LensSource::CanonLensModel, 100,
        IsoSource::CanonCameraSettings);
    std::tie(canon.noteLens, canon.noteIso) = std::make_tuple("", 3200);
    add(canon, "18-55 mm", LensSource::CanonFocalRange, 3200, IsoSource::CanonCameraSettings);
    std::tie(canon.noteFocal[0], canon.noteFocal[1], canon.noteIso, canon.canonAutoIso)
        = std::make_tuple(70, 200, 400, true);
    add(canon, "70-200 mm", LensSource::CanonFocalRange, 400, IsoSource::CanonAutoIso);

    CorpusPhoto nikon = Photo("NIKON CORPORATION", "NIKON D700", CorpusNote::Nikon);
    std::tie(nikon.noteFocal[0], nikon.noteFocal[1], nikon.noteF[0], nikon.noteF[1], nikon.noteIso)
        = std::make_tuple(18, 70, 35, 45, 800);
    add(nikon, "18-70 mm f/3.5-4.5", LensSource::NikonLensRange, 800, IsoSource::NikonIso);

    CorpusPhoto olympus = Photo("OLYMPUS IMAGING CORP.", "E-M5", CorpusNote::Olympus);
    olympus.noteLens = "OLYMPUS M.14-42mm F3.5-5.6";
    add(olympus, "OLYMPUS M.14-42mm F3.5-5.6", LensSource::OlympusEquipment, 0, IsoSource::None);
    olympus.note = CorpusNote::OlympusOld;
    olympus.noteLens = "ZUIKO DIGITAL 14-45mm F3.5-5.6";
    add(olympus, "ZUIKO DIGITAL 14-45mm F3.5-5.6", LensSource::OlympusEquipment, 0,
        IsoSource::None);
    CorpusPhoto panasonic = Photo("Panasonic", "DMC-GH4", CorpusNote::Panasonic);
    panasonic.noteLens = "LUMIX G VARIO 14-42/F3.5-5.6";
    add(panasonic, "LUMIX G VARIO 14-42/F3.5-5.6", LensSource::PanasonicLensType, 0,
        IsoSource::None);
    CorpusPhoto sony = Photo("SONY", "DSLR-A700", CorpusNote::Sony);
    std::tie(sony.noteFocal[0], sony.noteFocal[1], sony.noteF[0], sony.noteF[1])
        = std::make_tuple(18, 250, 35, 63);
    add(sony, "18-250 mm f/3.5-6.3", LensSource::SonyLensSpec, 0, IsoSource::None);

    CorpusPhoto casio = Photo("CASIO COMPUTER CO.,LTD.", "EX-Z750", CorpusNote::Casio);
    casio.noteIso = 250;
    add(casio, "", LensSource::None, 250, IsoSource::CasioIso);
    casio.note = CorpusNote::CasioOld;
    casio.noteIso = 200;
    add(casio, "", LensSource::None, 200, IsoSource::CasioIso);
    CorpusPhoto kodak = Photo("EASTMAN KODAK COMPANY", "KODAK Z740 ZOOM", CorpusNote::Kodak);
    kodak.noteIso = 160;
    add(kodak, "", LensSource::None, 160, IsoSource::KodakIso);

    // The standard tags: 65,535 in ISOSpeedRatings gives way to ISOSpeed, or to the
    // recommended index where SensitivityType (2) says only that one is recorded.
    CorpusPhoto standard = Photo("ACME", "CAM-7", CorpusNote::Opaque);
    standard.lensSpecification[0] = { 24, 1 };
    standard.lensSpecification[1] = { 105, 1 };
    standard.lensSpecification[2] = { 4, 1 };
    standard.lensSpecification[3] = { 4, 1 };
    std::tie(standard.iso, standard.isoSpeed) = std::make_tuple(65535, 102400);
    add(standard, "24-105 mm f/4", LensSource::LensSpecification, 102400, IsoSource::IsoSpeed);
    standard.lensSpecification[2] = { 0, 0 }; // unknown f-numbers
    std::tie(standard.sensitivityType, standard.recommendedExposureIndex)
        = std::make_tuple(2, 51200);
    add(standard, "24-105 mm", LensSource::LensSpecification, 51200,
        IsoSource::RecommendedExposureIndex);

    CorpusPhoto xmp = Photo("ACME", "CAM-7", CorpusNote::Opaque);
    xmp.xmp = "<x:xmpmeta><rdf:Description aux:LensID=\"7\" aux:Lens=\"EF50mm f/1.8 &amp; II\"/>";
    add(xmp, "EF50mm f/1.8 & II", LensSource::XmpAuxLens, 0, IsoSource::None);
    xmp.xmp = "<aux:LensInfo>1</aux:LensInfo></aux:Lens><exifEX:LensModel> XF35mmF1.4 R "
              "</exifEX:LensModel>";
    add(xmp, "XF35mmF1.4 R", LensSource::XmpExifExLensModel, 0, IsoSource::None);
    // The record's own lens and ISO stand whatever the note says.
    nikon.lens = "AF-S NIKKOR 50mm f/1.8G";
    nikon.iso = 200;
    add(nikon, "", LensSource::LensModel, 0, IsoSource::IsoSpeedRatings);
    return cases;
}

} // namespace

TEST(MakerNotes, EachMakersNoteGivesTheExpandedLensAndIsoInBothByteOrdersTheRecordKeepsItsOwn)
{
    int seeds = 0;
    for (const NoteCase& c : NoteCases()) {
        for (const bool big : { false, true }) {
            CorpusPhoto photo = c.photo;
            photo.bigEndian = big;
            const Bytes bytes = CorpusFileStart(photo);
            // With FOTOLOT_FUZZ_SEEDS naming a folder, the file is saved there as a seed of
            // the fuzz target (tests/fuzz/seeds/makernote-* were made so).
            if (const char* folder = std::getenv("FOTOLOT_FUZZ_SEEDS"))
                std::ofstream(
                    std::string(folder) + "/makernote-" + std::to_string(seeds++), std::ios::binary)
                    .write(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<std::streamsize>(bytes.size()));
            PhotoRecord r;
            ASSERT_TRUE(Parse(bytes, r));
            const std::string what = photo.make + (big ? " MM" : " II") + ' ' + c.lens;
            EXPECT_EQ(std::make_tuple(r.extras.lens.str(), r.extras.lensSource, r.extras.iso,
                          r.extras.isoSource),
                std::make_tuple(std::string(c.lens), c.lensSource, c.iso, c.isoSource))
                << what;
            // The window as it starts sees the standard tags alone.
            EXPECT_EQ(std::make_tuple(r.lens.str(), r.iso, r.fNumber),
                std::make_tuple(photo.lens, double(photo.iso), 2.8))
                << what;
        }
    }
}

TEST(MakerNotes, CutAndMisplacedNotesAreIgnoredThePhotoStaysAccepted)
{
    for (const NoteCase& c : NoteCases()) {
        for (const bool big : { false, true }) {
            CorpusPhoto photo = c.photo;
            photo.bigEndian = big;
            const Bytes whole = CorpusFileStart(photo);
            // The bytes read cut every few bytes through the directories and the note: the
            // photo stays accepted, and the address sanitizer sees no read past the cut.
            for (std::size_t size = 20; size < whole.size() - 4000; size += 7) {
                PhotoRecord r;
                ASSERT_TRUE(Parse(Bytes(whole.begin(), whole.begin() + size), r)) << size;
            }
            // The MakerNote entry (tag 927C, type 7) pointing far outside the bytes read.
            const Bytes tag = big ? Hex("927C0007") : Hex("7C920700");
            Bytes moved = whole;
            const auto at = std::search(moved.begin(), moved.end(), tag.begin(), tag.end());
            ASSERT_NE(at, moved.end());
            std::fill(at + 8, at + 12, 0xFF);
            PhotoRecord r;
            ASSERT_TRUE(Parse(moved, r));
            EXPECT_EQ(r.camera.empty(), false);
            if (photo.note != CorpusNote::Opaque) {
                EXPECT_EQ(r.extras.iso, 0) << photo.make;
            }
        }
    }
}

TEST(MakerNotes, AnXmpValueCutAtTheEndOfTheFirstReadIsNotTaken)
{
    CorpusPhoto photo = Photo("ACME", "CAM-7", CorpusNote::Opaque);
    photo.xmp = "<rdf:Description aux:Lens=\"EF50mm f/1.8 II\"/>";
    const Bytes probe = CorpusFileStart(photo);
    const std::string value = "EF50mm";
    const std::size_t valueAt = static_cast<std::size_t>(
        std::search(probe.begin(), probe.end(), value.begin(), value.end()) - probe.begin());
    // Padded so that the value straddles byte 32,768.
    photo.xmp = std::string(kExifReadSize - valueAt - 4, ' ') + photo.xmp;
    const Bytes bytes = CorpusFileStart(photo);
    ASSERT_GT(bytes.size(), kExifReadSize);
    for (const auto& [size, lens] : { std::make_pair(kExifReadSize, ""),
             std::make_pair(kExifReadSize + 20, "EF50mm f/1.8 II") }) {
        PhotoRecord r;
        ASSERT_TRUE(Parse(Bytes(bytes.begin(), bytes.begin() + size), r));
        EXPECT_EQ(r.extras.lens, lens) << size;
    }
}

TEST(MakerNotes, LensRangesAreWrittenAsPhotographersWriteThem)
{
    const std::tuple<double, double, double, double, const char*> rows[] = {
        { 18, 70, 3.5, 4.5, "18-70 mm f/3.5-4.5" },
        { 18, 18, 2.8, 2.8, "18 mm f/2.8" },
        { 70, 200, 2.8, 2.8, "70-200 mm f/2.8" },
        { 6.2, 18.6, 0, 0, "6.2-18.6 mm" },
        { 50, 50, 1.4, 0, "50 mm f/1.4" },
        { 0, 50, 2, 2, "" },
        { 50, 35, 2, 2, "" },
    };
    for (const auto& [minFocal, maxFocal, minF, maxF, text] : rows)
        EXPECT_EQ(LensRangeText(minFocal, maxFocal, minF, maxF), text);
}
