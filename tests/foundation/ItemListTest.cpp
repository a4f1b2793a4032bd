#include "foundation/ItemList.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <tuple>
#include <vector>

namespace pelorin {
namespace {

// An element that counts its own destruction, to tell owning lists from borrowing ones.
struct Keyed {
    ~Keyed() { if (deaths) ++*deaths; }
    int32_t SortKey() const { return key; }
    int32_t key;
    int32_t tag = 0;
    int* deaths = nullptr;
};

std::vector<int32_t> Tags(const ItemList<Keyed>& list)
{
    std::vector<int32_t> tags;
    for (const Keyed* element : list)
        tags.push_back(element->tag);
    return tags;
}

// Where a newcomer lands decides the order the player sees definitions and
// quotations in: every position of the bisection, and among equal keys before the
// equal element that the search meets.
TEST(ItemList, NewcomerPositionsFollowTheKeyedSearch)
{
    const std::pair<std::vector<int32_t>, std::vector<int32_t>> cases[] = {
        // keys in the order added (tagged 0, 1, ...), then the tags in list order
        {{5, 7, 9, 10}, {0, 1, 2, 3}}, {{5, 7, 9, 9}, {0, 1, 3, 2}}, {{5, 7, 9, 8}, {0, 1, 3, 2}},
        {{5, 7, 9, 7}, {0, 3, 1, 2}},  {{5, 7, 9, 6}, {0, 3, 1, 2}}, {{5, 7, 9, 5}, {3, 0, 1, 2}},
        {{5, 7, 9, 4}, {3, 0, 1, 2}},  {{5, 5}, {1, 0}},
    };
    for (const auto& [keys, tags] : cases) {
        ItemList<Keyed> list(10, ListOrder::Sorted, true, 10);
        for (size_t i = 0; i < keys.size(); ++i)
            list.Add(new Keyed{keys[i], static_cast<int32_t>(i)});
        EXPECT_EQ(Tags(list), tags) << "last key " << keys.back();
    }
}

// Readers fill lists whose length a file decides in one go; the result must be
// the order that adding one element after another gives, ties and all, also on
// a list that already holds elements.
TEST(ItemList, AddEachPlacesLikeOneAddAfterAnother)
{
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        const int32_t keyRange = 1 + static_cast<int32_t>(random() % 8);
        const size_t before = random() % 6;
        const size_t added = random() % 160; // both sides of the small-batch path
        ItemList<Keyed> one(10, ListOrder::Sorted, true, 10);
        ItemList<Keyed> each(10, ListOrder::Sorted, true, 10);
        std::vector<std::unique_ptr<Keyed>> batch;
        for (size_t i = 0; i < before + added; ++i) {
            const int32_t key = static_cast<int32_t>(random() % static_cast<uint32_t>(keyRange));
            const int32_t tag = static_cast<int32_t>(i);
            one.Add(new Keyed{key, tag});
            if (i < before)
                each.Add(new Keyed{key, tag});
            else
                batch.push_back(std::make_unique<Keyed>(key, tag));
        }
        each.AddEach(std::move(batch));
        ASSERT_EQ(Tags(each), Tags(one)) << "round " << round;
        ASSERT_EQ(each.Capacity(), one.Capacity()) << "round " << round;
    }
}

// The capacity grows by the list's step exactly (10, 20, 30: not doubling). Out of
// range, RemoveAt and At do nothing harmful; in range, RemoveAt closes the gap and
// deletes what the list owns, and Clear keeps the slots.
TEST(ItemList, GrowsByItsStepAndRemoveAtDeletesOwnedElements)
{
    int deaths = 0;
    ItemList<Keyed> list(10, ListOrder::Append, true, 10);
    for (int32_t tag = 0; tag < 21; ++tag) {
        list.Add(new Keyed{0, tag, &deaths});
        EXPECT_EQ(list.Capacity(), tag / 10 * 10 + 10) << tag;
    }
    for (const int32_t outside : {list.Count(), -1}) {
        EXPECT_FALSE(list.RemoveAt(outside));
        EXPECT_EQ(list.At(outside), nullptr);
    }
    EXPECT_TRUE(list.RemoveAt(1));
    EXPECT_EQ(std::tuple(deaths, list.At(1)->tag, list.At(19)->tag, list.Count()), std::tuple(1, 2, 20, 20));
    list.Clear();
    EXPECT_EQ(std::tuple(deaths, list.Count(), list.Capacity()), std::tuple(21, 0, 30));
}

} // namespace
} // namespace pelorin
