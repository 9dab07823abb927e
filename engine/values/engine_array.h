// Run-time sized arrays of up to four dimensions, first index fastest, checked on every access.
#pragma once

#include <algorithm>
#include <array>
#include <concepts>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "engine/values/runtime_error.h"

namespace zrb {
namespace values {

// Numbers reset to 0 and grow in steps of 8; records (the game's structs) in steps of 64.
template <typename T>
inline constexpr bool kIsNumericElement = std::is_arithmetic_v<T>;
template <typename T>
inline constexpr int32_t kCapacityStep = kIsNumericElement<T> ? 8 : 64;
// Small numeric arrays live inside the array value itself: 128 bytes of doubles, 64 bytes
// of whole numbers. Records always live on the heap.
template <typename T>
inline constexpr int32_t kInlineElements = std::is_same_v<T, double>
                                               ? 16
                                               : (std::is_same_v<T, int32_t> ? 8 : 0);

inline int32_t AtLeastOne(int32_t size) {
  return size > 0 ? size : 1;
}

}  // namespace values

// Element (i, j, k, l) lies at i + j * stride1 + k * stride2 + l * stride3. An index of
// dimension 0 may count from the end (-1 is the last element); every other index must lie
// below its dimension's size, and a dimension that is not in use (size 0) admits only index 0.
// A bad index, or an array without elements, ends the program with "out of bounds" (9).
template <typename T>
requires std::default_initializable<T> && std::copyable<T>
class EngineArray {
 public:
  EngineArray() = default;
  EngineArray(const EngineArray& other) { CopyFrom(other); }
  EngineArray(EngineArray&& other) noexcept { TakeFrom(other); }
  EngineArray& operator=(const EngineArray& other) {
    if (this != &other) {
      EngineArray copy(other);
      *this = std::move(copy);
    }
    return *this;
  }
  EngineArray& operator=(EngineArray&& other) noexcept {
    if (this != &other) {
      heap_.reset();
      TakeFrom(other);
    }
    return *this;
  }
  ~EngineArray() = default;

  // Gives the array these sizes (0 for unused dimensions; negative sizes count as 0) with
  // every element reset. The buffer is kept when it is large enough, so dimensioning to the
  // same or a smaller size again allocates nothing.
  void Dim(int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
    const std::array<int32_t, 4> sizes = {std::max(s0, 0), std::max(s1, 0), std::max(s2, 0),
                                          std::max(s3, 0)};
    const int64_t count = int64_t{sizes[0]} * values::AtLeastOne(sizes[1]) *
                          values::AtLeastOne(sizes[2]) * values::AtLeastOne(sizes[3]);
    constexpr int64_t step = values::kCapacityStep<T>;
    const int64_t capacity = count / step * step + step;
    if (capacity > INT32_MAX) {
      Release();
      FatalRuntimeError(kErrorOutOfMemory);
    }
    if (capacity_ < capacity || sizes[0] < 1) ReplaceBuffer(static_cast<int32_t>(capacity));
    std::fill(data_, data_ + capacity_, T{});
    SetShape(sizes);
  }

  // Gives the array these sizes, keeping the elements that lie inside both the old and the
  // new sizes. A size 0 below 1 leaves no elements but keeps the buffer.
  void Redim(int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
    if (s0 < 1) {
      SetShape({0, 0, 0, 0});
      return;
    }
    EngineArray grown;
    grown.Dim(s0, s1, s2, s3);
    std::array<int32_t, 4> keep;
    for (int d = 0; d < 4; ++d) {
      keep[d] = std::min(values::AtLeastOne(sizes_[d]), values::AtLeastOne(grown.sizes_[d]));
    }
    keep[0] = std::min(sizes_[0], grown.sizes_[0]);
    for (int32_t l = 0; l < keep[3]; ++l) {
      for (int32_t k = 0; k < keep[2]; ++k) {
        for (int32_t j = 0; j < keep[1]; ++j) {
          for (int32_t i = 0; i < keep[0]; ++i) {
            grown.data_[grown.OffsetOf(i, j, k, l)] = std::move(data_[OffsetOf(i, j, k, l)]);
          }
        }
      }
    }
    *this = std::move(grown);
  }

  // Adds an element after the last one of a one-dimensional array. An array with a second
  // dimension cannot grow this way: that ends the program with error 8.
  void Append(T element) {
    if (sizes_[1] != 0) FatalRuntimeError(kErrorAppendToMultiDim);
    if (sizes_[0] == INT32_MAX) FatalRuntimeError(kErrorOutOfMemory);
    Redim(sizes_[0] + 1, sizes_[1], sizes_[2], sizes_[3]);
    if (!data_) FatalRuntimeError(kErrorOutOfBounds);
    data_[sizes_[0] - 1] = std::move(element);
  }

  // Size of dimension 0..3; any other dimension number gives 0.
  int32_t Size(int32_t dimension) const {
    return dimension >= 0 && dimension < 4 ? sizes_[dimension] : 0;
  }
  int32_t DimensionCount() const { return dimensionCount_; }
  int32_t ElementCount() const {
    return sizes_[0] * values::AtLeastOne(sizes_[1]) * values::AtLeastOne(sizes_[2]) *
           values::AtLeastOne(sizes_[3]);
  }
  int32_t Capacity() const { return capacity_; }
  // Stride of dimension 1..3 (how far apart its neighbouring elements lie); 1 for dimension 0.
  int32_t Stride(int32_t dimension) const {
    return dimension >= 1 && dimension <= 3 ? strides_[dimension - 1] : 1;
  }
  bool UsesInlineStorage() const { return data_ != nullptr && !heap_; }
  T* Data() { return data_; }
  const T* Data() const { return data_; }

  T& operator()(int32_t i) { return data_[OffsetOf(i, 0, 0, 0)]; }
  T& operator()(int32_t i, int32_t j) { return data_[OffsetOf(i, j, 0, 0)]; }
  T& operator()(int32_t i, int32_t j, int32_t k) { return data_[OffsetOf(i, j, k, 0)]; }
  T& operator()(int32_t i, int32_t j, int32_t k, int32_t l) { return data_[OffsetOf(i, j, k, l)]; }
  const T& operator()(int32_t i) const { return data_[OffsetOf(i, 0, 0, 0)]; }
  const T& operator()(int32_t i, int32_t j) const { return data_[OffsetOf(i, j, 0, 0)]; }
  const T& operator()(int32_t i, int32_t j, int32_t k) const { return data_[OffsetOf(i, j, k, 0)]; }
  const T& operator()(int32_t i, int32_t j, int32_t k, int32_t l) const {
    return data_[OffsetOf(i, j, k, l)];
  }
  T& operator[](int32_t i) { return data_[OffsetOf(i, 0, 0, 0)]; }
  const T& operator[](int32_t i) const { return data_[OffsetOf(i, 0, 0, 0)]; }

  // Where an element lies in Data(), after the index checks (fatal on a bad index).
  int32_t OffsetOf(int32_t i, int32_t j, int32_t k, int32_t l) const {
    if (i < 0) i += sizes_[0];
    if (i < 0 || !data_ || i >= sizes_[0]) FatalRuntimeError(kErrorOutOfBounds);
    CheckInnerIndex(j, sizes_[1]);
    CheckInnerIndex(k, sizes_[2]);
    CheckInnerIndex(l, sizes_[3]);
    return i + j * strides_[0] + k * strides_[1] + l * strides_[2];
  }

 private:
  static void CheckInnerIndex(int32_t index, int32_t size) {
    if (index < 0 || index >= values::AtLeastOne(size)) FatalRuntimeError(kErrorOutOfBounds);
  }

  void SetShape(const std::array<int32_t, 4>& sizes) {
    sizes_ = sizes;
    // Unused inner dimensions count as 1 so that every addressable element has its own place.
    strides_[0] = sizes[0];
    strides_[1] = strides_[0] * values::AtLeastOne(sizes[1]);
    strides_[2] = strides_[1] * values::AtLeastOne(sizes[2]);
    dimensionCount_ = sizes[3] ? 4 : sizes[2] ? 3 : sizes[1] ? 2 : sizes[0] ? 1 : 0;
  }

  // Leaves the array without buffer or sizes, so that a fatal error finds it consistent.
  void Release() {
    heap_.reset();
    data_ = nullptr;
    capacity_ = 0;
    SetShape({0, 0, 0, 0});
  }

  void ReplaceBuffer(int32_t capacity) {
    Release();
    if (capacity <= values::kInlineElements<T>) {
      data_ = inline_.data();
    } else {
      try {
        heap_ = std::make_unique<T[]>(static_cast<size_t>(capacity));
      } catch (const std::bad_alloc&) {
        FatalRuntimeError(kErrorOutOfMemory);
      }
      data_ = heap_.get();
    }
    capacity_ = capacity;
  }

  void CopyFrom(const EngineArray& other) {
    if (!other.data_) {
      SetShape(other.sizes_);
      return;
    }
    ReplaceBuffer(other.capacity_);
    std::copy(other.data_, other.data_ + other.capacity_, data_);
    SetShape(other.sizes_);
  }

  void TakeFrom(EngineArray& other) noexcept {
    data_ = nullptr;
    if (other.heap_) {
      heap_ = std::move(other.heap_);
      data_ = heap_.get();
    } else if constexpr (values::kInlineElements<T> > 0) {
      // Only numeric arrays have inline storage; a record array's data is always on the heap.
      if (other.data_) {
        std::copy(other.data_, other.data_ + other.capacity_, inline_.data());
        data_ = inline_.data();
      }
    }
    capacity_ = other.capacity_;
    SetShape(other.sizes_);
    other.data_ = nullptr;
    other.capacity_ = 0;
    other.SetShape({0, 0, 0, 0});
  }

  T* data_ = nullptr;
  [[no_unique_address]] std::array<T, values::kInlineElements<T>> inline_{};
  std::unique_ptr<T[]> heap_;
  std::array<int32_t, 3> strides_{};
  std::array<int32_t, 4> sizes_{};
  int32_t dimensionCount_ = 0;
  int32_t capacity_ = 0;
};

// The game-facing operations, under the names the game knows them by.
template <typename T>
void DimArray(EngineArray<T>& array, int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
  array.Dim(s0, s1, s2, s3);
}

template <typename T>
void RedimArray(EngineArray<T>& array, int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
  array.Redim(s0, s1, s2, s3);
}

template <typename T>
void AppendArray(EngineArray<T>& array, std::type_identity_t<T> element) {
  array.Append(std::move(element));
}

template <typename T>
int32_t ArraySize(const EngineArray<T>& array, int32_t dimension) {
  return array.Size(dimension);
}

}  // namespace zrb
