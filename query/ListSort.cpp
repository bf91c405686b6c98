// SPDX-License-Identifier: MIT
#include "query/ListSort.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <string_view>

namespace {
int Sign(int v)
{
    return (v > 0) - (v < 0);
}

// A value that is not a number counts as missing (0), which keeps the order total.
double NumberKey(double value)
{
    return std::isnan(value) ? 0.0 : value;
}

int CompareNumbers(double a, double b)
{
    a = NumberKey(a);
    b = NumberKey(b);
    if (a < b)
        return -1;
    if (a > b)
        return 1;
    return 0;
}
} // namespace

int CompareListRows(const ListRow& a, const ListRow& b, int column, std::int32_t direction)
{
    if (column < 0 || column >= kResultColumnCount)
        return 0;
    const ResultColumnInfo& info = ResultColumnTable()[column];
    // string_view::compare orders bytes as unsigned char (memcmp), so 0x80 and above
    // sort after ASCII whatever the sign of char.
    const int s = info.textKey ? Sign(info.textKey(a).compare(info.textKey(b)))
                               : CompareNumbers(info.numberKey(a), info.numberKey(b));
    return direction * s;
}

namespace {
// Sorting 100,000 rows must stay well within a tenth of a second, so the keys are first
// gathered into one contiguous array instead of being reached through every row.

// A text key: the 8 bytes after the prefix that all keys share, big-endian, so that
// one integer comparison orders most pairs as memcmp would (a key ending early is
// padded with 0, the lowest byte, which keeps a prefix before its extensions); equal
// heads fall back to comparing the whole texts.
struct TextKey {
    std::uint64_t head;
    std::string_view text;
    int index;
};

struct NumberKeyAt {
    double value;
    int index;
};

std::size_t CommonPrefixLength(const std::vector<std::string_view>& texts)
{
    if (texts.empty())
        return 0;
    const std::string_view first = texts.front();
    std::size_t length = first.size();
    for (const std::string_view text : texts) {
        length = std::min(length, text.size());
        std::size_t i = 0;
        while (i < length && text[i] == first[i])
            ++i;
        length = i;
        if (length == 0)
            break;
    }
    return length;
}

std::vector<int> SortTexts(const std::vector<ListRow>& rows,
    std::string_view (*key)(const ListRow&), std::int32_t direction)
{
    std::vector<std::string_view> texts;
    texts.reserve(rows.size());
    for (const ListRow& row : rows)
        texts.push_back(key(row));
    const std::size_t prefix = CommonPrefixLength(texts);
    std::vector<TextKey> keys;
    keys.reserve(rows.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string_view text = texts[i];
        std::uint64_t head = 0;
        for (std::size_t k = 0; k < 8; ++k) {
            const std::size_t at = prefix + k;
            const auto byte = at < text.size() ? static_cast<unsigned char>(text[at]) : 0u;
            head = (head << 8) | byte;
        }
        keys.push_back({ head, text, static_cast<int>(i) });
    }
    const auto less = [](const TextKey& a, const TextKey& b) {
        if (a.head != b.head)
            return a.head < b.head;
        return a.text.compare(b.text) < 0;
    };
    if (direction < 0)
        std::stable_sort(keys.begin(), keys.end(),
            [&less](const TextKey& a, const TextKey& b) { return less(b, a); });
    else
        std::stable_sort(keys.begin(), keys.end(), less);
    std::vector<int> order;
    order.reserve(keys.size());
    for (const TextKey& k : keys)
        order.push_back(k.index);
    return order;
}

std::vector<int> SortNumbers(
    const std::vector<ListRow>& rows, double (*key)(const ListRow&), std::int32_t direction)
{
    std::vector<NumberKeyAt> keys;
    keys.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        keys.push_back({ NumberKey(key(rows[i])), static_cast<int>(i) });
    if (direction < 0)
        std::stable_sort(keys.begin(), keys.end(),
            [](const NumberKeyAt& a, const NumberKeyAt& b) { return b.value < a.value; });
    else
        std::stable_sort(keys.begin(), keys.end(),
            [](const NumberKeyAt& a, const NumberKeyAt& b) { return a.value < b.value; });
    std::vector<int> order;
    order.reserve(keys.size());
    for (const NumberKeyAt& k : keys)
        order.push_back(k.index);
    return order;
}
} // namespace

std::vector<int> SortOrder(const std::vector<ListRow>& rows, int column, std::int32_t direction)
{
    if (column < 0 || column >= kResultColumnCount) {
        std::vector<int> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        return order;
    }
    const ResultColumnInfo& info = ResultColumnTable()[column];
    return info.textKey ? SortTexts(rows, info.textKey, direction)
                        : SortNumbers(rows, info.numberKey, direction);
}
