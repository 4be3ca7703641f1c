#include "GSRoot/Memory.hpp"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {
// Every block keeps its size in a header in front of the data.
struct Block {
    GSSize size;
    alignas(std::max_align_t) char data[1];
};
constexpr std::size_t kHeader = offsetof(Block, data);
std::atomic<GS::Int64> liveHandles{0};
std::atomic<GS::Int64> livePtrs{0};

char* AllocBlock(GSSize size, bool clear)
{
    if (size < 0)
        return nullptr;
    auto* raw = static_cast<char*>(clear ? std::calloc(1, kHeader + size) : std::malloc(kHeader + size));
    if (raw == nullptr)
        return nullptr;
    reinterpret_cast<Block*>(raw)->size = size;
    return raw + kHeader;
}

Block* BlockOf(const char* data) { return reinterpret_cast<Block*>(const_cast<char*>(data) - kHeader); }
}  // namespace

GSHandle BMAllocateHandle(GSSize size, GSFlags, GSFlags)
{
    char* data = AllocBlock(size, true);
    if (data == nullptr)
        return nullptr;
    auto* handle = static_cast<char**>(std::malloc(sizeof(char*)));
    if (handle == nullptr) {
        std::free(BlockOf(data));
        return nullptr;
    }
    *handle = data;
    ++liveHandles;
    return handle;
}

GSSize BMGetHandleSize(GSConstHandle handle)
{
    if (handle == nullptr || *handle == nullptr)
        return 0;
    return BlockOf(*handle)->size;
}

GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags, GSFlags)
{
    if (handle == nullptr)
        return BMAllocateHandle(newSize);
    if (newSize < 0)
        return nullptr;
    Block* old = BlockOf(*handle);
    auto* raw = static_cast<char*>(std::realloc(old, kHeader + newSize));
    if (raw == nullptr)
        return nullptr;
    auto* block = reinterpret_cast<Block*>(raw);
    if (newSize > block->size)
        std::memset(raw + kHeader + block->size, 0, newSize - block->size);
    block->size = newSize;
    *handle = raw + kHeader;
    return handle;
}

void BMKillHandle(GSHandle* handle)
{
    if (handle == nullptr || *handle == nullptr)
        return;
    if (**handle != nullptr)
        std::free(BlockOf(**handle));
    std::free(*handle);
    *handle = nullptr;
    --liveHandles;
}

GSPtr BMAllocatePtr(GSSize size, GSFlags, GSFlags)
{
    char* data = AllocBlock(size, true);
    if (data != nullptr)
        ++livePtrs;
    return data;
}

GSSize BMGetPtrSize(GSConstPtr ptr) { return ptr == nullptr ? 0 : BlockOf(ptr)->size; }

void BMKillPtr(GSPtr* ptr)
{
    if (ptr == nullptr || *ptr == nullptr)
        return;
    std::free(BlockOf(*ptr));
    *ptr = nullptr;
    --livePtrs;
}

void BNCopyMemory(void* dst, const void* src, GSSize size)
{
    if (size > 0 && dst != nullptr && src != nullptr)
        std::memmove(dst, src, static_cast<std::size_t>(size));
}

void BNZeroMemory(void* dst, GSSize size)
{
    if (size > 0 && dst != nullptr)
        std::memset(dst, 0, static_cast<std::size_t>(size));
}

namespace GS {
Int64 LiveHandleCount() { return liveHandles.load(); }
Int64 LivePtrCount() { return livePtrs.load(); }
}  // namespace GS
