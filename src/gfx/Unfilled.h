// Memory for pixels that are about to be written whole: not filled first,
// and its pages made ready in one go rather than one fault at a time (on
// this kind of machine a fault costs more than writing its page).
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

// Makes the pages inside [p, p + bytes) ready for writing; harmless where
// the system cannot.
void ReadyPages(void* p, size_t bytes);

// A vector allocator that leaves new elements unset unless given a value.
template <typename T>
struct UnfilledAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnfilledAllocator<U>;
    };
    UnfilledAllocator() = default;
    template <typename U>
    UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}
    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
