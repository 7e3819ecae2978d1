#include "allocation_failure.h"

#include <cstdlib>
#include <new>

namespace {

long allocationsLeft;  // 0: nothing armed
bool failed;

void* allocate(std::size_t size)
{
    if (allocationsLeft > 0 && --allocationsLeft == 0) {
        failed = true;
        throw std::bad_alloc();
    }
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    return block;
}

} // namespace

void failAllocationAfter(long n)
{
    allocationsLeft = n;
    failed = false;
}

bool allocationFailed()
{
    return failed;
}

void stopFailingAllocations()
{
    allocationsLeft = 0;
}

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}
