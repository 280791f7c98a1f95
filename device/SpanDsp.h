#pragma once
// spandsp for the device units: its header, and ownership of its state
// objects, which it allocates itself and frees with a function per kind.

#include <spandsp.h>

#include <memory>

template <typename T, int (*Free)(T*)>
struct TSpanFree {
  void operator()(T* state) const { Free(state); }
};

template <typename T, int (*Free)(T*)>
using TSpanPtr = std::unique_ptr<T, TSpanFree<T, Free>>;
