#pragma once
// Room for a run of values that is not cleared when it is made or grows: for buffers that are
// filled right after (a file's bytes as they are read, the decoded text of a source), where
// clearing them first would be a pass of its own over megabytes.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>

namespace zintrel {

template <class T>
class TRoom {
  static_assert(std::is_trivial_v<T>, "the values are left uninitialised");

 public:
  T* data() { return Values.get(); }
  const T* data() const { return Values.get(); }
  size_t size() const { return Size; }
  T operator[](size_t i) const { return Values[i]; }
  // Makes the size the count, keeping the first values (as many as fit); new ones are unset.
  void resize(size_t count) {
    if (count > Capacity) {
      std::unique_ptr<T[]> grown(new T[count]);
      std::copy(Values.get(), Values.get() + Size, grown.get());
      Values = std::move(grown);
      Capacity = count;
    }
    Size = count;
  }
  // Forgets the values, keeping the room: the next resize copies nothing.
  void clear() { Size = 0; }
  // Gives the room back.
  void Release() {
    Values.reset();
    Size = Capacity = 0;
  }

 private:
  std::unique_ptr<T[]> Values;
  size_t Size = 0;
  size_t Capacity = 0;
};

}  // namespace zintrel
