#pragma once
// The CRC-32 of zlib and PNG (polynomial 0xEDB88320), which guards the moments' bytes. Our own,
// because the page's toolchain has no zlib to link (its copy is fetched at build time); the
// tests hold it to zlib's.
#include <cstdint>
#include <string_view>

namespace tindel {

std::uint32_t crc32_of(std::string_view bytes);

}  // namespace tindel
