// SPDX-License-Identifier: MIT
#include "catalogue/XmpLens.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "catalogue/PhotoExtras.h"

namespace {

constexpr std::string_view kXmpId("http://ns.adobe.com/xap/1.0/\0", 29);
constexpr std::size_t kMaxLensLength = 127;
// Segments looked at before giving up: a camera writes a handful before the image data.
constexpr int kMaxSegments = 32;

bool NameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':'
        || c == '_' || c == '-' || c == '.';
}

// The text with the five XML entities replaced, spaces at either end dropped.
std::string Unescape(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\t'))
        text.remove_suffix(1);
    static const std::pair<std::string_view, char> kEntities[] = { { "&amp;", '&' },
        { "&lt;", '<' }, { "&gt;", '>' }, { "&quot;", '"' }, { "&apos;", '\'' } };
    std::string out;
    for (std::size_t i = 0; i < text.size() && out.size() < kMaxLensLength; ++i) {
        char c = text[i];
        if (c == '&') {
            for (const auto& [entity, replacement] : kEntities) {
                if (text.compare(i, entity.size(), entity) == 0) {
                    c = replacement;
                    i += entity.size() - 1;
                    break;
                }
            }
        }
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
        out += c;
    }
    return out;
}

// The value of the attribute or element name in packet; empty when there is none whose
// end lies inside the packet.
std::string Property(std::string_view packet, std::string_view name)
{
    for (std::size_t at = packet.find(name); at != std::string_view::npos;
         at = packet.find(name, at + 1)) {
        const char before = at > 0 ? packet[at - 1] : ' ';
        if (NameChar(before) || before == '/')
            continue;
        std::size_t p = at + name.size();
        while (p < packet.size() && (packet[p] == ' ' || packet[p] == '\n' || packet[p] == '\t'))
            ++p;
        if (p >= packet.size())
            return {};
        std::size_t end = std::string_view::npos;
        if (packet[p] == '=') {
            ++p;
            while (p < packet.size() && (packet[p] == ' ' || packet[p] == '\n'))
                ++p;
            if (p >= packet.size() || (packet[p] != '"' && packet[p] != '\''))
                continue;
            end = packet.find(packet[p], p + 1);
            ++p;
        } else if (packet[p] == '>' && before == '<') {
            ++p;
            end = packet.find('<', p);
        } else {
            continue;
        }
        if (end == std::string_view::npos)
            return {}; // cut off where the bytes read end
        std::string value = Unescape(packet.substr(p, end - p));
        if (!value.empty())
            return value;
    }
    return {};
}

} // namespace

void ReadXmpLens(const std::uint8_t* data, std::size_t size, PhotoExtras& extras)
{
    // Segments: FF, marker, then (but for the markers without one) a big-endian length
    // that counts itself and the payload. The image data starts after SOS (FF DA).
    std::size_t pos = 2;
    for (int n = 0; n < kMaxSegments && pos <= size && size - pos >= 4; ++n) {
        if (data[pos] != 0xFF)
            return;
        const std::uint8_t marker = data[pos + 1];
        if (marker == 0xDA || marker == 0xD9)
            return;
        if (marker == 0xFF) { // a fill byte
            ++pos;
            continue;
        }
        const std::size_t length = (std::size_t { data[pos + 2] } << 8) | data[pos + 3];
        if (length < 2)
            return;
        const std::size_t payload = pos + 4;
        const std::size_t available = std::min(length - 2, size - payload);
        const std::string_view bytes(reinterpret_cast<const char*>(data + payload), available);
        if (marker == 0xE1 && bytes.substr(0, kXmpId.size()) == kXmpId) {
            const std::string_view packet = bytes.substr(kXmpId.size());
            const std::pair<std::string_view, LensSource> kNames[]
                = { { "aux:Lens", LensSource::XmpAuxLens },
                      { "exifEX:LensModel", LensSource::XmpExifExLensModel } };
            for (const auto& [name, source] : kNames) {
                std::string lens = Property(packet, name);
                if (!lens.empty()) {
                    extras.lens = lens;
                    extras.lensSource = source;
                    return;
                }
            }
            return;
        }
        pos += 2 + length;
    }
}
