// SPDX-License-Identifier: MIT
// Hand-made EXIF blocks and a per-test temporary folder for the catalogue tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// One directory entry: a 32-bit value written as it is, an ISO-style 16-bit value in
// bytes 8-9, or a text or rational stored after the directories with its offset as value.
struct ExifEntry {
    enum Kind { Raw, Short, Text, Rational } kind;
    std::uint16_t tag;
    std::uint32_t value = 0;
    std::string text = {};
    std::uint32_t numerator = 0;
    std::uint32_t denominator = 0;
};

inline ExifEntry RawEntry(std::uint16_t tag, std::uint32_t value) { return {ExifEntry::Raw, tag, value}; }
inline ExifEntry ShortEntry(std::uint16_t tag, std::uint16_t value) { return {ExifEntry::Short, tag, value}; }
inline ExifEntry TextEntry(std::uint16_t tag, std::string text) { return {ExifEntry::Text, tag, 0, std::move(text)}; }
inline ExifEntry RationalEntry(std::uint16_t tag, std::uint32_t n, std::uint32_t d)
{
    return {ExifEntry::Rational, tag, 0, {}, n, d};
}

// A TIFF block: header, IFD0 at 8, then the EXIF sub-directory when exif is not empty
// (its pointer entry is appended to IFD0), then the texts and rationals.
inline Bytes BuildTiff(bool bigEndian, std::vector<ExifEntry> ifd0, const std::vector<ExifEntry>& exif)
{
    Bytes out;
    auto put = [&](std::size_t at, std::uint64_t v, int n) {
        if (out.size() < at + n)
            out.resize(at + n);
        for (int i = 0; i < n; ++i)
            out[at + i] = static_cast<std::uint8_t>(v >> (8 * (bigEndian ? n - 1 - i : i)));
    };
    const std::size_t subAt = 8 + 2 + 12 * (ifd0.size() + (exif.empty() ? 0 : 1)) + 4;
    if (!exif.empty())
        ifd0.push_back(RawEntry(0x8769, static_cast<std::uint32_t>(subAt)));
    std::size_t dataAt = exif.empty() ? subAt : subAt + 2 + 12 * exif.size() + 4;
    out.push_back(bigEndian ? 'M' : 'I');
    out.push_back(bigEndian ? 'M' : 'I');
    put(2, 42, 2);
    put(4, 8, 4);
    auto directory = [&](std::size_t at, const std::vector<ExifEntry>& entries) {
        put(at, entries.size(), 2);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ExifEntry& e = entries[i];
            const std::size_t p = at + 2 + 12 * i;
            put(p, e.tag, 2);
            put(p + 4, 1, 4);
            if (e.kind == ExifEntry::Short) {
                put(p + 8, e.value, 2);
                put(p + 10, 0, 2);
            } else if (e.kind == ExifEntry::Raw) {
                put(p + 8, e.value, 4);
            } else if (e.kind == ExifEntry::Text) {
                put(p + 8, dataAt, 4);
                put(dataAt + e.text.size(), 0, 1);
                std::copy(e.text.begin(), e.text.end(), out.begin() + static_cast<std::ptrdiff_t>(dataAt));
                dataAt += e.text.size() + 1;
            } else {
                put(p + 8, dataAt, 4);
                put(dataAt, e.numerator, 4);
                put(dataAt + 4, e.denominator, 4);
                dataAt += 8;
            }
        }
        put(at + 2 + 12 * entries.size(), 0, 4);
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
    const std::uint8_t prefix[12] = {0xFF, 0xD8, 0xFF, 0xE1, static_cast<std::uint8_t>(length >> 8),
        static_cast<std::uint8_t>(length), 'E', 'x', 'i', 'f', 0, 0};
    Bytes out(sizeof prefix + tiff.size());
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = i < sizeof prefix ? prefix[i] : tiff[i - sizeof prefix];
    return out;
}

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fotolot-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Writes bytes, padded with zeros to size when size is larger, and returns the path.
    std::string Write(const std::string& name, const Bytes& bytes, std::size_t size = 0) const
    {
        const std::string path = (m_path / name).string();
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        for (std::size_t i = bytes.size(); i < size; ++i)
            out.put('\0');
        return path;
    }
    std::filesystem::path Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
