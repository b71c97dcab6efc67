// tindel-author qs1 FILE [-o OUT]: the encoded twin of a plain quest, or the plain twin of an
// encoded one, so that no author has to apply the byte rule of ".qs1" by hand.
#include <fstream>
#include <ostream>

#include "UTypes/charset/codepage.h"
#include "author/commands.h"

namespace tindel::author {

namespace {

constexpr const char* kQs1Usage = "usage: tindel-author qs1 FILE [-o OUT]";

struct Qs1Request {
  std::string quest;
  std::string output;
};

bool parse_qs1_arguments(const Arguments& args, Qs1Request& request, std::ostream& err) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" && i + 1 < args.size() && request.output.empty()) {
      request.output = args[++i];
    } else if (a.starts_with("-") || !request.quest.empty()) {
      request.quest.clear();
      break;
    } else {
      request.quest = a;
    }
  }
  if (request.quest.empty()) err << kQs1Usage << '\n';
  return !request.quest.empty();
}

// The twin's name beside the quest: the part of the name from its first dot becomes ".qs1"
// (encoded) or ".qst" (plain); a name without a dot gets it added.
std::string twin_name(const std::string& path, bool encoded) {
  std::size_t slash = path.find_last_of('/');
  std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  std::size_t dot = path.find('.', name_start);
  return path.substr(0, dot) + (encoded ? ".qs1" : ".qst");
}

// The ".qs1" byte rule is its own inverse: the same pass encodes and decodes.
void flip_qs1_bytes(std::string& bytes) {
  for (char& c : bytes)
    c = static_cast<char>(unqs1(static_cast<std::uint8_t>(c)));
}

bool write_whole_file(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  return file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && file.flush();
}

}  // namespace

int qs1_command(const Arguments& args, std::ostream& out, std::ostream& err) {
  Qs1Request request;
  if (!parse_qs1_arguments(args, request, err)) return kStatusUsage;
  std::string bytes;
  if (!read_whole_file(request.quest, bytes)) {
    err << "tindel-author: " << request.quest << ": cannot be read\n";
    return kStatusUsage;
  }
  const bool to_encoded = !is_qs1_name(request.quest);
  const std::string output =
      request.output.empty() ? twin_name(request.quest, to_encoded) : request.output;
  // The name tells tindel how to read the file, so it must say what the file holds.
  if (is_qs1_name(output) != to_encoded) {
    err << "tindel-author: " << output
        << (to_encoded ? ": an encoded quest's name must have .qs1 after its first dot\n"
                       : ": a plain quest's name must not have .qs1 after its first dot\n");
    return kStatusUsage;
  }
  flip_qs1_bytes(bytes);
  if (!write_whole_file(output, bytes)) {
    err << "tindel-author: " << output << ": cannot be written\n";
    return kStatusUsage;
  }
  out << output << ": the " << (to_encoded ? "encoded" : "plain") << " twin of " << request.quest
      << '\n';
  return kStatusClean;
}

}  // namespace tindel::author
