// Runs a fuzz target over files and folders of saved inputs without libFuzzer, so that the
// seeds and every past finding are replayed by the ordinary test run (and under the
// sanitizer build). A crash fails the test; so does a path that cannot be read.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool replay_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

// The files of a folder in name order, so that a failing replay repeats.
std::vector<std::filesystem::path> files_of(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) continue;  // no findings of this kind yet
    std::vector<std::filesystem::path> files =
        std::filesystem::is_directory(path, error) ? files_of(path) : std::vector{path};
    for (const auto& file : files) {
      if (!replay_file(file)) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 2;
      }
      ++count;
    }
  }
  std::printf("%zu inputs replayed\n", count);
  return count > 0 ? 0 : 2;
}
