// Sweep records: the list of crossings, the LCR layout code and its Nyquist
// pair, and the three-channel test that every consumer of a block shares.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "fra/lcr_layout.h"
#include "fra/llist.h"
#include "fra/sweep_records.h"

namespace {

// Counts live elements, so the test sees every copy freed exactly once.
struct counted {
    static inline int alive = 0;
    int id = 0;
    explicit counted(int i) : id(i) { ++alive; }
    counted(const counted& other) : id(other.id) { ++alive; }
    ~counted() { --alive; }
};

std::vector<int> walk(LList<counted>& list)
{
    std::vector<int> ids;
    for (auto* n = list.next(); n != nullptr; n = list.next()) {
        ids.push_back(n->element->id);
    }
    return ids;
}

TEST(SweepLList, AppendsCopiesInOrderAndIteratesAgainAfterTheEnd)
{
    {
        LList<counted> list;
        EXPECT_EQ(list.tail(), nullptr);
        EXPECT_EQ(list.next(), nullptr);
        EXPECT_EQ(list.next(), nullptr);  // an empty list stays at its end
        for (int id = 1; id <= 3; ++id) {
            counted item(id);
            list.append(item);
        }
        EXPECT_EQ(counted::alive, 3);  // the list's own copies
        EXPECT_EQ(list.count, 3);
        EXPECT_EQ(list.tail()->element->id, 3);
        EXPECT_EQ(walk(list), (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(walk(list), (std::vector<int>{1, 2, 3}));  // starts again at the head

        ASSERT_NE(list.next(), nullptr);  // cursor on the head
        list.remove_head();
        EXPECT_EQ(list.count, 2);
        EXPECT_EQ(counted::alive, 2);
        // The cursor pointed at the freed node: iteration starts at the new head.
        EXPECT_EQ(walk(list), (std::vector<int>{2, 3}));
    }
    EXPECT_EQ(counted::alive, 0);  // the destructor frees what is left
}

TEST(SweepLList, RemovingFromAnEmptyListDoesNothing)
{
    LList<s_fra_result> list;
    list.remove_head();
    EXPECT_EQ(list.count, 0);
    list.append(s_fra_result{1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    list.remove_head();
    list.remove_head();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.head, nullptr);
}

TEST(SweepLayout, ValuesPerPoint)
{
    const int cases[][2] = {{1, 8}, {3, 8}, {6, 13}, {7, 5}, {8, 5}, {0, 8}, {42, 8}};
    for (const auto& c : cases) {
        EXPECT_EQ(lcr_values_for_layout(c[0]), c[1]) << "layout " << c[0];
    }
}

TEST(SweepLayout, NyquistPairStaysFiniteForZeroPoints)
{
    struct nyquist_case {
        int layout;
        s_lcr_result point;
        double real;
        double imaginary;
    };
    const double two_pi = 6.2831853071795845;
    const nyquist_case cases[] = {
        {7, {{100, 12.5, -3.5}}, 12.5, -3.5},
        {8, {{100, 0.6, 0.8}}, 0.6, -0.8},                  // G^2 + B^2 = 1
        {8, {{100, 2, 0}}, 0.5, 0},
        {8, {{100, 0, 0}}, 0, 0},                           // a zero point, not 0/0
        {8, {}, 0, 0},
        {3, {{1000, 0, 0, 0, 0, 0, 1e-6, 50}}, 50, -1 / (two_pi * 1000 * 1e-6)},
        {6, {{1000, 0, 0, 0, 0, 0, 1e-6, 50}}, 50, -1 / (two_pi * 1000 * 1e-6)},
        {3, {{1000, 0, 0, 0, 0, 0, 0, 50}}, 50, 0},         // C = 0
        {1, {{0, 0, 0, 0, 0, 0, 1e-6, 50}}, 50, 0},         // f = 0
    };
    for (const nyquist_case& c : cases) {
        const s_nyquist_pair pair = lcr_nyquist_pair(c.point, c.layout);
        EXPECT_TRUE(std::isfinite(pair.real) && std::isfinite(pair.imaginary)) << "layout " << c.layout;
        EXPECT_DOUBLE_EQ(pair.real, c.real) << "layout " << c.layout;
        EXPECT_DOUBLE_EQ(pair.imaginary, c.imaginary) << "layout " << c.layout;
    }
}

TEST(SweepBlock, ThreeChannelComesFromTheBlockItself)
{
    struct channel_case {
        int type;
        int sub_model;
        bool third_channel;
        int is_type9;
        int channels;
    };
    const channel_case cases[] = {
        {9, 3, true, 1, 3},
        {9, 3, false, 1, 2},
        {9, 2, true, 1, 2},
        {7, 3, true, 0, 2},
        {0, 0, false, 0, 2},
    };
    auto block = make_fra_sweep();
    for (const channel_case& c : cases) {
        set_fra_sweep_channels(*block, c.type, c.sub_model, c.third_channel);
        EXPECT_EQ(block->is_type9, c.is_type9);
        EXPECT_EQ(block->channels, c.channels);
        EXPECT_EQ(fra_sweep_is_three_channel(*block), c.channels == 3);
    }
    // A block copied whole keeps its shape, whatever is connected later.
    set_fra_sweep_channels(*block, 9, 3, true);
    auto copy = make_fra_sweep();
    std::memcpy(copy.get(), block.get(), sizeof(s_fra_sweep));
    EXPECT_TRUE(fra_sweep_is_three_channel(*copy));
    copy->is_type9 = 0;
    EXPECT_FALSE(fra_sweep_is_three_channel(*copy));
}

TEST(SweepBlock, NewBlocksAreZeroAndHeaderValuesAreKeptInRange)
{
    auto lcr = make_lcr_sweep();
    EXPECT_EQ(lcr->points, 0);
    EXPECT_EQ(lcr->point[SWEEP_MAX_POINTS - 1].value[LCR_RESULT_VALUES - 1], 0.0);
    EXPECT_EQ(make_fra_sweep()->point[SWEEP_MAX_POINTS - 1].delay2, 0.0);

    const int conventions[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 0}, {-1, 0}, {-99, 0}};
    for (const auto& c : conventions) {
        EXPECT_EQ(stored_phase_convention(c[0]), c[1]);
    }
    EXPECT_FALSE(sweep_point_count_fits(1));
    EXPECT_TRUE(sweep_point_count_fits(2));
    EXPECT_TRUE(sweep_point_count_fits(2000));
    EXPECT_FALSE(sweep_point_count_fits(2001));
    EXPECT_FALSE(sweep_point_count_fits(-1));
}

}  // namespace
