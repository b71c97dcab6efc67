#include "UTypes/moments/moments_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "UTypes/moments/byte_stream.h"
#include "UTypes/moments/crc32.h"

namespace tindel {

namespace {

constexpr std::string_view kMagic = "TINDEL-MOMENT\n";
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kMaxIdentity = 64;
constexpr std::size_t kMaxMoment = 64u << 20;

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string state_folder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && *state == '/') return std::string(state) + "/tindel";
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.local/state/tindel";
  return {};
}

}  // namespace

std::string quest_identity(std::string_view quest_text) {
  std::ostringstream out;
  out << quest_text.size() << '-' << std::hex << crc32_of(quest_text);
  return out.str();
}

std::string moments_file_bytes(std::string_view identity, std::string_view moment_bytes) {
  ByteWriter out;
  out.bytes().append(kMagic);
  out.number(kVersion);
  out.text(identity);
  out.text(moment_bytes);
  out.number(crc32_of(out.bytes()));
  return std::move(out.bytes());
}

ContinuedMoment moment_in_file_bytes(std::string_view bytes, std::string_view identity) {
  if (!bytes.starts_with(kMagic) || bytes.size() < kMagic.size() + 8)
    return {std::nullopt, "not a file of moments"};
  ByteReader in(bytes.substr(kMagic.size()));
  if (in.number<std::uint32_t>() != kVersion) return {std::nullopt, "of another version"};
  ByteReader tail(bytes.substr(bytes.size() - 4));
  if (tail.number<std::uint32_t>() != crc32_of(bytes.substr(0, bytes.size() - 4)))
    return {std::nullopt, "damaged (its checksum does not match)"};
  std::string stored_identity = in.text(kMaxIdentity);
  std::string moment_bytes = in.text(kMaxMoment);
  in.number<std::uint32_t>();
  if (!in.ok() || !in.at_end()) return {std::nullopt, "damaged"};
  if (stored_identity != identity) return {std::nullopt, "of another text of the quest"};
  auto moment = moment_from_bytes(moment_bytes);
  if (!moment) return {std::nullopt, "damaged"};
  return {std::move(moment), {}};
}

std::string moments_file_path(const std::string& quest_path) {
  std::string folder = state_folder();
  if (folder.empty()) return {};
  std::error_code error;
  auto absolute = std::filesystem::absolute(quest_path, error);
  std::string full = error ? quest_path : absolute.lexically_normal().string();
  std::ostringstream name;
  name << std::filesystem::path(quest_path).filename().string() << '-' << std::hex << crc32_of(full)
       << ".moment";
  return folder + "/" + name.str();
}

bool write_moments_file(const std::string& path, std::string_view bytes) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
  std::string beside = path + ".new";
  int fd = ::open(beside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool written = write_all(fd, bytes) && ::fsync(fd) == 0;
  written = ::close(fd) == 0 && written;
  if (written && ::rename(beside.c_str(), path.c_str()) == 0) return true;
  ::unlink(beside.c_str());
  return false;
}

std::optional<std::string> read_moments_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace tindel
