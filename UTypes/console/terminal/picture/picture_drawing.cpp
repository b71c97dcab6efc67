#include "UTypes/console/terminal/picture/picture_drawing.h"

#include <algorithm>
#include <string_view>

#include "UTypes/console/terminal/picture/picture_api.h"

namespace tindel {

namespace {

constexpr std::string_view kClearToBlack = "\x1b[0m\x1b[40m\x1b[2J";
constexpr int kDefaultCellWidth = 10;  // a usual cell is about twice as high as wide
constexpr int kDefaultCellHeight = 20;

struct CanvasSize {
  int columns;
  int rows;
};

ChafaCanvasMode canvas_mode(PictureColours colours) {
  switch (colours) {
    case PictureColours::kNone:
      return CHAFA_CANVAS_MODE_FGBG;
    case PictureColours::k16:
      return CHAFA_CANVAS_MODE_INDEXED_16;
    case PictureColours::k256:
      return CHAFA_CANVAS_MODE_INDEXED_240;  // the 16 first are the user's theme, not true tones
    case PictureColours::kTrue:
      return CHAFA_CANVAS_MODE_TRUECOLOR;
  }
  return CHAFA_CANVAS_MODE_INDEXED_16;
}

ChafaPixelMode pixel_mode(PictureProtocol protocol) {
  switch (protocol) {
    case PictureProtocol::kSixels:
      return CHAFA_PIXEL_MODE_SIXELS;
    case PictureProtocol::kKitty:
      return CHAFA_PIXEL_MODE_KITTY;
    case PictureProtocol::kIterm2:
      return CHAFA_PIXEL_MODE_ITERM2;
    case PictureProtocol::kSymbols:
      break;
  }
  return CHAFA_PIXEL_MODE_SYMBOLS;
}

// The largest size in cells inside the area with the picture's aspect. A graphics image keeps
// off the last row, where it would scroll the screen.
CanvasSize fit(const ChafaApi& chafa, const RgbaPicture& picture, const PictureStyle& style,
               const PictureArea& area, int cell_width, int cell_height) {
  int columns = std::max(1, area.columns);
  int rows = std::max(1, area.rows - (style.protocol == PictureProtocol::kSymbols ? 0 : 1));
  const float font_ratio = static_cast<float>(cell_width) / static_cast<float>(cell_height);
  chafa.chafa_calc_canvas_geometry(picture.width, picture.height, &columns, &rows, font_ratio, TRUE,
                                   FALSE);
  return {std::max(1, columns), std::max(1, rows)};
}

// Owns one canvas with its configuration and symbols, released however drawing ends.
class Canvas {
 public:
  Canvas(const ChafaApi& chafa, const PictureStyle& style, CanvasSize size, int cell_width,
         int cell_height)
      : chafa_(chafa),
        config_(chafa.chafa_canvas_config_new()),
        symbols_(chafa.chafa_symbol_map_new()) {
    // Blocks and box lines are in every terminal font; a wide symbol would break the rows.
    const auto unicode = static_cast<ChafaSymbolTags>(
        CHAFA_SYMBOL_TAG_BLOCK | CHAFA_SYMBOL_TAG_BORDER | CHAFA_SYMBOL_TAG_SPACE);
    chafa_.chafa_symbol_map_add_by_tags(symbols_, style.utf8 ? unicode : CHAFA_SYMBOL_TAG_ASCII);
    chafa_.chafa_symbol_map_remove_by_tags(symbols_, CHAFA_SYMBOL_TAG_WIDE);
    chafa_.chafa_canvas_config_set_symbol_map(config_, symbols_);
    chafa_.chafa_canvas_config_set_geometry(config_, size.columns, size.rows);
    chafa_.chafa_canvas_config_set_cell_geometry(config_, cell_width, cell_height);
    chafa_.chafa_canvas_config_set_canvas_mode(config_, canvas_mode(style.colours));
    chafa_.chafa_canvas_config_set_pixel_mode(config_, pixel_mode(style.protocol));
    // Every cell written out: a repeat or a skipped cell would leave the text beneath showing.
    chafa_.chafa_canvas_config_set_optimizations(config_, CHAFA_OPTIMIZATION_REUSE_ATTRIBUTES);
    canvas_ = chafa_.chafa_canvas_new(config_);
  }
  ~Canvas() {
    chafa_.chafa_canvas_unref(canvas_);
    chafa_.chafa_symbol_map_unref(symbols_);
    chafa_.chafa_canvas_config_unref(config_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  std::string print(const RgbaPicture& picture, char** envp) {
    chafa_.chafa_canvas_draw_all_pixels(canvas_, CHAFA_PIXEL_RGBA8_UNASSOCIATED,
                                        picture.pixels.data(), picture.width, picture.height,
                                        picture.width * 4);
    ChafaTermDb* db = chafa_.chafa_term_db_get_default();
    ChafaTermInfo* term =
        envp ? chafa_.chafa_term_db_detect(db, envp) : chafa_.chafa_term_db_get_fallback_info(db);
    GString* text = chafa_.chafa_canvas_print(canvas_, term);
    chafa_.chafa_term_info_unref(term);
    std::string bytes(text->str, text->len);
    chafa_.g_string_free(text, TRUE);
    return bytes;
  }

 private:
  const ChafaApi& chafa_;
  ChafaCanvasConfig* config_;
  ChafaSymbolMap* symbols_;
  ChafaCanvas* canvas_ = nullptr;
};

std::string cursor_to(int column, int row) {
  return "\x1b[" + std::to_string(row + 1) + ";" + std::to_string(column + 1) + "H";
}

// Each row of symbols at its place: the terminal's own line feeds would not indent them.
std::string place_rows(std::string_view printed, int left, int top) {
  std::string bytes;
  int row = top;
  while (!printed.empty()) {
    size_t end = printed.find('\n');
    std::string_view line = printed.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    bytes += cursor_to(left, row++);
    bytes += line;
    bytes += "\x1b[0m";
    if (end == std::string_view::npos) break;
    printed.remove_prefix(end + 1);
  }
  return bytes;
}

}  // namespace

std::string draw_picture(const RgbaPicture& picture, const PictureStyle& style,
                         const PictureArea& area) {
  std::string bytes(kClearToBlack);
  if (picture.width <= 0 || picture.height <= 0) return bytes;
  const int cell_width = area.cell_width > 0 ? area.cell_width : kDefaultCellWidth;
  const int cell_height = area.cell_height > 0 ? area.cell_height : kDefaultCellHeight;
  std::string why;
  const ChafaApi* chafa = chafa_api(why);
  if (chafa == nullptr) return bytes;  // the overlay has said why nothing is drawn
  const CanvasSize size = fit(*chafa, picture, style, area, cell_width, cell_height);
  const int left = std::max(0, (area.columns - size.columns) / 2);
  const int top = std::max(0, (area.rows - size.rows) / 2);
  Canvas canvas(*chafa, style, size, cell_width, cell_height);
  std::string printed = canvas.print(picture, style.envp);
  if (style.protocol == PictureProtocol::kSymbols) return bytes + place_rows(printed, left, top);
  return bytes + cursor_to(left, top) + printed + "\x1b[0m";
}

std::string erase_picture(const PictureStyle& style) {
  std::string bytes;
  if (style.protocol == PictureProtocol::kKitty) bytes += "\x1b_Ga=d\x1b\\";
  bytes += "\x1b[0m\x1b[2J";
  return bytes;
}

}  // namespace tindel
