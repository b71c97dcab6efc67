#include "UTypes/console/terminal/picture/picture_style.h"

#include "UTypes/console/terminal/picture/picture_api.h"

namespace tindel {

namespace {

// The terminal's description from chafa's database; released however the caller ends.
class TermInfo {
 public:
  TermInfo(const ChafaApi& chafa, char** envp)
      : chafa_(chafa), info_(chafa.chafa_term_db_detect(chafa.chafa_term_db_get_default(), envp)) {}
  ~TermInfo() {
    if (info_ != nullptr) chafa_.chafa_term_info_unref(info_);
  }
  TermInfo(const TermInfo&) = delete;
  TermInfo& operator=(const TermInfo&) = delete;
  bool has(ChafaTermSeq seq) const {
    return info_ != nullptr && chafa_.chafa_term_info_have_seq(info_, seq);
  }

 private:
  const ChafaApi& chafa_;
  ChafaTermInfo* info_;
};

PictureProtocol best_protocol(const TermInfo& term) {
  if (term.has(CHAFA_TERM_SEQ_BEGIN_KITTY_IMMEDIATE_IMAGE_V1)) return PictureProtocol::kKitty;
  if (term.has(CHAFA_TERM_SEQ_BEGIN_ITERM2_IMAGE)) return PictureProtocol::kIterm2;
  if (term.has(CHAFA_TERM_SEQ_BEGIN_SIXELS)) return PictureProtocol::kSixels;
  return PictureProtocol::kSymbols;
}

PictureColours best_colours(const TermInfo& term) {
  if (term.has(CHAFA_TERM_SEQ_SET_COLOR_FGBG_DIRECT)) return PictureColours::kTrue;
  if (term.has(CHAFA_TERM_SEQ_SET_COLOR_FGBG_256)) return PictureColours::k256;
  return PictureColours::k16;
}

}  // namespace

std::string PictureStyle::describe() const {
  switch (protocol) {
    case PictureProtocol::kSixels:
      return "sixels";
    case PictureProtocol::kKitty:
      return "kitty graphics";
    case PictureProtocol::kIterm2:
      return "iTerm2 images";
    case PictureProtocol::kSymbols:
      break;
  }
  std::string symbols = utf8 ? "symbols" : "ASCII symbols";
  switch (colours) {
    case PictureColours::kNone:
      return symbols + " without colour";
    case PictureColours::k16:
      return symbols + ", 16 colours";
    case PictureColours::k256:
      return symbols + ", 256 colours";
    case PictureColours::kTrue:
      return symbols + ", true colour";
  }
  return symbols;
}

PictureStyle detect_picture_style(char** envp, bool no_color, bool utf8) {
  PictureStyle style;
  style.utf8 = utf8;
  style.envp = envp;
  if (no_color) {
    style.colours = PictureColours::kNone;
    return style;
  }
  std::string why;
  const ChafaApi* chafa = chafa_api(why);
  if (chafa == nullptr) return style;  // nothing will be drawn: the picture says why
  TermInfo term(*chafa, envp);
  style.protocol = best_protocol(term);
  style.colours = best_colours(term);
  return style;
}

}  // namespace tindel
