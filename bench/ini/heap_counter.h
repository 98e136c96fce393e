#pragma once
// Heap use of the whole process, counted in the replaced operator new and delete, so that
// the peak of one library's work can be read off.

#include <cstddef>

std::size_t HeapNow();
std::size_t HeapPeak();
// Starts a new peak from the current level.
void ResetHeapPeak();
