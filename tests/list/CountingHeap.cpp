#include "tests/list/CountingHeap.h"

#include <cstdlib>
#include <new>

namespace {
long live = 0;
int nothrowFailures = 0;

void* Take(std::size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (block)
        ++live;
    return block;
}

void Give(void* block)
{
    if (block) {
        --live;
        std::free(block);
    }
}
}  // namespace

namespace heap {
long Live() { return live; }
void FailNothrow(int times) { nothrowFailures = times; }
}  // namespace heap

void* operator new(std::size_t size)
{
    void* block = Take(size);
    if (!block)
        std::abort();
    return block;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (nothrowFailures > 0) {
        --nothrowFailures;
        return nullptr;
    }
    return Take(size);
}

void operator delete(void* block) noexcept { Give(block); }
void operator delete(void* block, std::size_t) noexcept { Give(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Give(block); }
