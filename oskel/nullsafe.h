// The library's null-safe getters are called through pointers that may be null
// (GetSafeHandle, GetSave...). The check hides the pointer from the optimiser, which
// would otherwise assume that `this` is never null and drop the test.
#pragma once

#include <cstdint>

namespace oskel {

inline bool IsNullObject(const void* object) {
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(object);
    __asm__("" : "+r"(value));
    return value == 0;
}

} // namespace oskel
