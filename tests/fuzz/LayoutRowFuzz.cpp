// Arbitrary layout rows: split into seven fields that give the row back, read as positions,
// and tested against points and limits from the far ends of the int32 range.
#include "FuzzCheck.h"
#include "FuzzInput.h"

#include "settings/TextCodec.h"
#include "ui/layout/Element.h"
#include "ui/layout/LayoutLoader.h"
#include "ui/layout/LayoutReader.h"
#include "ui/layout/PopupRows.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace xk;
using fuzz::Check;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// The row as the fields give it back: the used fields joined with commas.
void CheckSplit(std::string_view text, const SplitRow& row) {
    const auto commas = static_cast<size_t>(std::count(text.begin(), text.end(), ','));
    const size_t used = std::min(commas, kLayoutFieldCount - 1) + 1;
    std::string joined = row.fields[0];
    for (size_t i = 1; i < used; ++i) {
        joined += "," + row.fields[i];
    }
    Check(joined == text);
    for (size_t i = used; i < kLayoutFieldCount; ++i) {
        Check(row.fields[i].empty());
    }
    Check(row.tooManyCommas == (commas > kLayoutFieldCount - 1));
}

void CheckElement(const Element& e, int32_t px, int32_t py) {
    const Rect r = e.Bounds();
    Check(r.left == e.x && r.top == e.y);
    const int64_t right = int64_t{e.x} + e.width;
    const int64_t bottom = int64_t{e.y} + e.height;
    Check(r.right == std::clamp<int64_t>(right, kMin, kMax));
    Check(r.bottom == std::clamp<int64_t>(bottom, kMin, kMax));
    // Where the edges did not have to be clamped the rectangle is the element.
    if (r.right == right && r.bottom == bottom) {
        Check(e.Contains(px, py) == (px >= r.left && px < r.right && py >= r.top && py < r.bottom));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput in(data, size);
    const auto px = in.Value<int32_t>();
    const auto py = in.Value<int32_t>();
    const auto last = in.Value<int32_t>();
    const auto rowHeight = in.Value<int32_t>();
    const auto rows = in.Value<int32_t>();

    // Each line of the rest is one row value, cut as the reader cuts it.
    std::vector<Element> elements;
    const std::string_view text = in.Rest();
    size_t start = 0;
    while (start <= text.size() && elements.size() < 200) {
        const size_t end = std::min(text.find('\n', start), text.size());
        const std::string value =
            TruncateUtf16Units(text.substr(start, end - start), kLayoutRowCapacity - 1);
        Check(Utf16FromUtf8(value).size() <= kLayoutRowCapacity - 1);
        const SplitRow row = SplitLayoutRow(value);
        CheckSplit(value, row);
        elements.push_back(ElementFromRow(row.fields));
        start = end + 1;
    }

    const std::vector<int32_t> xs = {px, kMin, kMax, 0, -1, elements.front().x};
    const std::vector<int32_t> ys = {py, kMin, kMax, 0, -1, elements.front().y};
    for (const int32_t x : xs) {
        for (const int32_t y : ys) {
            for (const Element& e : elements) {
                CheckElement(e, x, y);
            }
            for (const int32_t limit : {last, kMin, kMax, -1, 0}) {
                // The first element of 0..limit that holds the point, or none.
                const int32_t hit = HitTest(elements, x, y, limit);
                if (hit == kNoElement) {
                    continue;
                }
                Check(hit >= 0 && hit <= limit && static_cast<size_t>(hit) < elements.size());
                Check(elements[static_cast<size_t>(hit)].Contains(x, y));
                for (int32_t i = 0; i < hit; ++i) {
                    Check(!elements[static_cast<size_t>(i)].Contains(x, y));
                }
            }
            const Element& e = elements.front();
            const int32_t row = RowAt(x, y, e.width, rowHeight, rows);
            Check(row == kNoElement || (row >= 1 && row <= rows));
        }
    }
    return 0;
}
