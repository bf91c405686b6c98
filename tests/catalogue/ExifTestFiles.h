// SPDX-License-Identifier: MIT
// Hand-made EXIF blocks and a per-test temporary folder for the catalogue tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// The bytes spelled by pairs of hex digits; spaces are skipped.
inline Bytes Hex(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    Bytes out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return out;
}

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The fields a photo's file gives its record, to compare in one go.
using Fields = std::tuple<std::string, double, double, double, double, double>;
template <class Record> Fields Of(const Record& r)
{
    return { r.camera, r.fNumber, r.focalLength, r.iso, r.exposureTime, r.fileSizeMb };
}

// A directory entry: kind 'L' holds a 32-bit value in place, 'S' a 16-bit value in bytes
// 8-9; 'T' (text) and 'R' (value/denominator) are stored after the directories.
struct ExifEntry {
    char kind;
    std::uint16_t tag;
    std::uint32_t value = 0;
    std::uint32_t denominator = 0;
    std::string text = {};
};
inline ExifEntry TextEntry(std::uint16_t tag, std::string t)
{
    return { 'T', tag, 0, 0, std::move(t) };
}
inline ExifEntry ShortEntry(std::uint16_t tag, std::uint16_t v)
{
    return { 'S', tag, v };
}
inline ExifEntry RationalEntry(std::uint16_t tag, std::uint32_t n, std::uint32_t d)
{
    return { 'R', tag, n, d };
}

// A TIFF block: header, IFD0 at 8, then the EXIF sub-directory when exif is not empty
// (its pointer entry is appended to IFD0), then the texts and rationals.
inline Bytes BuildTiff(bool big, std::vector<ExifEntry> ifd0, const std::vector<ExifEntry>& exif)
{
    Bytes out;
    auto put = [&](std::size_t at, std::uint64_t v, std::size_t n) {
        out.resize(std::max(out.size(), at + n));
        for (std::size_t i = 0; i < n; ++i)
            out[at + i] = static_cast<std::uint8_t>(v >> (8 * (big ? n - 1 - i : i)));
    };
    const std::size_t subAt = 8 + 2 + 12 * (ifd0.size() + (exif.empty() ? 0 : 1)) + 4;
    if (!exif.empty())
        ifd0.push_back({ 'L', 0x8769, static_cast<std::uint32_t>(subAt) });
    std::size_t dataAt = exif.empty() ? subAt : subAt + 2 + 12 * exif.size() + 4;
    put(0, big ? 0x4D4D : 0x4949, 2);
    put(2, 42, 2);
    put(4, 8, 4);
    auto directory = [&](std::size_t at, const std::vector<ExifEntry>& entries) {
        put(at, entries.size(), 2);
        put(at + 2 + 12 * entries.size(), 0, 4);
        for (const ExifEntry& e : entries) {
            at += 12;
            put(at - 10, e.tag, 2);
            put(at - 6, 1, 4);
            const bool inPlace = e.kind == 'L' || e.kind == 'S';
            put(at - 2, inPlace ? e.value : dataAt, e.kind == 'S' ? 2 : 4);
            for (char c : e.kind == 'T' ? e.text + '\0' : std::string())
                put(dataAt++, static_cast<unsigned char>(c), 1);
            if (e.kind == 'R') {
                put(dataAt, e.value, 4);
                put(dataAt + 4, e.denominator, 4);
                dataAt += 8;
            }
        }
    };
    directory(8, ifd0);
    if (!exif.empty())
        directory(subAt, exif);
    return out;
}

// The start of a JPEG file whose first segment is EXIF: the TIFF block begins at byte 12.
inline Bytes WrapJpeg(const Bytes& tiff)
{
    const std::size_t length = tiff.size() + 8;
    Bytes out = Hex("FFD8FFE1 0000 457869660000") + tiff;
    out[4] = static_cast<std::uint8_t>(length >> 8);
    out[5] = static_cast<std::uint8_t>(length);
    return out;
}

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / "fotolot-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // Writes bytes, padded with zeros to size when size is larger, and returns the path.
    std::string Write(const std::string& name, Bytes bytes, std::size_t size = 0) const
    {
        bytes.resize(std::max(size, bytes.size()));
        std::ofstream(path / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
        return (path / name).string();
    }
};
