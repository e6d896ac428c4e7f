// The compiler's operator new: objects of every size keep their bytes apart from each other,
// freed room is used again, and objects may be freed by another thread than their maker.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace {

struct TBlock {
  unsigned char* Bytes;
  size_t Size;
};

void Fill(const TBlock& block, size_t seed) {
  for (size_t i = 0; i < block.Size; ++i) block.Bytes[i] = static_cast<unsigned char>(seed + i);
}

bool Intact(const TBlock& block, size_t seed) {
  for (size_t i = 0; i < block.Size; ++i)
    if (block.Bytes[i] != static_cast<unsigned char>(seed + i)) return false;
  return true;
}

TEST(Allocator, ObjectsOfEverySizeStayApartAndRoomIsReused) {
  // Sizes around each class boundary, the largest small size and the first large ones.
  std::vector<size_t> sizes{0, 1, 8, 15, 16, 17, 100, 496, 511, 512, 513, 4096, 70000};
  std::vector<TBlock> blocks;
  for (int round = 0; round < 100; ++round)
    for (size_t size : sizes) {
      blocks.push_back({static_cast<unsigned char*>(::operator new(size)), size});
      EXPECT_EQ(reinterpret_cast<uintptr_t>(blocks.back().Bytes) % 16, 0u);
      Fill(blocks.back(), blocks.size());
    }
  for (size_t i = 0; i < blocks.size(); ++i) ASSERT_TRUE(Intact(blocks[i], i + 1)) << i;

  // Every other block is freed, half of those by another thread; the room freed is taken by new
  // blocks without disturbing the blocks kept.
  std::vector<TBlock> here, elsewhere;
  for (size_t i = 0; i < blocks.size(); i += 2) (i % 4 == 0 ? elsewhere : here).push_back(blocks[i]);
  std::thread([&elsewhere] {
    for (const TBlock& block : elsewhere) ::operator delete(block.Bytes, block.Size);
  }).join();
  for (const TBlock& block : here) ::operator delete(block.Bytes);
  std::vector<TBlock> fresh;
  for (int round = 0; round < 100; ++round)
    for (size_t size : sizes) {
      fresh.push_back({static_cast<unsigned char*>(::operator new(size)), size});
      std::memset(fresh.back().Bytes, 0xA5, size);
    }
  for (size_t i = 1; i < blocks.size(); i += 2) {
    ASSERT_TRUE(Intact(blocks[i], i + 1)) << i;
    ::operator delete(blocks[i].Bytes);
  }
  for (const TBlock& block : fresh) ::operator delete(block.Bytes);
}

}  // namespace
