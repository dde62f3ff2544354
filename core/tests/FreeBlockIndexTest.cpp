#include "core/FreeBlockIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <random>

// Random inserts (some right after asking for the place's neighbours, as a
// release does), erasures and in-place moves, checked against an ordered map
// after every change, until the index has grown and emptied several times.
TEST(FreeBlockIndex, AnswersAsAnOrderedMapOfTheSameEntriesDoes)
{
    core::FreeBlockIndex index;
    std::map<std::uint32_t, std::int32_t> entries; // offset to size
    std::mt19937 random(31);
    for (int step = 0; step < 30000; ++step) {
        // The population drifts between empty and about 600 entries.
        const bool growing = (step / 3000) % 2 == 0;
        const auto offset = static_cast<std::uint32_t>(8 * (1 + random() % 1000));
        const auto size = static_cast<std::int32_t>(1 + random() % 400);
        auto at = entries.lower_bound(offset);
        const bool absent = at == entries.end() || at->first != offset;
        if (random() % 3 != 0 && growing && absent) {
            ASSERT_TRUE(index.reserve());
            std::uint32_t below = 0, above = 0;
            if (random() % 2 == 0)
                index.findNeighbours(offset, &below, &above);
            index.insert(offset, size);
            entries[offset] = size;
        } else if (random() % 3 != 0 && !growing && at != entries.end()) {
            index.erase(at->first);
            entries.erase(at);
        } else if (at != entries.end()) {
            // A move within the gap around the entry, as a split or merge makes.
            const std::uint32_t low = at == entries.begin() ? 1 : std::prev(at)->first + 1;
            const std::uint32_t high = std::next(at) == entries.end() ? 9000 : std::next(at)->first - 1;
            const std::uint32_t moved = low + static_cast<std::uint32_t>(random() % (high - low + 1));
            index.update(at->first, moved, size);
            entries.erase(at);
            entries[moved] = size;
        }

        ASSERT_EQ(index.getCount(), static_cast<std::int32_t>(entries.size())) << step;
        const auto fit = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.second >= size; });
        ASSERT_EQ(index.findFirstFit(size), fit == entries.end() ? 0u : fit->first) << step;
        std::uint32_t below = 0, above = 0;
        index.findNeighbours(offset, &below, &above);
        at = entries.lower_bound(offset);
        ASSERT_EQ(above, at == entries.end() ? 0u : at->first) << step;
        ASSERT_EQ(below, at == entries.begin() ? 0u : std::prev(at)->first) << step;
        ASSERT_EQ(index.sizeAt(offset), at != entries.end() && at->first == offset ? at->second : 0) << step;
    }
}
