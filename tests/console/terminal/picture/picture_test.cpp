// Pictures in the terminal: decoding JPEG files and the bytes that draw them, read back
// cell by cell as a terminal would show them.
#include <gtest/gtest.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "UTypes/console/terminal/picture/jpeg_picture.h"
#include "UTypes/console/terminal/picture/picture_drawing.h"
#include "UTypes/console/terminal/picture/picture_overlay.h"
#include "UTypes/console/terminal/picture/picture_style.h"

namespace tindel {
namespace {

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// A picture red on its left half and blue on its right, encoded as a JPEG file's bytes.
std::vector<std::uint8_t> red_blue_jpeg(int width, int height) {
  std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
      p[0] = x < width / 2 ? 220 : 20;
      p[1] = x < width / 2 ? 20 : 40;
      p[2] = x < width / 2 ? 20 : 220;
    }
  tjhandle handle = tjInitCompress();
  unsigned char* jpeg = nullptr;
  unsigned long size = 0;
  tjCompress2(handle, rgb.data(), width, 0, height, TJPF_RGB, &jpeg, &size, TJSAMP_444, 90, 0);
  std::vector<std::uint8_t> bytes(jpeg, jpeg + size);
  tjFree(jpeg);
  tjDestroy(handle);
  return bytes;
}

RgbaPicture decoded_red_blue(int width, int height) {
  std::string error;
  std::optional<RgbaPicture> picture = decode_jpeg(red_blue_jpeg(width, height), error);
  EXPECT_TRUE(picture) << error;
  return picture.value_or(RgbaPicture{});
}

// What a terminal shows after the bytes: each cell's character and colours (24-bit and the
// 6x6x6 cube and grey ramp of the 256 colours; the 16 basic ones are left unknown).
struct ShownCell {
  std::string ch;
  std::optional<Rgb> fg, bg;
  bool reverse = false;
};

class TinyTerminal {
 public:
  TinyTerminal(int width, int height)
      : width_(width), cells_(static_cast<size_t>(width) * height) {}

  void feed(const std::string& bytes) {
    for (size_t i = 0; i < bytes.size();)
      i = bytes[i] == '\x1b' ? escape(bytes, i) : put(bytes, i);
  }
  const ShownCell& at(int x, int y) const { return cells_[static_cast<size_t>(y * width_ + x)]; }
  int rows_with_text() const {
    int rows = 0;
    for (size_t y = 0; y < cells_.size() / width_; ++y) {
      bool any = false;
      for (int x = 0; x < width_; ++x)
        any = any || !at(x, static_cast<int>(y)).ch.empty();
      rows += any;
    }
    return rows;
  }
  bool saw_colour() const { return saw_colour_; }

 private:
  size_t put(const std::string& bytes, size_t i) {
    size_t end = i + 1;
    while (end < bytes.size() && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
      ++end;
    if (bytes[i] == '\n' || bytes[i] == '\r') return end;
    size_t cell = static_cast<size_t>(y_ * width_ + x_);
    if (cell < cells_.size()) cells_[cell] = {bytes.substr(i, end - i), fg_, bg_, reverse_};
    ++x_;
    return end;
  }

  size_t escape(const std::string& bytes, size_t i) {
    if (i + 1 >= bytes.size() || bytes[i + 1] != '[') return i + 1;
    size_t end = i + 2;
    while (end < bytes.size() && !(bytes[end] >= 0x40 && bytes[end] <= 0x7e))
      ++end;
    std::vector<int> numbers = parameters(bytes.substr(i + 2, end - i - 2));
    if (end < bytes.size() && bytes[end] == 'H') {
      y_ = numbers.size() > 0 ? numbers[0] - 1 : 0;
      x_ = numbers.size() > 1 ? numbers[1] - 1 : 0;
    } else if (end < bytes.size() && bytes[end] == 'm') {
      colours(numbers);
    } else if (end < bytes.size() && bytes[end] == 'J') {
      for (ShownCell& cell : cells_)
        cell = {};
    }
    return end + 1;
  }

  static std::vector<int> parameters(const std::string& text) {
    std::vector<int> numbers{0};
    for (char c : text) {
      if (c == ';') numbers.push_back(0);
      if (c >= '0' && c <= '9') numbers.back() = numbers.back() * 10 + (c - '0');
    }
    return numbers;
  }

  static Rgb indexed(int n) {
    if (n >= 232) return {8 + 10 * (n - 232), 8 + 10 * (n - 232), 8 + 10 * (n - 232)};
    n -= 16;
    auto level = [](int v) { return v == 0 ? 0 : 55 + 40 * v; };
    return {level(n / 36), level(n / 6 % 6), level(n % 6)};
  }

  void colours(const std::vector<int>& n) {
    for (size_t k = 0; k < n.size(); ++k) {
      if (n[k] == 0) fg_ = bg_ = std::nullopt;
      if (n[k] == 0 || n[k] == 27) reverse_ = false;
      if (n[k] == 7) reverse_ = true;
      if ((n[k] == 38 || n[k] == 48) && k + 1 < n.size()) {
        std::optional<Rgb>& target = n[k] == 38 ? fg_ : bg_;
        saw_colour_ = true;
        if (n[k + 1] == 2 && k + 4 < n.size()) {
          target = Rgb{n[k + 2], n[k + 3], n[k + 4]};
          k += 4;
        } else if (n[k + 1] == 5 && k + 2 < n.size()) {
          target = n[k + 2] >= 16 ? std::optional<Rgb>(indexed(n[k + 2])) : std::nullopt;
          k += 2;
        }
      }
      if ((n[k] >= 30 && n[k] <= 37) || (n[k] >= 40 && n[k] <= 47) || (n[k] >= 90 && n[k] <= 107))
        saw_colour_ = n[k] != 40 || saw_colour_;  // the black of the cleared screen is no colour
    }
  }

  int width_;
  std::vector<ShownCell> cells_;
  int x_ = 0, y_ = 0;
  std::optional<Rgb> fg_, bg_;
  bool reverse_ = false;
  bool saw_colour_ = false;
};

// The colour a cell shows: a blank shows its background, any other symbol mostly its
// foreground (a solid area is drawn either way); reverse video swaps them.
std::optional<Rgb> seen(const ShownCell& cell) {
  return (cell.ch == " ") != cell.reverse ? cell.bg : cell.fg;
}
bool reddish(const std::optional<Rgb>& c) {
  return c && c->r > 120 && c->r > 2 * c->b;
}
bool bluish(const std::optional<Rgb>& c) {
  return c && c->b > 120 && c->b > 2 * c->r;
}

char* kTrueColourEnv[] = {const_cast<char*>("TERM=xterm-256color"),
                          const_cast<char*>("COLORTERM=truecolor"), nullptr};
char* k256Env[] = {const_cast<char*>("TERM=xterm-256color"), nullptr};

PictureStyle symbols(PictureColours colours, char** envp) {
  PictureStyle style;
  style.colours = colours;
  style.envp = envp;
  return style;
}

TEST(JpegPicture, DecodesSizeAndColoursAndRefusesWhatIsNoJpeg) {
  RgbaPicture picture = decoded_red_blue(64, 32);
  ASSERT_EQ(picture.width, 64);
  ASSERT_EQ(picture.height, 32);
  ASSERT_EQ(picture.pixels.size(), 64u * 32u * 4u);
  const std::uint8_t* left = &picture.pixels[(16 * 64 + 8) * 4];
  const std::uint8_t* right = &picture.pixels[(16 * 64 + 56) * 4];
  EXPECT_GT(left[0], 180);
  EXPECT_LT(left[2], 60);
  EXPECT_GT(right[2], 180);
  EXPECT_LT(right[0], 60);
  EXPECT_EQ(left[3], 255);  // opaque

  std::string error;
  EXPECT_FALSE(decode_jpeg({}, error));
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_FALSE(decode_jpeg({'G', 'I', 'F', '8', '9', 'a', 0, 0}, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(decode_jpeg_file("/nonexistent/1.jpg", error));
}

TEST(PictureDrawing, RedLeftAndBlueRightInTrueAnd256Colours) {
  RgbaPicture picture = decoded_red_blue(160, 80);
  for (PictureColours colours : {PictureColours::kTrue, PictureColours::k256}) {
    TinyTerminal term(80, 25);
    term.feed(draw_picture(
        picture, symbols(colours, colours == PictureColours::kTrue ? kTrueColourEnv : k256Env),
        {80, 25, 10, 20}));
    const int row = 12;
    for (int x : {5, 20, 35})
      EXPECT_TRUE(reddish(seen(term.at(x, row)))) << "column " << x;
    for (int x : {45, 60, 75})
      EXPECT_TRUE(bluish(seen(term.at(x, row)))) << "column " << x;
  }
}

TEST(PictureDrawing, FitsTheWindowWithTheAspectKeptAndCentred) {
  // 2:1 in 80x25 cells of 10x20 pixels: 80 columns of 800 pixels, so 400 pixels, 20 rows.
  TinyTerminal wide(80, 25);
  wide.feed(draw_picture(decoded_red_blue(200, 100), symbols(PictureColours::kTrue, kTrueColourEnv),
                         {80, 25, 10, 20}));
  EXPECT_EQ(wide.rows_with_text(), 20);
  EXPECT_TRUE(wide.at(0, 1).ch.empty());  // centred: rows 2 to 21
  EXPECT_FALSE(wide.at(0, 2).ch.empty());
  EXPECT_FALSE(wide.at(79, 21).ch.empty());
  EXPECT_TRUE(wide.at(0, 22).ch.empty());

  // A tall picture: the full height, centred between blank columns.
  TinyTerminal tall(80, 25);
  tall.feed(draw_picture(decoded_red_blue(40, 100), symbols(PictureColours::kTrue, kTrueColourEnv),
                         {80, 25, 10, 20}));
  EXPECT_EQ(tall.rows_with_text(), 25);
  EXPECT_TRUE(tall.at(10, 12).ch.empty());
  EXPECT_FALSE(tall.at(40, 12).ch.empty());
  EXPECT_TRUE(tall.at(70, 12).ch.empty());
}

TEST(PictureDrawing, NoColourMeansSymbolsOnlyAndAsciiWithoutUtf8) {
  RgbaPicture picture = decoded_red_blue(160, 80);
  PictureStyle plain = detect_picture_style(kTrueColourEnv, /*no_color=*/true, /*utf8=*/false);
  EXPECT_EQ(plain.protocol, PictureProtocol::kSymbols);
  EXPECT_EQ(plain.colours, PictureColours::kNone);
  std::string bytes = draw_picture(picture, plain, {80, 25, 10, 20});
  TinyTerminal term(80, 25);
  term.feed(bytes);
  EXPECT_FALSE(term.saw_colour());
  for (char c : bytes)
    EXPECT_EQ(static_cast<unsigned char>(c) & 0x80, 0) << "not ASCII";
}

TEST(PictureStyle, ChosenFromTheTerminalDatabase) {
  PictureStyle truecolour = detect_picture_style(kTrueColourEnv, false, true);
  EXPECT_EQ(truecolour.protocol, PictureProtocol::kSymbols);
  EXPECT_EQ(truecolour.colours, PictureColours::kTrue);
  EXPECT_EQ(truecolour.describe(), "symbols, true colour");
  char* kitty[] = {const_cast<char*>("TERM=xterm-kitty"), nullptr};
  EXPECT_EQ(detect_picture_style(kitty, false, true).protocol, PictureProtocol::kKitty);
  EXPECT_EQ(detect_picture_style(kitty, true, true).protocol, PictureProtocol::kSymbols);
  char* vt100[] = {const_cast<char*>("TERM=vt100"), nullptr};
  EXPECT_NE(detect_picture_style(vt100, false, true).colours, PictureColours::kTrue);
}

TEST(PictureOverlay, ShowsReplacesAndClosesAndKeepsAFileThatFailsOff) {
  PictureOverlay overlay(symbols(PictureColours::kTrue, kTrueColourEnv));
  std::string out;
  EXPECT_NE(overlay.show("/nonexistent.jpg", {80, 25}, out).find("not shown"), std::string::npos);
  EXPECT_FALSE(overlay.showing());
  EXPECT_TRUE(out.empty());

  char name[] = "/tmp/tindel-picture-XXXXXX";
  int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  std::vector<std::uint8_t> jpeg = red_blue_jpeg(32, 16);
  ASSERT_EQ(write(fd, jpeg.data(), jpeg.size()), static_cast<ssize_t>(jpeg.size()));
  close(fd);
  std::string note = overlay.show(name, {80, 25}, out);
  EXPECT_NE(note.find("shown in the terminal (32x16, symbols, true colour)"), std::string::npos)
      << note;
  EXPECT_TRUE(overlay.showing());
  TinyTerminal term(80, 25);
  term.feed(out);
  EXPECT_TRUE(reddish(seen(term.at(10, 12))));

  out.clear();
  overlay.close(out);
  EXPECT_FALSE(overlay.showing());
  TinyTerminal after(80, 25);
  after.feed(std::string(80 * 3, 'x') + out);
  EXPECT_TRUE(after.at(0, 0).ch.empty());  // the picture's cells are cleared for the repaint
  unlink(name);
}

TEST(PictureDrawing, AKittyPictureIsDeletedWhenErased) {
  PictureStyle kitty;
  kitty.protocol = PictureProtocol::kKitty;
  EXPECT_NE(erase_picture(kitty).find("\x1b_Ga=d"), std::string::npos);
  EXPECT_EQ(erase_picture(PictureStyle{}).find("\x1b_G"), std::string::npos);
}

}  // namespace
}  // namespace tindel
