// A string manager for tests that counts what it allocates and frees, standing for another
// module's heap on the far side of a string-passing boundary.
#pragma once

#include <cstdlib>
#include <new>

#include "core/cstring_abi.h"

namespace testsupport {

struct CountingStringManager final : core::IStringManager
{
    int allocations = 0;
    int frees = 0;
    bool failNext = false;

    core::CStringData* Allocate(int allocLength) noexcept override
    {
        if (failNext)
            return nullptr;
        ++allocations;
        void* memory = std::malloc(sizeof(core::CStringData) + (allocLength + 1) * sizeof(wchar_t));
        return new (memory) core::CStringData{this, 0, allocLength, 1};
    }
    void Free(core::CStringData* data) noexcept override
    {
        ++frees;
        std::free(data);
    }
};

}  // namespace testsupport
