// SPDX-License-Identifier: MIT
// Hand-made EXIF blocks, a per-test temporary folder and an entry count for the catalogue
// tests.
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

// The fields a photo's file gives its record, to compare in one go.
using Fields = std::tuple<std::string, double, double, double, double, double>;
template <class Record> Fields Of(const Record& r)
{
    return { r.camera, r.fNumber, r.focalLength, r.iso, r.exposureTime, r.fileSizeMb };
}

// SONY / CAM-5, ISO 100, FNumber 28/10, ExposureTime 1/125, FocalLength 50/1, big-endian,
// after the 12-byte JPEG/EXIF prefix: IFD0 at 8 (Make at 104, Model at 109, EXIF at 50),
// IFD1 link, the EXIF directory (ISO in place, the rationals at 116, 124, 132), the data.
inline const Bytes kBigEndian
    = Hex("FFD8FFE1 0094 457869660000  4D4D 002A 00000008  0003"
          "  010F 0002 00000005 00000068  0110 0002 00000006 0000006D  8769 0004 00000001 00000032"
          "  00000000  0004  8827 0003 00000001 00640000  829D 0005 00000001 00000074"
          "  829A 0005 00000001 0000007C  920A 0005 00000001 00000084  00000000"
          "  534F4E5900 43414D2D3500 00  0000001C 0000000A  00000001 0000007D  00000032 00000001");

// The entries of a folder, such as /proc/self/fd or /proc/self/task.
inline std::size_t EntriesOf(const char* folder)
{
    using Entries = std::filesystem::directory_iterator;
    return static_cast<std::size_t>(std::distance(Entries(folder), Entries()));
}

struct TempDir {
    char pattern[32] = "/tmp/fotolot-test-XXXXXX";
    std::filesystem::path path = ::mkdtemp(pattern) ? pattern : "";
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    // Writes bytes, padded with zeros to size when size is larger, and returns the path.
    std::string Write(const std::string& name, Bytes bytes, std::size_t size = 0) const
    {
        bytes.resize(std::max(size, bytes.size()));
        std::ofstream file(path / name, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return (path / name).string();
    }
};
