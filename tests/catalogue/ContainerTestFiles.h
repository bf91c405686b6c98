// SPDX-License-Identifier: MIT
// Builders of hand-made container files for the reader's tests: TIFF blocks in either
// byte order, ISO media boxes, and the HEIF, CR3, RAF and MRW files around them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/catalogue/ExifTestFiles.h"

// Concatenation of byte strings.
inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// An unsigned value in n bytes, most significant first unless littleEndian.
inline Bytes Be(std::uint64_t value, int n, bool littleEndian = false)
{
    Bytes out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        out[static_cast<std::size_t>(littleEndian ? i : n - 1 - i)]
            = static_cast<std::uint8_t>(value >> (8 * i));
    return out;
}

inline Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

// A box: 32-bit size, type, payload.
inline Bytes Box(const std::string& type, const Bytes& payload)
{
    return Cat({ Be(8 + payload.size(), 4), Text(type), payload });
}

// A full box: version and 24-bit flags before the payload.
inline Bytes FullBox(const std::string& type, int version, const Bytes& payload)
{
    return Box(type, Cat({ Be(static_cast<std::uint64_t>(version), 1), Be(0, 3), payload }));
}

// Which directories a test TIFF block holds.
enum class Directories { Both, ImageOnly, ExifOnly };

// A TIFF block: header ("II" or "MM", magic, first directory at 8), then IFD0 (Make
// "FUJIFILM", Model "X-T5", the EXIF pointer, and tag 0x0017 = rw2Iso when that is not 0)
// and the EXIF directory (ExposureTime 1/500, FNumber 56/10, ISO 125 unless iso0,
// FocalLength 23/1), or only one of the two, first. Read, it gives "Fujifilm X-T5", F5.6,
// 23 mm, ISO 125, 1/500 s.
inline Bytes TiffBlock(bool bigEndian, Directories which = Directories::Both,
    std::uint16_t magic = 42, std::uint16_t rw2Iso = 0, bool iso0 = false)
{
    const bool le = !bigEndian;
    auto u16 = [le](std::uint64_t v) { return Be(v, 2, le); };
    auto u32 = [le](std::uint64_t v) { return Be(v, 4, le); };
    struct Entry {
        std::uint16_t tag, type;
        std::uint32_t count;
        Bytes data;
    };
    Bytes out = Cat({ Text(bigEndian ? "MM" : "II"), u16(magic), u32(8) });
    // Appends a directory of entries and its data, and returns where it starts.
    auto directory = [&](const std::vector<Entry>& entries) {
        const std::size_t at = out.size();
        std::size_t data = at + 2 + 12 * entries.size() + 4;
        Bytes values;
        out = Cat({ out, u16(entries.size()) });
        for (const Entry& e : entries) {
            out = Cat({ out, u16(e.tag), u16(e.type), u32(e.count) });
            if (e.data.size() <= 4) {
                Bytes inPlace = e.data;
                inPlace.resize(4);
                out = Cat({ out, inPlace });
            } else {
                out = Cat({ out, u32(data + values.size()) });
                values = Cat({ values, e.data });
            }
        }
        out = Cat({ out, u32(0), values });
        return at;
    };
    const std::vector<Entry> exif = { { 0x829A, 5, 1, Cat({ u32(1), u32(500) }) },
        { 0x829D, 5, 1, Cat({ u32(56), u32(10) }) }, { 0x8827, 3, 1, u16(iso0 ? 0 : 125) },
        { 0x920A, 5, 1, Cat({ u32(23), u32(1) }) } };
    if (which == Directories::ExifOnly) {
        directory(exif);
        return out;
    }
    std::vector<Entry> image = { { 0x010F, 2, 9, Text(std::string("FUJIFILM") + '\0') },
        { 0x0110, 2, 5, Text(std::string("X-T5") + '\0' + '\0') } };
    if (rw2Iso != 0)
        image.push_back({ 0x0017, 3, 1, u16(rw2Iso) });
    if (which == Directories::Both)
        image.push_back({ 0x8769, 4, 1, u32(0) });
    directory(image);
    if (which == Directories::Both) {
        const Bytes pointer = u32(out.size());
        const std::size_t valueAt = 8 + 2 + 12 * (image.size() - 1) + 8;
        std::copy(pointer.begin(), pointer.end(), out.begin() + static_cast<long>(valueAt));
        directory(exif);
    }
    return out;
}

// The fields of TiffBlock's photo in a file of under 52,429 bytes (size 0.0 MB).
inline Fields FujiFields(double iso = 125)
{
    return Fields("Fujifilm X-T5", 5.6, 23, iso, 1.0 / 500, 0);
}

// The HEIF 'Exif' item's payload: offset 6, "Exif\0\0", the TIFF block.
inline Bytes HeifExifPayload(bool bigEndian)
{
    return Cat({ Be(6, 4), Text(std::string("Exif") + '\0' + '\0'), TiffBlock(bigEndian) });
}

// A CR3 file: ftyp "crx ", moov with Canon's uuid box holding CMT1 (IFD0) and CMT2 (the
// EXIF directory), then a small mdat.
inline Bytes Cr3File(bool bigEndian, bool withCmt2 = true)
{
    const Bytes uuid = Hex("85c0b687820f11e08111f4ce462b6a48");
    const Bytes canon = Cat({ uuid, Box("CNCV", Text("CanonCR3_001/00.10.00/00.00.00")),
        Box("CMT1", TiffBlock(bigEndian, Directories::ImageOnly)),
        withCmt2 ? Box("CMT2", TiffBlock(bigEndian, Directories::ExifOnly)) : Bytes(),
        Box("THMB", Bytes(64, 0x22)) });
    return Cat({ Box("ftyp", Cat({ Text("crx "), Be(1, 4), Text("crx isom") })),
        Box("moov", Cat({ Box("uuid", canon), Box("trak", Bytes(32, 0x33)) })),
        Box("mdat", Bytes(100, 0)) });
}

// A RAF file: the header with the embedded JPEG's offset and length at 84 and 88, the
// JPEG (SOI, the EXIF segment, EOI) at jpegAt.
inline Bytes RafFile(bool bigEndian, std::uint32_t jpegAt = 148)
{
    const Bytes tiff = TiffBlock(bigEndian);
    const Bytes jpeg = Cat({ Hex("FFD8FFE1"), Be(2 + 6 + tiff.size(), 2),
        Text(std::string("Exif") + '\0' + '\0'), tiff, Hex("FFD9") });
    Bytes header = Cat({ Text("FUJIFILMCCD-RAW 0201FF383501X-T5") });
    header.resize(84, 0);
    header = Cat({ header, Be(jpegAt, 4), Be(jpeg.size(), 4) });
    header.resize(jpegAt, 0);
    return Cat({ header, jpeg, Bytes(64, 0) });
}

// An MRW file: "\0MRM", the blocks' length, PRD, TTW (the TIFF block), WBG, then data.
inline Bytes MrwFile(bool bigEndian)
{
    const Bytes tiff = TiffBlock(bigEndian);
    const Bytes blocks = Cat(
        { Text(std::string("\0PRD", 4)), Be(24, 4), Bytes(24, 0), Text(std::string("\0TTW", 4)),
            Be(tiff.size(), 4), tiff, Text(std::string("\0WBG", 4)), Be(12, 4), Bytes(12, 0) });
    return Cat({ Text(std::string("\0MRM", 4)), Be(blocks.size(), 4), blocks, Bytes(64, 0) });
}
