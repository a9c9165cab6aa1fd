#pragma once
// Allocation failures on demand, for one thread: while armed, the allocation
// that many allocations on throws as new does without memory. The test
// program's replacement of operator new (in PictureCache_test_win.cpp) reads it.
#include <windows.h>

#include <atomic>

namespace WorkSpace::Testing {

inline std::atomic<DWORD> g_failingThread{0};
inline std::atomic<long> g_allocationsLeft{0};

class FailingAllocation {
public:
    explicit FailingAllocation(long after) {
        g_allocationsLeft = after;
        g_failingThread = GetCurrentThreadId();
    }
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;
    ~FailingAllocation() { g_failingThread = 0; }
    bool Failed() const { return g_allocationsLeft < 0; }
};

}  // namespace WorkSpace::Testing
