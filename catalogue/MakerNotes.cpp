// SPDX-License-Identifier: MIT
#include "catalogue/MakerNotes.h"

#include <cmath>
#include <cstring>
#include <string_view>

#include "catalogue/ExifReader.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/QuantityText.h"

namespace {

constexpr std::uint16_t kTypeShort = 3;
constexpr std::size_t kEntrySize = 12;
constexpr std::size_t kMaxTextLength = 127;
// Makers' directories hold tens of entries, a few hundred at most: a larger count is bytes
// that are no directory.
constexpr std::uint16_t kMaxEntries = 1000;

// Bytes of one value of each TIFF type (1 BYTE to 13 IFD); 0 for an unknown type.
std::uint64_t TypeSize(std::uint16_t type)
{
    static const std::uint8_t kSizes[14] = { 0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4 };
    return type < 14 ? kSizes[type] : 0;
}

// The bytes read and a byte order; every field is reached through Field, which checks
// that all its bytes lie inside them (64-bit offsets: no sum of a few 32-bit values wraps).
struct Bytes {
    const std::uint8_t* data;
    std::uint64_t size;
    bool bigEndian;

    const std::uint8_t* Field(std::uint64_t off, std::uint64_t n) const
    {
        if (off <= size && n <= size - off)
            return data + off;
        return nullptr;
    }
    bool U16(std::uint64_t off, std::uint16_t& out) const
    {
        const std::uint8_t* p = Field(off, 2);
        if (p == nullptr)
            return false;
        out = ReadU16(p, bigEndian);
        return true;
    }
    bool U32(std::uint64_t off, std::uint32_t& out) const
    {
        const std::uint8_t* p = Field(off, 4);
        if (p == nullptr)
            return false;
        out = ReadU32(p, bigEndian);
        return true;
    }
    // An unsigned rational; 0 for a zero denominator (EXIF's "unknown" is 0/0).
    bool Rational(std::uint64_t off, double& out) const
    {
        std::uint32_t numerator = 0;
        std::uint32_t denominator = 0;
        if (!U32(off, numerator) || !U32(off + 4, denominator))
            return false;
        out = denominator == 0 ? 0.0 : double(numerator) / double(denominator);
        return true;
    }
    bool StartsWith(std::uint64_t off, std::uint64_t limit, std::string_view text) const
    {
        const std::uint8_t* p = Field(off, text.size());
        return text.size() <= limit && p != nullptr
            && std::memcmp(p, text.data(), text.size()) == 0;
    }
    bool OrderMark(std::uint64_t off, bool& big) const
    {
        const std::uint8_t* p = Field(off, 2);
        if (p == nullptr || p[0] != p[1] || (p[0] != 'I' && p[0] != 'M'))
            return false;
        big = p[0] == 'M';
        return true;
    }
};

// An entry of a maker's directory: its type, count and where its value lies.
struct Entry {
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::uint32_t raw = 0; // the 4-byte value field as a number (an offset, for most)
    std::uint64_t valueAt = 0; // in the value field when it fits 4 bytes, else at an offset
    std::uint64_t length = 0; // count times the type's size
};

// A directory of a maker's note: where it lies and where its offsets count from (the
// TIFF base, the note's start or the note's own TIFF header, by maker).
struct Directory {
    Bytes bytes;
    std::uint64_t at = 0;
    std::uint64_t offsetBase = 0;

    bool Find(std::uint16_t wanted, Entry& out) const
    {
        std::uint16_t count = 0;
        if (!bytes.U16(at, count) || count > kMaxEntries)
            return false;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t entry = at + 2 + kEntrySize * i;
            std::uint16_t tag = 0;
            if (bytes.Field(entry, kEntrySize) == nullptr)
                return false;
            bytes.U16(entry, tag);
            if (tag != wanted)
                continue;
            bytes.U16(entry + 2, out.type);
            bytes.U32(entry + 4, out.count);
            bytes.U32(entry + 8, out.raw);
            out.length = std::uint64_t { out.count } * TypeSize(out.type);
            out.valueAt = out.length <= 4 ? entry + 8 : offsetBase + out.raw;
            return bytes.Field(out.valueAt, out.length) != nullptr;
        }
        return false;
    }

    // The directory an entry's value points to, with the same offset base.
    Directory Sub(const Entry& entry) const
    {
        return { bytes, offsetBase + entry.raw, offsetBase };
    }

    // A text entry up to its first NUL, spaces trimmed; false when empty or when it holds a
    // control character (a binary field, not a name).
    bool Text(std::uint16_t tag, std::string& out) const
    {
        Entry e;
        if (!Find(tag, e))
            return false;
        const char* p = reinterpret_cast<const char*>(bytes.data + e.valueAt);
        std::string_view text(p, static_cast<std::size_t>(e.length));
        text = text.substr(0, text.find('\0'));
        while (!text.empty() && text.back() == ' ')
            text.remove_suffix(1);
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
        if (text.empty())
            return false;
        for (const char c : text) {
            const auto u = static_cast<unsigned char>(c);
            if (u < 0x20 || u == 0x7F)
                return false;
        }
        out.assign(text.substr(0, kMaxTextLength));
        return true;
    }

    // The index-th 16-bit value of a SHORT array entry.
    bool Short(std::uint16_t tag, std::uint32_t index, std::uint16_t& out) const
    {
        Entry e;
        return Find(tag, e) && (e.type == kTypeShort || e.type == 8) && index < e.count
            && bytes.U16(e.valueAt + 2ULL * index, out);
    }
};

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// What a note is looking for and what it has found so far.
struct Wanted {
    bool lens;
    bool iso;
    PhotoExtras& extras;

    void Lens(std::string text, LensSource source)
    {
        if (lens && !text.empty()) {
            extras.lens = text;
            extras.lensSource = source;
            lens = false;
        }
    }
    void Iso(double value, IsoSource source)
    {
        // Film and sensor speeds lie between 1 and a few million.
        if (iso && value >= 1 && value <= 1e7) {
            extras.iso = value;
            extras.isoSource = source;
            iso = false;
        }
    }
};

// Canon: a plain directory at the note's start, offsets from the TIFF base.
//   0x0001 CameraSettings, SHORT[]: [16] ISO (a code, or the speed itself with bit 14
//     set), [23] long and [24] short focal length in units of 1/[25] mm
//   0x0004 ShotInfo, SHORT[]: [1] automatic ISO gain and [2] base ISO, both as 32nds of a
//     stop: base = 100 * 2^(v/32 - 5), gain = 2^(v/32)
//   0x0095 LensModel, ASCII
void ReadCanon(const Directory& note, Wanted& wanted)
{
    std::string text;
    if (wanted.lens && note.Text(0x0095, text))
        wanted.Lens(text, LensSource::CanonLensModel);
    std::uint16_t longFocal = 0;
    std::uint16_t shortFocal = 0;
    std::uint16_t units = 0;
    if (wanted.lens && note.Short(0x0001, 23, longFocal) && note.Short(0x0001, 24, shortFocal)
        && note.Short(0x0001, 25, units)) {
        const double unit = units == 0 ? 1.0 : double(units);
        wanted.Lens(
            LensRangeText(shortFocal / unit, longFocal / unit, 0, 0), LensSource::CanonFocalRange);
    }
    std::uint16_t code = 0;
    if (!wanted.iso || !note.Short(0x0001, 16, code))
        return;
    if ((code & 0x4000) != 0) {
        wanted.Iso(code & 0x3FFF, IsoSource::CanonCameraSettings);
    } else if (code >= 16 && code <= 20) { // 16: 50, 17: 100 ... 20: 800
        wanted.Iso(50.0 * double(1 << (code - 16)), IsoSource::CanonCameraSettings);
    } else { // automatic (15, 14) or not given (0): the shot's own record
        std::uint16_t gain = 0;
        std::uint16_t base = 0;
        if (note.Short(0x0004, 1, gain) && note.Short(0x0004, 2, base) && base != 0) {
            const double baseIso = 100.0 * std::exp2(std::int16_t(base) / 32.0 - 5.0);
            const double iso = baseIso * std::exp2(std::int16_t(gain) / 32.0);
            wanted.Iso(std::round(iso), IsoSource::CanonAutoIso);
        }
    }
}

// Nikon: 0x0002 ISO, SHORT[2], the second the speed; 0x0084 Lens, RATIONAL[4]: shortest
// and longest focal length, widest f-number at each.
void ReadNikon(const Directory& note, Wanted& wanted)
{
    std::uint16_t iso = 0;
    if (wanted.iso && note.Short(0x0002, 1, iso))
        wanted.Iso(iso, IsoSource::NikonIso);
    Entry e;
    double v[4] = {};
    if (wanted.lens && note.Find(0x0084, e) && e.type == 5 && e.count >= 4) {
        for (int i = 0; i < 4; ++i)
            note.bytes.Rational(e.valueAt + 8ULL * i, v[i]);
        wanted.Lens(LensRangeText(v[0], v[1], v[2], v[3]), LensSource::NikonLensRange);
    }
}

// A BCD byte (0x35 is 35); -1 when a digit is not one.
int Bcd(std::uint8_t b)
{
    return (b >> 4) > 9 || (b & 15) > 9 ? -1 : (b >> 4) * 10 + (b & 15);
}

// Sony: 0xB02A LensSpec, 8 bytes: a flag byte, the shortest and longest focal length as
// four BCD digits each, the widest f-number at each as two BCD digits (tenths), a flag.
void ReadSony(const Directory& note, Wanted& wanted)
{
    Entry e;
    if (!wanted.lens || !note.Find(0xB02A, e) || e.length != 8)
        return;
    const std::uint8_t* b = note.bytes.data + e.valueAt;
    int d[6];
    for (int i = 0; i < 6; ++i) {
        d[i] = Bcd(b[i + 1]);
        if (d[i] < 0)
            return;
    }
    wanted.Lens(LensRangeText(d[0] * 100 + d[1], d[2] * 100 + d[3], d[4] / 10.0, d[5] / 10.0),
        LensSource::SonyLensSpec);
}

// Casio: the newer notes ("QVC\0\0\0") keep the speed in 0x3014; the older ones a code in
// 0x0014 (3: 50, 4: 64, 6: 100, 9: 200).
void ReadCasio(const Directory& note, bool newer, Wanted& wanted)
{
    std::uint16_t v = 0;
    if (newer) {
        if (note.Short(0x3014, 0, v))
            wanted.Iso(v, IsoSource::CasioIso);
        return;
    }
    const double kSpeeds[10] = { 0, 0, 0, 50, 64, 0, 100, 0, 0, 200 };
    if (note.Short(0x0014, 0, v) && v < 10)
        wanted.Iso(kSpeeds[v], IsoSource::CasioIso);
}

// Kodak's most common note is no directory but a record of fixed fields: the year taken
// (16-bit) at byte 16 and the ISO speed (16-bit) at byte 96. The year tells the byte order.
void ReadKodak(const Bytes& bytes, std::uint64_t note, std::uint32_t length, Wanted& wanted)
{
    // The record starts with the model's name: a directory would start with its count.
    const std::uint8_t* first = bytes.Field(note, 1);
    if (!wanted.iso || length < 98 || first == nullptr || *first < 0x20 || *first > 0x7E)
        return;
    for (const bool big : { bytes.bigEndian, !bytes.bigEndian }) {
        const Bytes ordered { bytes.data, bytes.size, big };
        std::uint16_t year = 0;
        std::uint16_t iso = 0;
        if (ordered.U16(note + 16, year) && year >= 1990 && year <= 2037
            && ordered.U16(note + 96, iso)) {
            wanted.Iso(iso, IsoSource::KodakIso);
            return;
        }
    }
}

// Finds the maker by the note's header (or, for headerless notes, the camera's name) and
// reads what it holds.
//   Nikon type 3: "Nikon\0", version (2), 2 bytes, then a TIFF header of its own at +10;
//     its offsets count from that header
//   Olympus: "OLYMPUS\0", "II"/"MM", version (2), the directory at +12, offsets from the
//     note's start; "OM SYSTEM\0\0\0", "II"/"MM", version (2), the directory at +16, the
//     same; the older "OLYMP\0", version (2), the directory at +8, offsets from the TIFF base
//   Panasonic: "Panasonic\0\0\0", the directory at +12, offsets from the TIFF base
//   Sony: "SONY DSC \0\0\0" or "SONY CAM \0\0\0", the directory at +12, from the TIFF base
//   Casio: "QVC\0\0\0", the directory at +6, from the TIFF base
//   Canon, older Nikon, Sony and Casio: a directory at the note's start, from the TIFF base
void ReadMakerNote(const TiffSpan& tiff, const ExifDirectoryExtras& found,
    const std::string& camera, Wanted& wanted)
{
    const Bytes bytes { tiff.data, tiff.size, tiff.bigEndian };
    const std::uint64_t note = found.makerNote;
    const std::uint32_t length = found.makerNoteLength;
    const Directory plain { bytes, note, tiff.base };
    bool big = false;
    if (bytes.StartsWith(note, length, std::string_view("Nikon\0\x02", 7))) {
        std::uint32_t first = 0;
        if (!bytes.OrderMark(note + 10, big))
            return;
        const Bytes own { tiff.data, tiff.size, big };
        if (own.U32(note + 14, first))
            ReadNikon({ own, note + 10 + first, note + 10 }, wanted);
        return;
    }
    const bool olympus = bytes.StartsWith(note, length, std::string_view("OLYMPUS\0", 8));
    const bool omSystem = bytes.StartsWith(note, length, std::string_view("OM SYSTEM\0\0\0", 12));
    if (olympus || omSystem) {
        const std::uint64_t mark = olympus ? 8 : 12;
        if (!bytes.OrderMark(note + mark, big))
            return;
        const Directory equipmentOwner { { tiff.data, tiff.size, big }, note + mark + 4, note };
        Entry e;
        std::string text;
        if (wanted.lens && equipmentOwner.Find(0x2010, e)
            && equipmentOwner.Sub(e).Text(0x0203, text))
            wanted.Lens(text, LensSource::OlympusEquipment);
        return;
    }
    if (bytes.StartsWith(note, length, std::string_view("OLYMP\0", 6))) {
        const Directory old { bytes, note + 8, tiff.base };
        Entry e;
        std::string text;
        if (wanted.lens && old.Find(0x2010, e) && old.Sub(e).Text(0x0203, text))
            wanted.Lens(text, LensSource::OlympusEquipment);
        return;
    }
    if (bytes.StartsWith(note, length, std::string_view("Panasonic\0\0\0", 12))) {
        std::string text;
        if (wanted.lens && Directory { bytes, note + 12, tiff.base }.Text(0x0051, text))
            wanted.Lens(text, LensSource::PanasonicLensType);
        return;
    }
    if (bytes.StartsWith(note, length, std::string_view("SONY DSC \0\0\0", 12))
        || bytes.StartsWith(note, length, std::string_view("SONY CAM \0\0\0", 12))) {
        ReadSony({ bytes, note + 12, tiff.base }, wanted);
        return;
    }
    if (bytes.StartsWith(note, length, std::string_view("QVC\0\0\0", 6))) {
        ReadCasio({ bytes, note + 6, tiff.base }, true, wanted);
        return;
    }
    if (StartsWith(camera, "Canon"))
        ReadCanon(plain, wanted);
    else if (StartsWith(camera, "Nikon") && !bytes.StartsWith(note, length, "Nikon"))
        ReadNikon(plain, wanted);
    else if (StartsWith(camera, "Sony"))
        ReadSony(plain, wanted);
    else if (camera.find("CASIO") != std::string::npos)
        ReadCasio(plain, false, wanted);
    else if (StartsWith(camera, "Kodak"))
        ReadKodak(bytes, note, length, wanted);
}

// The value of a LONG or SHORT entry's field.
std::uint32_t Number(const Bytes& bytes, std::uint64_t entry)
{
    std::uint16_t type = 0;
    std::uint16_t shortValue = 0;
    std::uint32_t value = 0;
    bytes.U16(entry + 2, type);
    bytes.U16(entry + 8, shortValue);
    bytes.U32(entry + 8, value);
    return type == kTypeShort ? shortValue : value;
}

// SensitivityType: which of the standard speeds the camera recorded. 0 (not given) and
// values beyond the standard's 7 let either stand; 3, 5, 6, 7 include the ISO speed; 2, 4, 6, 7 the
// recommended index.
bool Recorded(std::uint16_t sensitivityType, bool isoSpeed)
{
    if (sensitivityType == 0 || sensitivityType > 7)
        return true;
    const unsigned bit = 1u << sensitivityType;
    return (isoSpeed ? 0xE8u : 0xD4u) & bit;
}

std::string Number(double v)
{
    std::string text = FixedText(v, 1);
    if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0)
        text.resize(text.size() - 2);
    return text;
}

} // namespace

std::string LensRangeText(double minFocal, double maxFocal, double minF, double maxF)
{
    if (!(minFocal > 0) || !(maxFocal >= minFocal) || maxFocal > 1e5)
        return {};
    std::string text = Number(minFocal);
    if (Number(maxFocal) != text)
        text += '-' + Number(maxFocal);
    text += " mm";
    if (minF > 0 && minF < 1e3) {
        text += " f/" + Number(minF);
        if (maxF > 0 && maxF < 1e3 && Number(maxF) != Number(minF))
            text += '-' + Number(maxF);
    }
    return text;
}

void NoteExifEntry(const TiffSpan& tiff, std::uint64_t entry, ExifDirectoryExtras& found)
{
    const Bytes bytes { tiff.data, tiff.size, tiff.bigEndian };
    std::uint16_t tag = 0;
    std::uint32_t value = 0;
    bytes.U16(entry, tag);
    bytes.U32(entry + 8, value);
    switch (tag) {
    case kTagMakerNote:
        if (bytes.U32(entry + 4, found.makerNoteLength) && found.makerNoteLength > 4)
            found.makerNote = tiff.base + value;
        break;
    case kTagLensSpecification:
        found.lensSpecification = tiff.base + value;
        break;
    case kTagSensitivityType:
        bytes.U16(entry + 8, found.sensitivityType);
        break;
    case kTagIsoSpeed:
        found.isoSpeed = Number(bytes, entry);
        break;
    case kTagRecommendedExposureIndex:
        found.recommendedExposureIndex = Number(bytes, entry);
        break;
    default:
        break;
    }
}

void ReadPhotoExtras(const TiffSpan& tiff, const ExifDirectoryExtras& found, PhotoRecord& record)
{
    PhotoExtras& extras = record.extras;
    Wanted wanted { record.lens.empty() && extras.lens.empty(),
        (record.iso == 0 || record.iso == 65535) && extras.iso == 0, extras };
    if (wanted.iso && found.isoSpeed != 0 && Recorded(found.sensitivityType, true))
        wanted.Iso(found.isoSpeed, IsoSource::IsoSpeed);
    if (wanted.iso && found.recommendedExposureIndex != 0 && Recorded(found.sensitivityType, false))
        wanted.Iso(found.recommendedExposureIndex, IsoSource::RecommendedExposureIndex);
    if ((wanted.lens || wanted.iso) && found.makerNote != 0)
        ReadMakerNote(tiff, found, record.camera, wanted);
    const Bytes bytes { tiff.data, tiff.size, tiff.bigEndian };
    double v[4] = {};
    if (wanted.lens && found.lensSpecification != 0
        && bytes.Field(found.lensSpecification, 32) != nullptr) {
        for (int i = 0; i < 4; ++i)
            bytes.Rational(found.lensSpecification + 8ULL * i, v[i]);
        wanted.Lens(LensRangeText(v[0], v[1], v[2], v[3]), LensSource::LensSpecification);
    }
    // The record's own values win, also over what an earlier block of the file gave.
    if (!record.lens.empty()) {
        extras.lens = InternedName();
        extras.lensSource = LensSource::LensModel;
    }
    if (record.iso != 0 && (record.iso != 65535 || extras.iso == 0)) {
        extras.iso = 0;
        extras.isoSource = IsoSource::IsoSpeedRatings;
    }
}

const char* LensSourceText(LensSource source)
{
    static const char* const kTexts[kLensSourceCount] = { "", "LensModel",
        "Canon LensModel (0x0095)", "Canon CameraSettings focal range",
        "Olympus Equipment LensModel", "Panasonic LensType (0x0051)", "Sony LensSpec (0xB02A)",
        "Nikon Lens (0x0084)", "LensSpecification", "XMP aux:Lens", "XMP exifEX:LensModel" };
    const auto i = static_cast<int>(source);
    return i >= 0 && i < kLensSourceCount ? kTexts[i] : "";
}

const char* IsoSourceText(IsoSource source)
{
    static const char* const kTexts[kIsoSourceCount] = { "", "ISOSpeedRatings", "ISOSpeed",
        "RecommendedExposureIndex", "Canon CameraSettings ISO", "Canon automatic ISO",
        "Nikon ISO (0x0002)", "Casio ISO", "Kodak ISO" };
    const auto i = static_cast<int>(source);
    return i >= 0 && i < kIsoSourceCount ? kTexts[i] : "";
}
