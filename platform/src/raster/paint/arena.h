// Scratch memory for the parts of one figure: a buffer inside the arena that
// spills to heap blocks only for paths with very many vertices.  Nothing is
// given back piece by piece; everything goes at once with the arena, so a
// figure usually costs no allocation at all.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

namespace win::raster {

// A figure larger than an arena may hold: bad_alloc, or an abort where the
// build has no exceptions (the playground's compiler).
[[noreturn]] inline void figure_too_large() {
#if defined(__cpp_exceptions) || defined(__EXCEPTIONS)
    throw std::bad_alloc();
#else
    std::abort();
#endif
}

class FigureArena {
  public:
    FigureArena() {}
    FigureArena(const FigureArena&) = delete;
    FigureArena& operator=(const FigureArena&) = delete;
    ~FigureArena() {
        while (spilled_) {
            Block* next = spilled_->next;
            ::operator delete(spilled_);
            spilled_ = next;
        }
    }

    // Room for bytes aligned to align (a power of two, at most that of std::max_align_t).
    void* allocate(std::size_t bytes, std::size_t align) {
        void* p = next_;
        std::size_t space = std::size_t(end_ - next_);
        if (std::align(align, bytes, p, space)) {
            next_ = static_cast<std::byte*>(p) + bytes;
            return p;
        }
        return spill(bytes, align);
    }
    // Uninitialised room for n values of T.
    template <typename T>
    T* allocate_array(std::size_t n) {
        if (n > MOST_BYTES / sizeof(T)) figure_too_large();
        return static_cast<T*>(allocate(n * sizeof(T), alignof(T)));
    }
    // A T made in the arena.  Its destructor is the caller's to run.
    template <typename T, typename... Args>
    T* make(Args&&... args) {
        return new (allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    }

  private:
    // A heap block; its usable room follows the header.
    struct alignas(std::max_align_t) Block {
        Block* next;
    };

    void* spill(std::size_t bytes, std::size_t align) {
        const std::size_t slack = sizeof(Block) + align;
        if (bytes > MOST_BYTES) figure_too_large();
        const std::size_t size = std::min(std::max(next_block_, bytes + slack), MOST_BYTES + slack);
        Block* block = static_cast<Block*>(::operator new(size));
        block->next = spilled_;
        spilled_ = block;
        next_block_ = std::min(size * 2, MOST_BYTES);
        next_ = reinterpret_cast<std::byte*>(block + 1);
        end_ = reinterpret_cast<std::byte*>(block) + size;
        return allocate(bytes, align);
    }

    // Far more than any figure needs, and small enough for every size sum to fit.
    static constexpr std::size_t MOST_BYTES = std::size_t(PTRDIFF_MAX) / 4;
    static constexpr std::size_t BUFFER_BYTES = 4096;
    alignas(std::max_align_t) std::byte buffer_[BUFFER_BYTES];
    std::byte* next_ = buffer_;
    std::byte* end_ = buffer_ + BUFFER_BYTES;
    Block* spilled_ = nullptr;
    std::size_t next_block_ = 2 * BUFFER_BYTES;
};

// A standard allocator drawing from an arena, for containers whose memory
// goes with the arena; deallocation does nothing.
template <typename T>
class ArenaAllocator {
  public:
    using value_type = T;
    explicit ArenaAllocator(FigureArena& arena) : arena_(&arena) {}
    template <typename U>
    ArenaAllocator(const ArenaAllocator<U>& other) : arena_(other.arena()) {}
    T* allocate(std::size_t n) { return arena_->allocate_array<T>(n); }
    void deallocate(T*, std::size_t) {}
    FigureArena* arena() const { return arena_; }
    friend bool operator==(const ArenaAllocator& a, const ArenaAllocator& b) {
        return a.arena_ == b.arena_;
    }

  private:
    FigureArena* arena_;
};

}  // namespace win::raster
