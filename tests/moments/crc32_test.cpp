// The moments' checksum must be zlib's CRC-32 to the bit: files of moments written before it
// was our own carry zlib's, and a wrong one would throw every saved moment away.
#include "UTypes/moments/crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

namespace tindel {
namespace {

std::uint32_t zlib_crc32(const std::string& bytes) {
  return static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0),
                                          reinterpret_cast<const Bytef*>(bytes.data()),
                                          static_cast<uInt>(bytes.size())));
}

TEST(Crc32, AgreesWithZlibOnTheCheckValueAndOnRandomBytes) {
  EXPECT_EQ(crc32_of("123456789"), 0xCBF43926u);
  EXPECT_EQ(crc32_of(""), 0u);
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(random() % 3000, '\0');
    for (char& b : bytes)
      b = static_cast<char>(random());
    ASSERT_EQ(crc32_of(bytes), zlib_crc32(bytes)) << "length " << bytes.size();
  }
}

}  // namespace
}  // namespace tindel
