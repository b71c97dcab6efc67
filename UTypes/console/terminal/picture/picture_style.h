#pragma once
// How the terminal can show a picture, as chafa's terminal database tells from the
// environment: a graphics protocol (kitty, iTerm2, sixels) or character cells with colours.
#include <string>

namespace tindel {

enum class PictureProtocol { kSymbols, kSixels, kKitty, kIterm2 };
enum class PictureColours { kNone, k16, k256, kTrue };

struct PictureStyle {
  PictureProtocol protocol = PictureProtocol::kSymbols;
  PictureColours colours = PictureColours::k16;
  bool utf8 = true;       // symbols may be Unicode; else ASCII only
  char** envp = nullptr;  // the environment the sequences are chosen from (not owned)
  // For the media log, for example "symbols, 256 colours".
  std::string describe() const;
};

// envp: the environment (NAME=VALUE, null-terminated), as the terminal database reads it.
// no_color: the user asked for no colours, which also rules out the graphics protocols.
PictureStyle detect_picture_style(char** envp, bool no_color, bool utf8);

}  // namespace tindel
