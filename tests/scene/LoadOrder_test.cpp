#include "scene/LoadOrder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace WorkSpace;

TEST(LoadOrder, WorkerCountAndWindow) {
    struct Case { uint32_t processors; size_t workers; size_t window; };
    const Case cases[] = {{0, 0, 2}, {1, 0, 2}, {2, 2, 4}, {3, 3, 5}, {4, 4, 6}, {16, 4, 6}};
    for (const Case& c : cases) {
        EXPECT_EQ(LoadWorkerCount(c.processors), c.workers) << c.processors;
        EXPECT_EQ(LoadWindow(LoadWorkerCount(c.processors)), c.window) << c.processors;
    }
    EXPECT_EQ(LoadWindow(100), kMaxLoadWindow);
}

namespace {

// A fixed sequence of 32-bit draws, so every schedule can be replayed.
struct Draws {
    uint32_t state;
    uint32_t Next(uint32_t below) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % below;
    }
};

struct Outcome {
    std::vector<size_t> decoded;  // in the order decoders started them
    std::vector<size_t> loaded;   // in the order they were taken
    size_t peakPending = 0;
    bool stuck = false;
};

// Loading one picture after the other, stopping at the wanted number.
Outcome OneAfterAnother(const std::vector<bool>& loads, size_t wanted) {
    Outcome outcome;
    for (size_t i = 0; i < loads.size() && outcome.loaded.size() < wanted; ++i) {
        outcome.decoded.push_back(i);
        if (loads[i]) outcome.loaded.push_back(i);
    }
    return outcome;
}

// `workers` decoders and one uploader acting in an order drawn at random.
Outcome Interleaved(const std::vector<bool>& loads, size_t wanted, size_t workers,
                    uint32_t seed) {
    LoadOrder order(loads.size(), wanted, LoadWindow(workers));
    Outcome outcome;
    std::vector<int64_t> busy(workers, -1);  // picture each decoder holds
    Draws draws{seed};
    size_t expectedNext = 0;
    while (!order.Complete()) {
        bool acted = false;
        for (int attempt = 0; attempt < 8 && !acted; ++attempt) {
            const uint32_t who = draws.Next(uint32_t(workers) + 1);
            if (who == workers) {
                size_t index = 0;
                if (!order.NextToTake(index)) continue;
                if (index != expectedNext++) outcome.stuck = true;
                if (loads[index]) outcome.loaded.push_back(index);
                order.Take(index, loads[index]);
                acted = true;
            } else if (busy[who] >= 0) {
                order.Finish(size_t(busy[who]));
                busy[who] = -1;
                acted = true;
            } else {
                size_t index = 0;
                if (!order.Start(index)) continue;
                busy[who] = int64_t(index);
                outcome.decoded.push_back(index);
                acted = true;
            }
            if (order.PeakPending() > order.Window()) outcome.stuck = true;
        }
        if (!acted) {
            // Nobody could act in eight tries; make sure somebody can at all.
            size_t index = 0;
            bool anyBusy = false;
            for (int64_t b : busy) anyBusy = anyBusy || b >= 0;
            if (!anyBusy && !order.NextToTake(index)) {
                LoadOrder probe = order;
                if (!probe.Start(index)) {
                    outcome.stuck = true;
                    break;
                }
            }
        }
    }
    for (int64_t b : busy) {
        if (b >= 0) outcome.stuck = true;  // a decode under way when the load ended
    }
    outcome.peakPending = order.PeakPending();
    return outcome;
}

}  // namespace

// Whatever order the decoders finish in, the pictures that load and the
// pictures that get decoded are exactly those of loading one after the
// other, and no more than the window are ever pending.
TEST(LoadOrder, AnyScheduleGivesTheOneAfterAnotherOutcome) {
    struct Case { const char* what; size_t count; size_t wanted; uint32_t failEvery; };
    const Case cases[] = {
        {"all load, list longer than wanted", 45, 30, 0},
        {"all load, list shorter than wanted", 7, 30, 0},
        {"every third fails", 100, 30, 3},
        {"most fail", 200, 30, 2},
        {"one wanted", 10, 1, 4},
        {"empty list", 0, 30, 0},
        {"nothing loads", 12, 30, 1},
    };
    for (const Case& c : cases) {
        std::vector<bool> loads(c.count);
        for (size_t i = 0; i < c.count; ++i) loads[i] = c.failEvery == 0 || (i + 1) % c.failEvery != 0;
        if (c.failEvery == 2) loads[0] = loads[5] = loads[6] = false;
        const Outcome expected = OneAfterAnother(loads, c.wanted);
        for (size_t workers : {size_t(1), size_t(2), size_t(4)}) {
            for (uint32_t seed = 1; seed <= 40; ++seed) {
                const Outcome got = Interleaved(loads, c.wanted, workers, seed);
                SCOPED_TRACE(::testing::Message() << c.what << ", " << workers
                                                  << " workers, seed " << seed);
                ASSERT_FALSE(got.stuck);
                ASSERT_EQ(got.loaded, expected.loaded);
                ASSERT_EQ(got.decoded, expected.decoded);
                ASSERT_LE(got.peakPending, LoadWindow(workers));
            }
        }
    }
}

TEST(LoadOrder, PicturesAreTakenOnlyInListOrder) {
    LoadOrder order(5, 5, 4);
    size_t a = 0, b = 0, c = 0, index = 0;
    ASSERT_TRUE(order.Start(a));
    ASSERT_TRUE(order.Start(b));
    ASSERT_TRUE(order.Start(c));
    order.Finish(c);
    order.Finish(b);
    EXPECT_FALSE(order.NextToTake(index));  // the first is still being decoded
    order.Take(b, true);                    // out of turn: ignored
    order.Finish(a);
    ASSERT_TRUE(order.NextToTake(index));
    EXPECT_EQ(index, a);
    order.Take(a, true);
    ASSERT_TRUE(order.NextToTake(index));
    EXPECT_EQ(index, b);
}

TEST(LoadOrder, WindowBoundsPicturesAheadOfTheUploads) {
    LoadOrder order(50, 50, 4);
    size_t index = 0;
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(order.Start(index));
    for (size_t i = 0; i < 4; ++i) order.Finish(i);
    EXPECT_FALSE(order.Start(index));  // four finished but none uploaded yet
    order.Take(0, false);
    ASSERT_TRUE(order.Start(index));
    EXPECT_EQ(index, 4u);
    EXPECT_EQ(order.PeakPending(), 4u);
}
