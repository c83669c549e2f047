// Global operator new and delete for a fuzz target whose code reads in blocks
// of a megabyte. Under AddressSanitizer each such block is a mapping of its
// own: mmap, its shadow faulted in and poisoned, munmap once it leaves the
// quarantine. That took some 150 us a block, most of every run.
//
// Here a block of kPooled bytes or more is kept when it is freed and handed
// out again, to a later input only. While kept it is poisoned, so a use after
// delete is still reported (as use-after-poison); the bytes past the size
// asked for stay poisoned too, so an overrun is reported. Smaller blocks, and
// the array and aligned forms, stay with the sanitizer's own allocator.

#include "block_pool.h"

#include <sanitizer/asan_interface.h>

#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <new>

namespace {

constexpr std::size_t kPooled = std::size_t{256} << 10;
constexpr std::size_t kGrain = std::size_t{64} << 10;  // kept blocks come in these steps
constexpr std::size_t kMaxKept = 32;

struct Block {
    char* memory = nullptr;
    std::size_t room = 0;
    bool inUse = false;
    unsigned long freedIn = 0;  // the input during which it was last freed
};

std::mutex g_lock;
Block g_blocks[kMaxKept];
unsigned long g_input = 1;

void* TakeLarge(std::size_t size) {
    const std::size_t room = (size + kGrain - 1) / kGrain * kGrain;
    const std::lock_guard<std::mutex> hold(g_lock);
    Block* unused = nullptr;
    for (Block& block : g_blocks) {
        if (block.memory == nullptr) {
            unused = unused != nullptr ? unused : &block;
        } else if (!block.inUse && block.room == room && block.freedIn < g_input) {
            block.inUse = true;
            ASAN_UNPOISON_MEMORY_REGION(block.memory, size);
            return block.memory;
        }
    }
    if (unused == nullptr) {
        return std::malloc(size);  // every slot taken: an ordinary block
    }
    char* memory = static_cast<char*>(std::malloc(room));
    if (memory != nullptr) {
        *unused = Block{memory, room, true, 0};
        ASAN_POISON_MEMORY_REGION(memory + size, room - size);
    }
    return memory;
}

// True when `p` is a kept block, which is then poisoned until it is reused.
bool GiveBackLarge(void* p) {
    const std::lock_guard<std::mutex> hold(g_lock);
    for (Block& block : g_blocks) {
        if (block.memory == p && block.inUse) {
            block.inUse = false;
            block.freedIn = g_input;
            ASAN_POISON_MEMORY_REGION(block.memory, block.room);
            return true;
        }
    }
    return false;
}

void* Take(std::size_t size) noexcept {
    return size >= kPooled ? TakeLarge(size) : std::malloc(size == 0 ? 1 : size);
}

void GiveBack(void* p) noexcept {
    if (p != nullptr && !GiveBackLarge(p)) {
        std::free(p);
    }
}

}  // namespace

namespace block_pool {

void StartOfInput() {
    const std::lock_guard<std::mutex> hold(g_lock);
    ++g_input;
}

}  // namespace block_pool

void* operator new(std::size_t size) {
    void* p = Take(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Take(size); }

void operator delete(void* p) noexcept { GiveBack(p); }

void operator delete(void* p, std::size_t) noexcept { GiveBack(p); }

void operator delete(void* p, const std::nothrow_t&) noexcept { GiveBack(p); }
