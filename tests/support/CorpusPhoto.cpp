// SPDX-License-Identifier: MIT
#include "tests/support/CorpusPhoto.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <utility>

double CorpusRational::Value() const
{
    return static_cast<double>(numerator) / static_cast<double>(denominator);
}

std::uint64_t CorpusRandom::Next()
{
    m_state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

namespace {

enum class CameraKind { Slr, Compact, Phone };

struct Maker {
    const char* make;
    const char* const* models;
    std::size_t modelCount;
    CameraKind kind;
    // How the maker's firmware writes f-numbers: 1 for 2/1 and 28/10, 10 for 20/10 and
    // 28/10, 100 for 280/100; makers with 100 write exposure times as 10/1250 too.
    std::uint32_t fDenominator;
};

template <std::size_t N>
constexpr Maker MakerOf(
    const char* make, const char* const (&models)[N], CameraKind kind, std::uint32_t fDenominator)
{
    return Maker { make, models, N, kind, fDenominator };
}

// Model texts are at least four characters, so that as EXIF ASCII values (with their
// NUL) they never fit the entry's 4-byte value field and always lie at an offset.
const char* const kNikon[]
    = { "NIKON D700", "NIKON D3200", "NIKON D850", "COOLPIX P7000", "NIKON Z 6" };
const char* const kCanonUpper[] = { "Canon EOS 5D Mark II", "Canon EOS 40D", "Canon EOS R6" };
const char* const kCanonPower[] = { "Canon PowerShot G9", "Canon PowerShot S95", "Canon IXUS 70" };
const char* const kKodak[]
    = { "KODAK DC290 ZOOM DIGITAL CAMERA", "KODAK EASYSHARE Z990", "DCS Pro 14N" };
const char* const kSony[] = { "DSC-RX100", "ILCE-7M3", "DSLR-A700", "SONY DSC-W55" };
const char* const kOlympus[] = { "E-M5", "C-5050Z", "E-520", "u760,S760" };
const char* const kPentax[] = { "PENTAX K-5", "PENTAX *ist DS", "PENTAX K-1 Mark II" };
const char* const kSigma[] = { "SIGMA SD14", "SIGMA DP2 Merrill", "SIGMA fp" };
const char* const kFuji[] = { "X-T2", "FinePix S5Pro", "X100V", "FUJIFILM GFX 50S" };
const char* const kApple[] = { "iPhone 12", "iPhone XR", "iPhone 14 Pro" };
const char* const kSamsung[] = { "SM-G991B", "SM-A525F" };
const char* const kLeica[] = { "LEICA M10", "LEICA Q2" };
const char* const kPanasonic[] = { "DMC-GH4", "DC-G9", "DMC-FZ1000" };
const char* const kRicoh[] = { "GR III", "RICOH GR DIGITAL 4" };

const Maker kMakers[] = {
    MakerOf("NIKON CORPORATION", kNikon, CameraKind::Slr, 10),
    MakerOf("NIKON", kNikon, CameraKind::Compact, 10),
    MakerOf("Canon", kCanonUpper, CameraKind::Slr, 1),
    MakerOf("Canon", kCanonPower, CameraKind::Compact, 10),
    MakerOf("CANON", kCanonPower, CameraKind::Compact, 10),
    MakerOf("EASTMAN KODAK COMPANY", kKodak, CameraKind::Compact, 100),
    MakerOf("SONY", kSony, CameraKind::Slr, 10),
    MakerOf("OLYMPUS IMAGING CORP.", kOlympus, CameraKind::Compact, 10),
    MakerOf("OLYMPUS OPTICAL CO.,LTD", kOlympus, CameraKind::Compact, 10),
    MakerOf("PENTAX Corporation", kPentax, CameraKind::Slr, 10),
    MakerOf("SIGMA", kSigma, CameraKind::Slr, 10),
    MakerOf("FUJIFILM", kFuji, CameraKind::Slr, 100),
    MakerOf("Apple", kApple, CameraKind::Phone, 100),
    MakerOf("samsung", kSamsung, CameraKind::Phone, 100),
    MakerOf("LEICA CAMERA AG", kLeica, CameraKind::Slr, 10),
    MakerOf("Panasonic", kPanasonic, CameraKind::Compact, 10),
    MakerOf("RICOH IMAGING COMPANY, LTD.", kRicoh, CameraKind::Compact, 10),
};

// Marked f-numbers, in tenths.
const std::uint32_t kSlrApertures[]
    = { 14, 18, 20, 28, 35, 40, 45, 50, 56, 63, 71, 80, 90, 100, 110, 130, 160, 220 };
const std::uint32_t kCompactApertures[] = { 28, 32, 35, 40, 45, 48, 50, 56, 63, 71, 80 };
const std::uint32_t kPhoneApertures[] = { 15, 16, 18, 22, 24 };

// Shutter speeds below one second, as 1/N.
const std::uint32_t kShutterDenominators[] = { 4000, 2000, 1600, 1250, 1000, 800, 640, 500, 400,
    320, 250, 200, 160, 125, 100, 80, 60, 50, 40, 30, 25, 20, 15, 13, 10, 8, 6, 5, 4, 3, 2 };
// Long exposures in tenths of a second.
const std::uint32_t kLongExposures[] = { 10, 13, 16, 20, 25, 30, 40, 50, 80, 100, 150, 300 };

const std::uint16_t kIsoSpeeds[] = { 50, 64, 80, 100, 125, 160, 200, 250, 320, 400, 500, 640, 800,
    1000, 1250, 1600, 2000, 2500, 3200, 6400, 12800 };

// Focal lengths of prime lenses and zoom ends, millimetres.
const std::uint32_t kSlrFocals[] = { 14, 18, 24, 28, 35, 50, 55, 70, 85, 105, 135, 200, 300, 400 };
// Phone lenses, hundredths of a millimetre.
const std::uint32_t kPhoneFocals[] = { 154, 425, 399, 600, 677, 900 };

template <typename T, std::size_t N> T Pick(CorpusRandom& random, const T (&values)[N])
{
    return values[random.Below(N)];
}

} // namespace

namespace {

// The maker's own note as its firmware writes it, from the make and the bits of mix (no
// draw of the generator, so that the other settings stay those of earlier corpora): the
// lens (also where LensModel is left out) and the ISO speed.
void AddMakerNote(CorpusPhoto& photo, bool slr, std::uint64_t mix)
{
    const std::pair<const char*, CorpusNote> kNotes[] = { { "NIKON", CorpusNote::Nikon },
        { "Canon", CorpusNote::Canon }, { "CANON", CorpusNote::Canon },
        { "EASTMAN KODAK", CorpusNote::Kodak }, { "SONY", CorpusNote::Sony },
        { "OLYMPUS IMAGING", CorpusNote::Olympus }, { "OLYMPUS OPTICAL", CorpusNote::OlympusOld },
        { "Panasonic", CorpusNote::Panasonic } };
    for (const auto& [make, note] : kNotes)
        if (photo.make.rfind(make, 0) == 0)
            photo.note = note;
    const bool tele = (mix >> 48) % 2 != 0;
    const std::uint16_t slrFocal[2][2] = { { 18, 55 }, { 70, 200 } };
    const std::uint16_t slrF[2][2] = { { 35, 56 }, { 28, 28 } };
    for (int i = 0; i < 2; ++i) {
        photo.noteFocal[i] = slr ? slrFocal[tele][i] : (i == 0 ? 5 : 50);
        photo.noteF[i] = slr ? slrF[tele][i] : (i == 0 ? 28 : 59);
    }
    // The note's lens text, where the maker writes one: one shot in four without it.
    const bool text = (mix >> 49) % 4 != 0;
    photo.noteLens = !text                    ? ""
        : photo.note == CorpusNote::Canon     ? "EF-S18-55mm f/3.5-5.6 IS"
        : photo.note == CorpusNote::Panasonic ? "LUMIX G VARIO 14-42/F3.5-5.6"
        : photo.note == CorpusNote::Olympus || photo.note == CorpusNote::OlympusOld
        ? "OLYMPUS M.14-42mm F3.5-5.6"
        : "";
    photo.noteIso = photo.iso != 0 ? photo.iso : 400;
    // Makers without a note the reader knows write the standard LensSpecification.
    if (photo.note == CorpusNote::Opaque && slr) {
        for (int i = 0; i < 2; ++i) {
            photo.lensSpecification[i] = { photo.noteFocal[i], 1 };
            photo.lensSpecification[2 + i] = { photo.noteF[i], 10 };
        }
    }
}

} // namespace

CorpusPhoto DrawCorpusPhoto(CorpusRandom& random)
{
    CorpusPhoto photo;
    const Maker& maker = Pick(random, kMakers);
    photo.make = maker.make;
    photo.model = maker.models[random.Below(maker.modelCount)];

    switch (maker.kind) {
    case CameraKind::Slr: {
        const std::uint32_t tenths = Pick(random, kSlrApertures);
        if (maker.fDenominator == 1)
            photo.fNumber = tenths % 10 == 0 ? CorpusRational { tenths / 10, 1 }
                                             : CorpusRational { tenths, 10 };
        else
            photo.fNumber = { tenths * maker.fDenominator / 10, maker.fDenominator };
        // Half the shots on a zoom anywhere in its range, half at a marked length.
        if (random.Below(2) == 0)
            photo.focalLength = { Pick(random, kSlrFocals), 1 };
        else
            photo.focalLength = { static_cast<std::uint32_t>(18 + random.Below(183)), 1 };
        break;
    }
    case CameraKind::Compact: {
        const std::uint32_t tenths = Pick(random, kCompactApertures);
        photo.fNumber = { tenths * maker.fDenominator / 10, maker.fDenominator };
        // 4.3 to 40 mm in tenths of a millimetre.
        photo.focalLength = { static_cast<std::uint32_t>(43 + random.Below(358)), 10 };
        break;
    }
    case CameraKind::Phone:
        photo.fNumber = { Pick(random, kPhoneApertures) * 10, 100 };
        photo.focalLength = { Pick(random, kPhoneFocals), 100 };
        break;
    }

    if (random.Below(20) == 0)
        photo.exposureTime = { Pick(random, kLongExposures), 10 };
    else if (maker.fDenominator == 100)
        photo.exposureTime = { 10, Pick(random, kShutterDenominators) * 10 };
    else
        photo.exposureTime = { 1, Pick(random, kShutterDenominators) };
    photo.iso = Pick(random, kIsoSpeeds);

    // A few files lack a value, as edited or very old files do.
    if (random.Below(50) == 0)
        photo.focalLength = {};
    if (random.Below(50) == 0)
        photo.iso = 0;
    if (random.Below(100) == 0)
        photo.model.clear();

    photo.bigEndian = random.Below(2) == 0;
    photo.jfifFirst = random.Below(50) == 0;
    // 1 MB to 12 MB.
    photo.fileSize = (1ULL << 20) + random.Below(11ULL << 20);

    // A lens of the camera's kind (one in eight without any), a day of 2015 to 2024 and
    // a 35 mm-equivalent focal length for most.
    static const char* const kSlrLenses[] = { "EF24-105mm f/4L IS USM", "AF-S NIKKOR 50mm f/1.8G",
        "FE 24-70mm F2.8 GM", "XF35mmF1.4 R", "EF70-200mm f/2.8L IS II USM" };
    static const char* const kFixedLenses[]
        = { "iPhone 12 back camera 4.2mm f/1.6", "Pixel 6 main camera", "4.3-43.0 mm" };
    const std::uint64_t mix = photo.fileSize * 0x9E3779B97F4A7C15ULL;
    if ((mix >> 61) != 0)
        photo.lens = maker.kind == CameraKind::Slr ? kSlrLenses[(mix >> 20) % 5]
                                                   : kFixedLenses[(mix >> 20) % 3];
    char date[20];
    std::snprintf(date, sizeof date, "%04u:%02u:%02u %02u:%02u:%02u",
        static_cast<unsigned>(2015 + (mix >> 8) % 10), static_cast<unsigned>(1 + (mix >> 12) % 12),
        static_cast<unsigned>(1 + (mix >> 16) % 28), static_cast<unsigned>((mix >> 24) % 24),
        static_cast<unsigned>((mix >> 30) % 60), static_cast<unsigned>((mix >> 36) % 60));
    photo.dateTime = date;
    if (photo.focalLength.Present() && (mix >> 42) % 8 != 0)
        photo.focal35 = static_cast<std::uint16_t>(std::min(
            65535.0, photo.focalLength.Value() * (maker.kind == CameraKind::Slr ? 1.5 : 6.0)));
    AddMakerNote(photo, maker.kind == CameraKind::Slr, mix);
    return photo;
}

namespace {

// EXIF value types.
constexpr std::uint16_t kAscii = 2;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;
constexpr std::uint16_t kRational = 5;
constexpr std::uint16_t kUndefined = 7;
constexpr std::uint16_t kSignedRational = 10;

// One directory entry before layout: a value that fits 4 bytes lies in the entry, any
// other in the data area after the directory.
struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::vector<std::uint8_t> data; // in the file's byte order
};

class TiffBuilder {
public:
    // shift is added to every offset written: a note's data offsets count from the TIFF
    // base (the note's own offset), from its start (0) or from a header inside it.
    explicit TiffBuilder(bool bigEndian, std::int64_t shift = 0)
        : m_bigEndian(bigEndian)
        , m_shift(shift)
    {
    }

    std::vector<std::uint8_t>& Bytes() { return m_bytes; }

    void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) const
    {
        const std::uint8_t hi = static_cast<std::uint8_t>(v >> 8);
        const std::uint8_t lo = static_cast<std::uint8_t>(v);
        out.push_back(m_bigEndian ? hi : lo);
        out.push_back(m_bigEndian ? lo : hi);
    }
    void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) const
    {
        if (m_bigEndian) {
            Put16(out, static_cast<std::uint16_t>(v >> 16));
            Put16(out, static_cast<std::uint16_t>(v));
        } else {
            Put16(out, static_cast<std::uint16_t>(v));
            Put16(out, static_cast<std::uint16_t>(v >> 16));
        }
    }
    void Patch32(std::size_t at, std::uint32_t v)
    {
        std::vector<std::uint8_t> tmp;
        Put32(tmp, v);
        for (std::size_t i = 0; i < 4; ++i)
            m_bytes[at + i] = tmp[i];
    }

    Entry Short(std::uint16_t tag, std::uint16_t v) const
    {
        Entry e { tag, kShort, 1, {} };
        Put16(e.data, v);
        return e;
    }
    Entry Long(std::uint16_t tag, std::uint32_t v) const
    {
        Entry e { tag, kLong, 1, {} };
        Put32(e.data, v);
        return e;
    }
    Entry Rational(std::uint16_t tag, CorpusRational r, std::uint16_t type = kRational) const
    {
        Entry e { tag, type, 1, {} };
        Put32(e.data, r.numerator);
        Put32(e.data, r.denominator);
        return e;
    }
    static Entry Ascii(std::uint16_t tag, const std::string& text)
    {
        Entry e { tag, kAscii, static_cast<std::uint32_t>(text.size() + 1),
            { text.begin(), text.end() } };
        e.data.push_back(0);
        return e;
    }
    static Entry Undefined(std::uint16_t tag, std::vector<std::uint8_t> bytes)
    {
        const auto count = static_cast<std::uint32_t>(bytes.size());
        return Entry { tag, kUndefined, count, std::move(bytes) };
    }

    // Appends a directory of the entries (sorted by tag, as EXIF wants) and its data
    // area. Returns the directory's offset from the TIFF base; *nextLinkAt gets the
    // position of its link to a following directory, *valueAt[i] that of entry i's
    // value field.
    std::uint32_t AppendDirectory(const std::vector<Entry>& entries, std::size_t* nextLinkAt,
        std::vector<std::size_t>* valueAt = nullptr)
    {
        const auto dirOffset = static_cast<std::uint32_t>(m_bytes.size());
        std::size_t dataOffset = m_bytes.size() + 2 + 12 * entries.size() + 4;
        std::vector<std::uint8_t> data;
        Put16(m_bytes, static_cast<std::uint16_t>(entries.size()));
        for (const Entry& e : entries) {
            Put16(m_bytes, e.tag);
            Put16(m_bytes, e.type);
            Put32(m_bytes, e.count);
            if (valueAt)
                valueAt->push_back(m_bytes.size());
            if (e.data.size() <= 4) {
                std::vector<std::uint8_t> field = e.data;
                field.resize(4, 0);
                m_bytes.insert(m_bytes.end(), field.begin(), field.end());
            } else {
                Put32(m_bytes,
                    static_cast<std::uint32_t>(
                        static_cast<std::int64_t>(dataOffset + data.size()) + m_shift));
                data.insert(data.end(), e.data.begin(), e.data.end());
                if (data.size() % 2 != 0) // values start on word boundaries
                    data.push_back(0);
            }
        }
        if (nextLinkAt)
            *nextLinkAt = m_bytes.size();
        Put32(m_bytes, 0);
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
        return dirOffset;
    }

    std::int64_t Shift() const { return m_shift; }

private:
    bool m_bigEndian;
    std::int64_t m_shift;
    std::vector<std::uint8_t> m_bytes;
};

// Tags written besides the seven the reader takes, so that the directories are as long
// as a camera's.
constexpr std::uint16_t kTagMake = 0x010F;
constexpr std::uint16_t kTagModel = 0x0110;
constexpr std::uint16_t kTagExifIfd = 0x8769;
constexpr std::uint16_t kTagExposureTime = 0x829A;
constexpr std::uint16_t kTagFNumber = 0x829D;
constexpr std::uint16_t kTagIso = 0x8827;
constexpr std::uint16_t kTagFocalLength = 0x920A;
constexpr std::uint16_t kTagThumbnailOffset = 0x0201;
constexpr std::uint16_t kTagThumbnailLength = 0x0202;

// The maker's notes of the corpus and the EXIF entries the expanded window reads.

void PutTiffHeader(TiffBuilder& tiff, bool bigEndian);

constexpr std::uint16_t kTagMakerNote = 0x927C;

std::vector<std::uint8_t> Text(const char* text, std::size_t n)
{
    return std::vector<std::uint8_t>(text, text + n);
}

// A directory of entries at the end of note, its data offsets shifted by tiff's shift.
void AppendNoteDirectory(TiffBuilder& tiff, const std::vector<Entry>& entries)
{
    tiff.AppendDirectory(entries, nullptr);
}

// The note of photo when its bytes start at noteAt from the TIFF base.
std::vector<std::uint8_t> MakerNote(const CorpusPhoto& photo, std::uint32_t noteAt)
{
    const bool big = photo.bigEndian;
    const auto at = static_cast<std::int64_t>(noteAt);
    const std::uint16_t* focal = photo.noteFocal;
    const std::uint16_t* f = photo.noteF;
    std::vector<std::uint8_t> header;
    std::int64_t shift = at; // offsets from the TIFF base
    switch (photo.note) {
    case CorpusNote::Opaque:
        return std::vector<std::uint8_t>(384, 0x5A);
    case CorpusNote::Nikon:
        header = Text("Nikon\0\x02\x10\0\0", 10);
        shift = -10;
        break;
    case CorpusNote::Olympus:
        header = Text(big ? "OLYMPUS\0MM\0\x03" : "OLYMPUS\0II\x03\0", 12);
        shift = 0;
        break;
    case CorpusNote::OlympusOld:
        header = Text("OLYMP\0\x01\0", 8);
        break;
    case CorpusNote::Panasonic:
        header = Text("Panasonic\0\0\0", 12);
        break;
    case CorpusNote::Sony:
        header = Text("SONY DSC \0\0\0", 12);
        break;
    case CorpusNote::Casio:
        header = Text("QVC\0\0\0", 6);
        break;
    case CorpusNote::Kodak: {
        TiffBuilder record(big);
        std::vector<std::uint8_t>& bytes = record.Bytes();
        bytes = Text("KODAK Z7", 8);
        bytes.resize(16, 0);
        record.Put16(bytes, 2006); // the year taken
        bytes.resize(96, 0);
        record.Put16(bytes, photo.noteIso);
        bytes.resize(192, 0);
        return bytes;
    }
    default:
        break;
    }
    TiffBuilder tiff(big, shift);
    std::vector<std::uint8_t>& bytes = tiff.Bytes();
    bytes = header;
    if (photo.note == CorpusNote::Nikon)
        PutTiffHeader(tiff, big);
    std::vector<Entry> entries;
    switch (photo.note) {
    case CorpusNote::Canon: {
        // CameraSettings: [0] its size in bytes, [16] ISO, [23] [24] [25] the focal range
        // in units of 1/[25] mm. ShotInfo: [1] automatic gain, [2] base ISO in 32nds of a
        // stop (160: ISO 100).
        std::uint16_t settings[28] = { 56 };
        std::uint16_t code = static_cast<std::uint16_t>(0x4000 | photo.noteIso);
        for (std::uint16_t c = 16; c <= 20; ++c)
            if (photo.noteIso == 50 << (c - 16))
                code = c;
        settings[16] = photo.canonAutoIso ? 15 : code;
        settings[23] = static_cast<std::uint16_t>(focal[1] * 10);
        settings[24] = static_cast<std::uint16_t>(focal[0] * 10);
        settings[25] = 10;
        Entry cameraSettings { 0x0001, 3, 28, {} };
        for (std::uint16_t v : settings)
            tiff.Put16(cameraSettings.data, v);
        entries.push_back(cameraSettings);
        const double stops = photo.noteIso > 0 ? std::log2(photo.noteIso / 100.0) : 0;
        Entry shotInfo { 0x0004, 3, 4, {} };
        for (std::uint16_t v : { 8, static_cast<int>(std::lround(stops * 32)), 160, 0 })
            tiff.Put16(shotInfo.data, v);
        entries.push_back(shotInfo);
        if (!photo.noteLens.empty())
            entries.push_back(TiffBuilder::Ascii(0x0095, photo.noteLens));
        break;
    }
    case CorpusNote::Nikon: {
        Entry iso { 0x0002, 3, 2, {} };
        tiff.Put16(iso.data, 0);
        tiff.Put16(iso.data, photo.noteIso);
        entries.push_back(iso);
        Entry lens { 0x0084, 5, 4, {} };
        for (std::uint32_t v : { focal[0] * 10u, focal[1] * 10u, f[0] * 1u, f[1] * 1u }) {
            tiff.Put32(lens.data, v);
            tiff.Put32(lens.data, 10);
        }
        entries.push_back(lens);
        break;
    }
    case CorpusNote::Olympus:
    case CorpusNote::OlympusOld: {
        // The Equipment pointer first, its sub-directory after the main one.
        std::vector<std::size_t> valueAt;
        tiff.AppendDirectory({ tiff.Long(0x0200, 0), tiff.Long(0x2010, 0) }, nullptr, &valueAt);
        const auto sub = static_cast<std::int64_t>(bytes.size()) + tiff.Shift();
        tiff.Patch32(valueAt[1], static_cast<std::uint32_t>(sub));
        entries.push_back(TiffBuilder::Ascii(0x0203, photo.noteLens));
        break;
    }
    case CorpusNote::Panasonic:
        entries.push_back(TiffBuilder::Ascii(0x0051, photo.noteLens));
        break;
    case CorpusNote::Sony: {
        auto bcd
            = [](unsigned v) { return static_cast<std::uint8_t>((v / 10 % 10) << 4 | v % 10); };
        entries.push_back(TiffBuilder::Undefined(0xB02A,
            { 0, bcd(focal[0] / 100), bcd(focal[0]), bcd(focal[1] / 100), bcd(focal[1]), bcd(f[0]),
                bcd(f[1]), 0 }));
        break;
    }
    case CorpusNote::Casio:
        entries.push_back(tiff.Short(0x3014, photo.noteIso));
        break;
    case CorpusNote::CasioOld: // 3: 50, 4: 64, 6: 100, 9: 200
        entries.push_back(tiff.Short(0x0014, photo.noteIso == 200 ? 9 : 6));
        break;
    default:
        break;
    }
    AppendNoteDirectory(tiff, entries);
    return bytes;
}

// Writes the maker's note of the EXIF directory appended with entries (valueAt: where
// their value fields lie) again, for where it landed.
void PlaceMakerNote(TiffBuilder& tiff, const CorpusPhoto& photo, const std::vector<Entry>& entries,
    const std::vector<std::size_t>& valueAt)
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].tag != kTagMakerNote)
            continue;
        std::vector<std::uint8_t>& bytes = tiff.Bytes();
        const std::size_t at = valueAt[i];
        const std::uint32_t noteAt = photo.bigEndian
            ? (std::uint32_t { bytes[at] } << 24 | std::uint32_t { bytes[at + 1] } << 16
                | std::uint32_t { bytes[at + 2] } << 8 | bytes[at + 3])
            : (std::uint32_t { bytes[at + 3] } << 24 | std::uint32_t { bytes[at + 2] } << 16
                | std::uint32_t { bytes[at + 1] } << 8 | bytes[at]);
        const std::vector<std::uint8_t> note = MakerNote(photo, noteAt);
        std::copy(note.begin(), note.end(), bytes.begin() + noteAt);
    }
}

// LensSpecification, SensitivityType, ISOSpeed and RecommendedExposureIndex, in tag order
// among the others.
void AddExtraEntries(const TiffBuilder& tiff, const CorpusPhoto& photo, std::vector<Entry>& exif)
{
    if (photo.sensitivityType != 0)
        exif.push_back(tiff.Short(0x8830, photo.sensitivityType));
    if (photo.recommendedExposureIndex != 0)
        exif.push_back(tiff.Long(0x8832, photo.recommendedExposureIndex));
    if (photo.isoSpeed != 0)
        exif.push_back(tiff.Long(0x8833, photo.isoSpeed));
    if (photo.lensSpecification[0].Present()) {
        Entry lensRange { 0xA432, kRational, 4, {} };
        for (const CorpusRational& r : photo.lensSpecification) {
            tiff.Put32(lensRange.data, r.numerator);
            tiff.Put32(lensRange.data, r.denominator);
        }
        exif.push_back(lensRange);
    }
    std::stable_sort(
        exif.begin(), exif.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
}

// IFD0's entries; the last is the EXIF pointer, to be patched, when withExifPointer.
std::vector<Entry> ImageEntries(
    const TiffBuilder& tiff, const CorpusPhoto& photo, bool withExifPointer)
{
    const std::string& dateTime = photo.dateTime;
    std::vector<Entry> ifd0;
    if (!photo.make.empty())
        ifd0.push_back(TiffBuilder::Ascii(kTagMake, photo.make));
    if (!photo.model.empty())
        ifd0.push_back(TiffBuilder::Ascii(kTagModel, photo.model));
    ifd0.push_back(tiff.Short(0x0112, 1)); // Orientation
    ifd0.push_back(tiff.Rational(0x011A, { 72, 1 })); // XResolution
    ifd0.push_back(tiff.Rational(0x011B, { 72, 1 })); // YResolution
    ifd0.push_back(tiff.Short(0x0128, 2)); // ResolutionUnit: inches
    ifd0.push_back(TiffBuilder::Ascii(0x0131, "Ver.1.01")); // Software
    if (!dateTime.empty())
        ifd0.push_back(TiffBuilder::Ascii(0x0132, dateTime)); // DateTime
    ifd0.push_back(tiff.Short(0x0213, 2)); // YCbCrPositioning
    if (withExifPointer)
        ifd0.push_back(tiff.Long(kTagExifIfd, 0));
    return ifd0;
}

std::vector<Entry> ExifEntries(const TiffBuilder& tiff, const CorpusPhoto& photo)
{
    std::vector<Entry> exif;
    if (photo.exposureTime.Present())
        exif.push_back(tiff.Rational(kTagExposureTime, photo.exposureTime));
    if (photo.fNumber.Present())
        exif.push_back(tiff.Rational(kTagFNumber, photo.fNumber));
    exif.push_back(tiff.Short(0x8822, 2)); // ExposureProgram: normal
    if (photo.iso != 0)
        exif.push_back(tiff.Short(kTagIso, photo.iso));
    exif.push_back(TiffBuilder::Undefined(0x9000, { '0', '2', '3', '0' })); // ExifVersion
    const std::string& dateTime = photo.dateTime;
    if (!dateTime.empty()) {
        exif.push_back(TiffBuilder::Ascii(0x9003, dateTime)); // DateTimeOriginal
        exif.push_back(TiffBuilder::Ascii(0x9004, dateTime)); // DateTimeDigitized
    }
    exif.push_back(TiffBuilder::Undefined(0x9101, { 1, 2, 3, 0 })); // ComponentsConfiguration
    exif.push_back(tiff.Rational(0x9204, { 0, 3 }, kSignedRational)); // ExposureBiasValue
    exif.push_back(tiff.Rational(0x9205, { 30, 10 })); // MaxApertureValue
    exif.push_back(tiff.Short(0x9207, 5)); // MeteringMode: pattern
    exif.push_back(tiff.Short(0x9209, 16)); // Flash: did not fire
    if (photo.focalLength.Present())
        exif.push_back(tiff.Rational(kTagFocalLength, photo.focalLength));
    // MakerNote: written where it lands by PlaceMakerNote.
    exif.push_back(TiffBuilder::Undefined(0x927C, MakerNote(photo, 0)));
    exif.push_back(TiffBuilder::Undefined(0xA000, { '0', '1', '0', '0' })); // FlashpixVersion
    exif.push_back(tiff.Short(0xA001, 1)); // ColorSpace: sRGB
    exif.push_back(tiff.Long(0xA002, 4000)); // PixelXDimension
    exif.push_back(tiff.Long(0xA003, 3000)); // PixelYDimension
    if (photo.focalPlaneResolution.Present()) {
        exif.push_back(tiff.Rational(0xA20E, photo.focalPlaneResolution)); // FocalPlaneXResolution
        exif.push_back(tiff.Rational(0xA20F, photo.focalPlaneResolution)); // FocalPlaneYResolution
        exif.push_back(tiff.Short(0xA210, photo.focalPlaneUnit)); // FocalPlaneResolutionUnit
    }
    exif.push_back(tiff.Short(0xA402, 0)); // ExposureMode: auto
    exif.push_back(tiff.Short(0xA403, 0)); // WhiteBalance: auto
    if (photo.focal35 != 0)
        exif.push_back(tiff.Short(0xA405, photo.focal35)); // FocalLengthIn35mmFilm
    exif.push_back(tiff.Short(0xA406, 0)); // SceneCaptureType
    if (!photo.lens.empty())
        exif.push_back(TiffBuilder::Ascii(0xA434, photo.lens)); // LensModel
    AddExtraEntries(tiff, photo, exif);
    return exif;
}

// Header: "II" or "MM", magic 42, the first directory at offset 8.
void PutTiffHeader(TiffBuilder& tiff, bool bigEndian)
{
    std::vector<std::uint8_t>& bytes = tiff.Bytes();
    bytes.push_back(bigEndian ? 'M' : 'I');
    bytes.push_back(bigEndian ? 'M' : 'I');
    tiff.Put16(bytes, 42);
    tiff.Put32(bytes, 8);
}

// The TIFF block of the EXIF segment: header, IFD0, EXIF sub-directory, IFD1 naming a
// thumbnail. The thumbnail's bytes are not part of the block: they lie in the segment
// after it, as zeros.
std::vector<std::uint8_t> TiffBlock(const CorpusPhoto& photo, std::uint32_t thumbnailLength)
{
    TiffBuilder tiff(photo.bigEndian);
    std::vector<std::uint8_t>& bytes = tiff.Bytes();
    PutTiffHeader(tiff, photo.bigEndian);
    std::size_t ifd0Link = 0;
    std::vector<std::size_t> ifd0Values;
    tiff.AppendDirectory(ImageEntries(tiff, photo, true), &ifd0Link, &ifd0Values);
    const std::vector<Entry> exif = ExifEntries(tiff, photo);
    std::vector<std::size_t> exifValues;
    const std::uint32_t exifOffset = tiff.AppendDirectory(exif, nullptr, &exifValues);
    PlaceMakerNote(tiff, photo, exif, exifValues);
    tiff.Patch32(ifd0Values.back(), exifOffset);

    // IFD1 names the thumbnail, which follows the block directly.
    std::vector<std::size_t> ifd1Values;
    const std::vector<Entry> ifd1 = { tiff.Short(0x0103, 6), // Compression: JPEG
        tiff.Long(kTagThumbnailOffset, 0), tiff.Long(kTagThumbnailLength, thumbnailLength) };
    const std::uint32_t ifd1Offset = tiff.AppendDirectory(ifd1, nullptr, &ifd1Values);
    tiff.Patch32(ifd0Link, ifd1Offset);
    tiff.Patch32(ifd1Values[1], static_cast<std::uint32_t>(bytes.size()));
    return bytes;
}

// A TIFF block of one directory: IFD0 without an EXIF pointer (CR3's CMT1), or the EXIF
// directory itself (CMT2).
std::vector<std::uint8_t> OneDirectoryBlock(const CorpusPhoto& photo, bool exifDirectory)
{
    TiffBuilder tiff(photo.bigEndian);
    PutTiffHeader(tiff, photo.bigEndian);
    const std::vector<Entry> entries
        = exifDirectory ? ExifEntries(tiff, photo) : ImageEntries(tiff, photo, false);
    std::vector<std::size_t> valueAt;
    tiff.AppendDirectory(entries, nullptr, &valueAt);
    PlaceMakerNote(tiff, photo, entries, valueAt);
    return tiff.Bytes();
}

void PutBigEndian16(std::vector<std::uint8_t>& out, std::size_t v)
{
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

// The APP2 ICC profile and APP13 Photoshop segments a JFIF file may carry before its EXIF
// segment. Only their headers matter to a reader that steps over them.
void PutSegmentsBeforeExif(std::vector<std::uint8_t>& out, const CorpusPhoto& photo)
{
    const auto segment
        = [&out](std::uint8_t marker, const char* id, std::size_t idSize, std::size_t payload) {
              out.push_back(0xFF);
              out.push_back(marker);
              PutBigEndian16(out, 2 + idSize + payload);
              out.insert(out.end(), id, id + idSize);
              return out.size();
          };
    if (photo.iccBeforeExif) {
        // "ICC_PROFILE\0", chunk 1 of 1, then the profile: its size (big-endian) first.
        constexpr std::size_t kProfile = 3144;
        const std::size_t at = segment(0xE2, "ICC_PROFILE\0\1\1", 14, kProfile);
        out.resize(at + kProfile, 0);
        out[at + 2] = kProfile >> 8;
        out[at + 3] = kProfile & 0xFF;
    }
    if (photo.photoshopBeforeExif) {
        // "Photoshop 3.0\0", one 8BIM resource 0x0404 (IPTC) with an empty name and 200
        // bytes of data.
        static const char kResource[] = "Photoshop 3.0\0"
                                        "8BIM\x04\x04\0\0\0\0\0\xC8";
        const std::size_t at = segment(0xED, kResource, sizeof kResource - 1, 200);
        out.resize(at + 200, 0);
    }
}

// Thumbnail size in bytes; any fixed choice in the usual 4 to 16 KB range.
std::uint32_t ThumbnailLength(const CorpusPhoto& photo)
{
    return 4096 + static_cast<std::uint32_t>(photo.fileSize % 12288);
}

} // namespace

std::vector<std::uint8_t> CorpusFileStart(const CorpusPhoto& photo)
{
    std::vector<std::uint8_t> out = { 0xFF, 0xD8 };
    if (photo.jfifFirst) {
        // APP0 "JFIF\0", version 1.01, no units, density 1:1, no thumbnail.
        const std::uint8_t jfif[]
            = { 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0 };
        out.insert(out.end(), std::begin(jfif), std::end(jfif));
        PutSegmentsBeforeExif(out, photo);
    }
    const std::uint32_t thumbnailLength = ThumbnailLength(photo);
    const std::vector<std::uint8_t> tiff = TiffBlock(photo, thumbnailLength);
    // The segment length counts itself (2 bytes), "Exif\0\0", the TIFF block and the
    // thumbnail; it must stay below 65,536.
    const std::size_t segmentLength = 2 + 6 + tiff.size() + thumbnailLength;
    out.push_back(0xFF);
    out.push_back(0xE1);
    PutBigEndian16(out, segmentLength);
    const std::uint8_t exifId[] = { 'E', 'x', 'i', 'f', 0, 0 };
    out.insert(out.end(), std::begin(exifId), std::end(exifId));
    out.insert(out.end(), tiff.begin(), tiff.end());
    out.resize(out.size() + thumbnailLength, 0);
    if (!photo.xmp.empty()) {
        const char kXmpId[] = "http://ns.adobe.com/xap/1.0/"; // and its NUL
        out.push_back(0xFF);
        out.push_back(0xE1);
        PutBigEndian16(out, 2 + sizeof kXmpId + photo.xmp.size());
        out.insert(out.end(), kXmpId, kXmpId + sizeof kXmpId);
        out.insert(out.end(), photo.xmp.begin(), photo.xmp.end());
    }

    // DQT: one 8-bit table 0 of 64 entries.
    out.push_back(0xFF);
    out.push_back(0xDB);
    PutBigEndian16(out, 2 + 1 + 64);
    out.push_back(0);
    for (std::uint8_t i = 0; i < 64; ++i)
        out.push_back(static_cast<std::uint8_t>(2 + i / 4));
    return out;
}

namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, off_t at)
{
    while (size > 0) {
        const ssize_t n = pwrite(fd, data, size, at);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        at += n;
    }
    return true;
}

// Bytes written at the start of every file, zeros included: a real photo's first 32 KiB
// lie on the disk, and a read of them must cost what it costs there, not the nothing a
// hole costs.
constexpr std::size_t kWrittenStart = 65536;

} // namespace

bool WriteCorpusFile(const std::string& path, const CorpusPhoto& photo)
{
    return WriteCorpusFile(path, photo, CorpusFormat::Jpeg);
}

bool ParseCorpusFormat(const std::string& name, CorpusFormat& format)
{
    const std::pair<const char*, CorpusFormat> names[] = { { "jpeg", CorpusFormat::Jpeg },
        { "heic", CorpusFormat::Heic }, { "heic-tail", CorpusFormat::HeicTail },
        { "cr3", CorpusFormat::Cr3 }, { "raf", CorpusFormat::Raf }, { "mrw", CorpusFormat::Mrw },
        { "heic-mdat-first", CorpusFormat::HeicMdatFirst }, { "png", CorpusFormat::Png },
        { "webp", CorpusFormat::Webp }, { "jxl", CorpusFormat::Jxl },
        { "tiff", CorpusFormat::Tiff }, { "jfif", CorpusFormat::Jfif } };
    for (const auto& [text, value] : names) {
        if (name == text) {
            format = value;
            return true;
        }
    }
    return false;
}

const char* CorpusExtension(CorpusFormat format)
{
    switch (format) {
    case CorpusFormat::Jpeg:
    case CorpusFormat::Jfif:
        return "JPG";
    case CorpusFormat::Heic:
    case CorpusFormat::HeicTail:
        return "HEIC";
    case CorpusFormat::Cr3:
        return "CR3";
    case CorpusFormat::Raf:
        return "RAF";
    case CorpusFormat::Mrw:
        return "MRW";
    case CorpusFormat::HeicMdatFirst:
        return "HEIC";
    case CorpusFormat::Png:
        return "PNG";
    case CorpusFormat::Webp:
        return "WEBP";
    case CorpusFormat::Jxl:
        return "JXL";
    case CorpusFormat::Tiff:
        return "TIF";
    }
    return "JPG";
}

namespace {

// Big-endian writer of the containers' own fields.
struct BigEndian {
    std::vector<std::uint8_t>& out;

    void U8(std::uint64_t v) { out.push_back(static_cast<std::uint8_t>(v)); }
    void U16(std::uint64_t v)
    {
        U8(v >> 8);
        U8(v);
    }
    void U32(std::uint64_t v)
    {
        U16(v >> 16);
        U16(v);
    }
    void Text(const char* text, std::size_t n) { out.insert(out.end(), text, text + n); }
    void Bytes(const std::vector<std::uint8_t>& bytes)
    {
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    // Starts a box: size (patched by End), type.
    std::size_t Begin(const char* type)
    {
        const std::size_t at = out.size();
        U32(0);
        Text(type, 4);
        return at;
    }
    void End(std::size_t at)
    {
        const std::uint64_t size = out.size() - at;
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (24 - 8 * i));
    }
    void Patch32(std::size_t at, std::uint64_t v)
    {
        for (int i = 0; i < 4; ++i)
            out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }
};

// An HEIC as a phone writes it: ftyp; meta with hdlr, pitm, iinf (a grid item, its 48
// tiles and the Exif item), iloc (version 1, 4-byte offsets and lengths) and iprp; then
// mdat. The Exif item (offset 6, "Exif\0\0", a TIFF block) lies right after meta, or at
// the file's end when atTail, where a few Android phones put it.
CorpusFile HeicFile(const CorpusPhoto& photo, bool atTail)
{
    constexpr std::uint32_t kTiles = 48;
    CorpusFile file;
    BigEndian w { file.start };
    std::size_t box = w.Begin("ftyp");
    w.Text("heic", 4);
    w.U32(0);
    w.Text("mif1heic", 8);
    w.End(box);

    const std::size_t meta = w.Begin("meta");
    w.U32(0); // version, flags
    box = w.Begin("hdlr");
    w.U32(0);
    w.U32(0);
    w.Text("pict", 4);
    w.out.resize(w.out.size() + 12, 0);
    w.U8(0); // empty name
    w.End(box);
    box = w.Begin("pitm");
    w.U32(0);
    w.U16(1);
    w.End(box);
    box = w.Begin("iinf");
    w.U32(0);
    w.U16(kTiles + 2);
    for (std::uint32_t id = 1; id <= kTiles + 2; ++id) {
        const std::size_t infe = w.Begin("infe");
        w.U32(std::uint32_t { 2 } << 24); // version 2
        w.U16(id);
        w.U16(0);
        w.Text(id == 1 ? "grid" : id <= kTiles + 1 ? "hvc1" : "Exif", 4);
        w.U8(0);
        w.End(infe);
    }
    w.End(box);
    const std::size_t iloc = w.Begin("iloc");
    w.U32(std::uint32_t { 1 } << 24); // version 1
    w.U8(0x44); // offset size 4, length size 4
    w.U8(0x00); // base offset size 0, index size 0
    w.U16(kTiles + 2);
    std::vector<std::size_t> extentAt;
    for (std::uint32_t id = 1; id <= kTiles + 2; ++id) {
        w.U16(id);
        w.U16(id == 1 ? 1 : 0); // the grid's description lies in idat
        w.U16(0);
        w.U16(1);
        extentAt.push_back(w.out.size());
        w.U32(0);
        w.U32(id == 1 ? 8 : 0);
    }
    w.End(iloc);
    box = w.Begin("idat");
    w.U32(0x00000507); // the grid: version, flags, 6 rows - 1, 8 columns - 1
    w.U32(0);
    w.End(box);
    // Properties (hvcC, ispe, ...): opaque here, as long as a camera's.
    box = w.Begin("iprp");
    w.out.resize(w.out.size() + 600, 0x11);
    w.End(box);
    w.End(meta);

    // The Exif item's bytes.
    std::vector<std::uint8_t> exif;
    BigEndian e { exif };
    e.U32(6);
    e.Text("Exif\0\0", 6);
    e.Bytes(TiffBlock(photo, 0));

    const std::size_t mdat = w.out.size();
    w.U32(0); // patched to reach the file's end
    w.Text("mdat", 4);
    const std::uint64_t fileSize = std::max<std::uint64_t>(photo.fileSize, (1u << 20));
    const std::uint64_t exifAt = atTail ? fileSize - exif.size() : w.out.size();
    if (!atTail)
        w.Bytes(exif);
    const std::uint64_t tilesFrom = atTail ? w.out.size() : exifAt + exif.size();
    const std::uint64_t tilesEnd = atTail ? exifAt : fileSize;
    const std::uint64_t tileLength = (tilesEnd - tilesFrom) / kTiles;
    for (std::uint32_t tile = 0; tile < kTiles; ++tile) {
        w.Patch32(extentAt[tile + 1], tilesFrom + tile * tileLength);
        w.Patch32(extentAt[tile + 1] + 4, tileLength);
    }
    w.Patch32(extentAt[kTiles + 1], exifAt);
    w.Patch32(extentAt[kTiles + 1] + 4, exif.size());
    w.Patch32(mdat, fileSize - mdat);
    file.size = fileSize;
    if (atTail)
        file.tail = std::move(exif);
    return file;
}

// A CR3: ftyp "crx "; moov holding Canon's uuid box (CNCV, CCTP, CTBO, CMT1 to CMT4, THMB)
// and the tracks; then mdat.
CorpusFile Cr3File(const CorpusPhoto& photo)
{
    CorpusFile file;
    BigEndian w { file.start };
    std::size_t box = w.Begin("ftyp");
    w.Text("crx ", 4);
    w.U32(1);
    w.Text("crx isom", 8);
    w.End(box);
    const std::size_t moov = w.Begin("moov");
    const std::size_t uuid = w.Begin("uuid");
    const std::uint8_t canon[16] = { 0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0, 0x81, 0x11,
        0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48 };
    w.out.insert(w.out.end(), std::begin(canon), std::end(canon));
    box = w.Begin("CNCV");
    w.Text("CanonCR3_001/00.10.00/00.00.00", 30);
    w.End(box);
    for (const auto& [type, length] : { std::pair { "CCTP", 40 }, { "CTBO", 88 } }) {
        box = w.Begin(type);
        w.out.resize(w.out.size() + static_cast<std::size_t>(length), 0);
        w.End(box);
    }
    box = w.Begin("CMT1");
    w.Bytes(OneDirectoryBlock(photo, false));
    w.End(box);
    box = w.Begin("CMT2");
    w.Bytes(OneDirectoryBlock(photo, true));
    w.End(box);
    // The maker notes and GPS, and the thumbnail: opaque here.
    for (const auto& [type, length] :
        { std::pair { "CMT3", 6000 }, { "CMT4", 200 }, { "THMB", 9000 } }) {
        box = w.Begin(type);
        w.out.resize(w.out.size() + static_cast<std::size_t>(length), 0x22);
        w.End(box);
    }
    w.End(uuid);
    for (int track = 0; track < 4; ++track) {
        box = w.Begin("trak");
        w.out.resize(w.out.size() + 400, 0x33);
        w.End(box);
    }
    w.End(moov);
    file.size = std::max<std::uint64_t>(photo.fileSize, w.out.size() + (1u << 20));
    const std::size_t mdat = w.Begin("mdat");
    w.Patch32(mdat, file.size - mdat);
    return file;
}

// A RAF: its header with the embedded JPEG's offset and length at 84 and 88 (and the raw
// data's after them); the JPEG at 148.
CorpusFile RafFile(const CorpusPhoto& photo)
{
    CorpusFile file;
    BigEndian w { file.start };
    w.Text("FUJIFILMCCD-RAW ", 16);
    w.Text("0201", 4);
    w.Text("FF383501", 8);
    std::string name = photo.model;
    name.resize(32, '\0');
    w.Text(name.data(), 32);
    w.Text("0100", 4);
    w.out.resize(84, 0);
    CorpusPhoto jpeg = photo;
    jpeg.jfifFirst = false;
    const std::vector<std::uint8_t> preview = CorpusFileStart(jpeg);
    constexpr std::uint32_t kJpegAt = 148;
    const std::uint64_t jpegLength = preview.size() + (256u << 10); // the rest as zeros
    file.size = std::max<std::uint64_t>(photo.fileSize, kJpegAt + jpegLength + (1u << 20));
    const std::uint64_t rawAt = kJpegAt + jpegLength;
    w.U32(kJpegAt);
    w.U32(jpegLength);
    w.U32(rawAt); // CFA header
    w.U32(0);
    w.U32(rawAt); // CFA
    w.U32(file.size - rawAt);
    w.out.resize(kJpegAt, 0);
    w.Bytes(preview);
    return file;
}

// An MRW: "\0MRM" and the length of the blocks; PRD, TTW (the TIFF block), WBG, RIF and
// PAD; then the raw data.
CorpusFile MrwFile(const CorpusPhoto& photo)
{
    CorpusFile file;
    BigEndian w { file.start };
    const std::size_t mrm = w.out.size();
    w.Text("\0MRM", 4);
    w.U32(0);
    const std::pair<const char*, std::vector<std::uint8_t>> blocks[]
        = { { "\0PRD", std::vector<std::uint8_t>(24, 0) }, { "\0TTW", TiffBlock(photo, 0) },
              { "\0WBG", std::vector<std::uint8_t>(12, 0) },
              { "\0RIF", std::vector<std::uint8_t>(80, 0) } };
    for (const auto& [name, bytes] : blocks) {
        w.Text(name, 4);
        w.U32(bytes.size());
        w.Bytes(bytes);
    }
    // Raw data starts on a 512-byte boundary.
    const std::size_t pad = 512 - (w.out.size() + 8) % 512;
    w.Text("\0PAD", 4);
    w.U32(pad);
    w.out.resize(w.out.size() + pad, 0);
    w.Patch32(mrm + 4, w.out.size() - 8);
    file.size = std::max<std::uint64_t>(photo.fileSize, w.out.size() + (1u << 20));
    return file;
}

// ---- Metadata past the first read, and EXIF in a chunk or box of its own -----------------

// An HEIC as some converters write it: ftyp; mdat holding the image's tiles and then the
// Exif item; meta (hdlr, pitm, iinf, iloc version 1 with 4-byte offsets and lengths,
// iprp) at the end of the file.
CorpusFile HeicMdatFirstFile(const CorpusPhoto& photo)
{
    constexpr std::uint32_t kTiles = 48;
    CorpusFile file;
    BigEndian w { file.start };
    std::size_t box = w.Begin("ftyp");
    w.Text("heic", 4);
    w.U32(0);
    w.Text("mif1heic", 8);
    w.End(box);
    const std::size_t mdat = w.Begin("mdat");
    const std::uint64_t tilesFrom = w.out.size();

    std::vector<std::uint8_t> exif;
    BigEndian e { exif };
    e.U32(6);
    e.Text("Exif\0\0", 6);
    e.Bytes(TiffBlock(photo, 0));

    // meta's size does not depend on the offsets it holds: built once to learn it.
    const auto metaBox = [&photo](std::uint64_t exifAt, std::uint64_t exifLength,
                             std::uint64_t from, std::uint64_t tileLength) {
        std::vector<std::uint8_t> out;
        BigEndian m { out };
        const std::size_t meta = m.Begin("meta");
        m.U32(0);
        std::size_t b = m.Begin("hdlr");
        m.U32(0);
        m.U32(0);
        m.Text("pict", 4);
        m.out.resize(m.out.size() + 13, 0);
        m.End(b);
        b = m.Begin("pitm");
        m.U32(0);
        m.U16(1);
        m.End(b);
        b = m.Begin("iinf");
        m.U32(0);
        m.U16(kTiles + 1);
        for (std::uint32_t id = 1; id <= kTiles + 1; ++id) {
            const std::size_t infe = m.Begin("infe");
            m.U32(std::uint32_t { 2 } << 24);
            m.U16(id);
            m.U16(0);
            m.Text(id <= kTiles ? "hvc1" : "Exif", 4);
            m.U8(0);
            m.End(infe);
        }
        m.End(b);
        b = m.Begin("iloc");
        m.U32(std::uint32_t { 1 } << 24);
        m.U8(0x44);
        m.U8(0x00);
        m.U16(kTiles + 1);
        for (std::uint32_t id = 1; id <= kTiles + 1; ++id) {
            m.U16(id);
            m.U16(0);
            m.U16(0);
            m.U16(1);
            m.U32(id <= kTiles ? from + (id - 1) * tileLength : exifAt);
            m.U32(id <= kTiles ? tileLength : exifLength);
        }
        m.End(b);
        b = m.Begin("iprp");
        m.out.resize(m.out.size() + 600 + photo.fileSize % 64, 0x11);
        m.End(b);
        m.End(meta);
        return out;
    };
    const std::uint64_t metaSize = metaBox(0, 0, 0, 0).size();
    const std::uint64_t fileSize = std::max<std::uint64_t>(photo.fileSize, 1u << 20);
    const std::uint64_t metaAt = fileSize - metaSize;
    const std::uint64_t exifAt = metaAt - exif.size();
    const std::uint64_t tileLength = (exifAt - tilesFrom) / kTiles;
    w.Patch32(mdat, metaAt - mdat);
    file.tail = std::move(exif);
    const std::vector<std::uint8_t> meta = metaBox(exifAt, file.tail.size(), tilesFrom, tileLength);
    file.tail.insert(file.tail.end(), meta.begin(), meta.end());
    file.size = fileSize;
    return file;
}

// A PNG: signature; IHDR; the image as one IDAT chunk over most of the file; eXIf (the TIFF
// block) after it; IEND. CRCs are left 0: the reader does not check them.
CorpusFile PngFile(const CorpusPhoto& photo)
{
    CorpusFile file;
    BigEndian w { file.start };
    w.Text("\x89PNG\r\n\x1A\n", 8);
    w.U32(13);
    w.Text("IHDR", 4);
    w.U32(4000);
    w.U32(3000);
    w.U8(8); // bit depth
    w.U8(2); // truecolour
    w.U8(0);
    w.U8(0);
    w.U8(0);
    w.U32(0);
    const std::size_t idat = w.out.size();
    w.U32(0);
    w.Text("IDAT", 4);
    BigEndian t { file.tail };
    t.U32(0); // the IDAT's CRC
    const std::vector<std::uint8_t> tiff = TiffBlock(photo, 0);
    t.U32(tiff.size());
    t.Text("eXIf", 4);
    t.Bytes(tiff);
    t.U32(0);
    t.U32(0);
    t.Text("IEND", 4);
    t.U32(0);
    file.size = std::max<std::uint64_t>(photo.fileSize, 1u << 20);
    w.Patch32(idat, file.size - file.tail.size() - idat - 8);
    return file;
}

// A WebP in its extended form: RIFF, WEBP; VP8X (flags: EXIF); the image as one VP8 chunk
// over most of the file; EXIF (the TIFF block) at the end, as most writers place it.
CorpusFile WebpFile(const CorpusPhoto& photo)
{
    CorpusFile file;
    std::vector<std::uint8_t>& out = file.start;
    const auto le32 = [](std::vector<std::uint8_t>& to, std::uint64_t v) {
        for (int i = 0; i < 4; ++i)
            to.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    BigEndian w { out };
    w.Text("RIFF", 4);
    le32(out, 0);
    w.Text("WEBP", 4);
    w.Text("VP8X", 4);
    le32(out, 10);
    w.U8(0x08); // EXIF
    w.out.resize(w.out.size() + 9, 0); // reserved, canvas size
    const std::size_t vp8 = out.size();
    w.Text("VP8 ", 4);
    le32(out, 0);
    std::vector<std::uint8_t> tiff = TiffBlock(photo, 0);
    BigEndian t { file.tail };
    t.Text("EXIF", 4);
    le32(file.tail, tiff.size());
    t.Bytes(tiff);
    if (tiff.size() % 2 != 0)
        t.U8(0);
    file.size = std::max<std::uint64_t>(photo.fileSize, 1u << 20);
    // An image of an even size, so that the EXIF chunk follows it without a pad byte.
    file.size += (file.size - file.tail.size() - vp8 - 8) % 2;
    const std::uint64_t vp8Size = file.size - file.tail.size() - vp8 - 8;
    for (int i = 0; i < 4; ++i) {
        out[4 + static_cast<std::size_t>(i)]
            = static_cast<std::uint8_t>((file.size - 8) >> (8 * i));
        out[vp8 + 4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(vp8Size >> (8 * i));
    }
    return file;
}

// JPEG XL in its container form: the signature box, ftyp 'jxl ', the codestream as one
// jxlc box over most of the file, then an Exif box: offset 0 (4), the TIFF block.
CorpusFile JxlFile(const CorpusPhoto& photo)
{
    CorpusFile file;
    BigEndian w { file.start };
    w.U32(12);
    w.Text("JXL \r\n\x87\n", 8);
    std::size_t box = w.Begin("ftyp");
    w.Text("jxl ", 4);
    w.U32(0);
    w.Text("jxl ", 4);
    w.End(box);
    const std::size_t jxlc = w.Begin("jxlc");
    BigEndian t { file.tail };
    const std::size_t exif = t.Begin("Exif");
    t.U32(0);
    t.Bytes(TiffBlock(photo, 0));
    t.End(exif);
    file.size = std::max<std::uint64_t>(photo.fileSize, 1u << 20);
    w.Patch32(jxlc, file.size - file.tail.size() - jxlc);
    return file;
}

// A TIFF file: the TIFF block of CorpusFileStart's EXIF segment from byte 0, its directories
// in the first read; the image's strips after it.
CorpusFile TiffFile(const CorpusPhoto& photo)
{
    CorpusFile file;
    file.start = TiffBlock(photo, ThumbnailLength(photo));
    file.size = std::max<std::uint64_t>(photo.fileSize, 1u << 20);
    return file;
}

bool WriteAt(int fd, const std::vector<std::uint8_t>& bytes, std::uint64_t at)
{
    return WriteAll(fd, bytes.data(), bytes.size(), static_cast<off_t>(at));
}

} // namespace

CorpusFile CorpusFileContents(const CorpusPhoto& photo, CorpusFormat format)
{
    CorpusPhoto jfif = photo;
    switch (format) {
    case CorpusFormat::Jpeg:
        break;
    case CorpusFormat::Jfif:
        jfif.jfifFirst = true;
        jfif.iccBeforeExif = photo.fileSize % 4 == 0;
        jfif.photoshopBeforeExif = photo.fileSize / 4 % 8 == 0;
        break;
    case CorpusFormat::Heic:
        return HeicFile(photo, false);
    case CorpusFormat::HeicTail:
        return HeicFile(photo, true);
    case CorpusFormat::Cr3:
        return Cr3File(photo);
    case CorpusFormat::Raf:
        return RafFile(photo);
    case CorpusFormat::Mrw:
        return MrwFile(photo);
    case CorpusFormat::HeicMdatFirst:
        return HeicMdatFirstFile(photo);
    case CorpusFormat::Png:
        return PngFile(photo);
    case CorpusFormat::Webp:
        return WebpFile(photo);
    case CorpusFormat::Jxl:
        return JxlFile(photo);
    case CorpusFormat::Tiff:
        return TiffFile(photo);
    }
    CorpusFile file;
    file.start = CorpusFileStart(jfif);
    file.tail = { 0xFF, 0xD9 }; // end of image
    file.size = std::max<std::uint64_t>(photo.fileSize, file.start.size() + 2);
    return file;
}

bool WriteCorpusFile(const std::string& path, const CorpusPhoto& photo, CorpusFormat format)
{
    CorpusFile file = CorpusFileContents(photo, format);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const std::uint64_t tailAt = file.size - file.tail.size();
    file.start.resize(
        std::max<std::size_t>(file.start.size(), std::min<std::uint64_t>(kWrittenStart, tailAt)),
        0);
    bool ok = ftruncate(fd, static_cast<off_t>(file.size)) == 0 && WriteAt(fd, file.start, 0)
        && WriteAt(fd, file.tail, tailAt);
    const int savedErrno = errno;
    if (close(fd) != 0 && ok)
        return false;
    errno = savedErrno;
    return ok;
}
