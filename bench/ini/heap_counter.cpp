#include "heap_counter.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {
// Room in front of each block for its size, keeping the block's alignment.
constexpr std::size_t kHeader = 16;
std::size_t g_now = 0;
std::size_t g_peak = 0;
}  // namespace

std::size_t HeapNow() { return g_now; }
std::size_t HeapPeak() { return g_peak; }
void ResetHeapPeak() { g_peak = g_now; }

void* operator new(std::size_t size) {
  void* block = std::malloc(size + kHeader);
  if (!block) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  g_now += size;
  g_peak = std::max(g_peak, g_now);
  return static_cast<char*>(block) + kHeader;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return operator new(size, std::nothrow);
}
void operator delete(void* pointer) noexcept {
  if (!pointer) return;
  char* block = static_cast<char*>(pointer) - kHeader;
  g_now -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { operator delete(pointer); }
