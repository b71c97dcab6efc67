// The release command end to end against a page build of its own: what goes into the folder
// with and without tunes, the LICENSES it writes for exactly that, the page's title, and the
// exit status when nothing can be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "author/author_test_support.h"
#include "author/commands.h"
#include "author/release/release_page.h"
#include "support/quest_harness.h"

namespace tindel::author {
namespace {

namespace fs = std::filesystem;
using testing::quest_text;

constexpr const char* kSiteHtml =
    "<!doctype html>\n<head>\n  <meta charset=\"utf-8\">\n  <title>Tindel</title>\n"
    "  <link rel=\"modulepreload\" href=\"main.js\">\n"
    "  <link rel=\"preload\" href=\"tindel.wasm\" as=\"fetch\">\n</head>\n<body>\n"
    "  <script type=\"module\" src=\"main.js\"></script>\n</body>\n";

// A page build as `make web` leaves it, with the tune player's files.
void write_page_build(const tindel::testing::TempDir& dir) {
  fs::create_directories("site/vendor");
  for (const char* name : {"site/release-page.js", "site/page.css", "site/tindel.wasm",
                           "site/TimGM6mb.sf2", "site/vendor/xterm.css", "site/vendor/xterm.mjs",
                           "site/vendor/js-synthesizer.min.js", "site/vendor/libfluidsynth.js"})
    dir.write(name, "bytes");
  dir.write("site/index.html", kSiteHtml);
}

struct Outcome {
  int status = 0;
  std::string out;
  std::string err;
};

Outcome release(const Arguments& args) {
  std::ostringstream out, err;
  Outcome run;
  run.status = release_command(args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

std::vector<std::string> files_in(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

bool mentions(const std::string& text, const std::string& piece) {
  return text.find(piece) != std::string::npos;
}

TEST(ReleaseCommand, TunesBringTheSoundfontAndTheirLicences) {
  tindel::testing::TempDir dir;
  write_page_build(dir);
  dir.write("1.mid", "MThd");
  dir.write("song.qst", quest_text({":start", "pln A song.", "music = 1", "play gone", "end"}));
  Outcome run = release({"song.qst", "--page-build", "site", "--title", "Tom & \"Jerry\" <3>"});
  ASSERT_EQ(run.status, kStatusClean) << run.err;
  EXPECT_TRUE(mentions(run.err, "song.qst:4:1: warning: file 'gone.wav' is not beside the quest"))
      << run.err;
  EXPECT_EQ(files_in("song-web"),
            (std::vector<std::string>{"LICENSES", "files/1.mid.js", "files/TimGM6mb.sf2.js",
                                      "files/song.qst.js", "files/tindel.wasm.js", "index.html",
                                      "page.css", "page.js", "vendor/js-synthesizer.min.js",
                                      "vendor/libfluidsynth.js", "vendor/xterm.css"}));
  std::string licences = dir.read("song-web/LICENSES");
  for (const char* piece : {"Tindel", "xterm.js", ": MIT", "js-synthesizer", "BSD-3-Clause",
                            "FluidSynth", "LGPL-2.1", "TimGM6mb", "GPL-2.0"})
    EXPECT_TRUE(mentions(licences, piece)) << piece << " missing from\n" << licences;

  std::string html = dir.read("song-web/index.html");
  const char* escaped = "Tom &amp; &quot;Jerry&quot; &lt;3&gt;";
  EXPECT_TRUE(mentions(html, std::string("<title>") + escaped + "</title>")) << html;
  EXPECT_TRUE(mentions(html, std::string("name=\"tindel-title\" content=\"") + escaped)) << html;
  EXPECT_TRUE(mentions(html, "name=\"tindel-quest\" content=\"song.qst\"")) << html;
  EXPECT_TRUE(mentions(html, "<script src=\"page.js\"></script>")) << html;
  EXPECT_FALSE(mentions(html, "type=\"module\"") || mentions(html, "preload")) << html;
}

TEST(ReleaseCommand, WithoutTunesTheFolderHoldsNoSynthesizerAndItsZipTheSameFiles) {
  tindel::testing::TempDir dir;
  write_page_build(dir);
  dir.write("quiet.qst", quest_text({":start", "pln Quiet.", "end"}));
  // An earlier release with a tune left its soundfont there: it goes.
  fs::create_directories("out/files");
  dir.write("out/files/TimGM6mb.sf2.js", "old");
  Outcome run = release({"quiet.qst", "--page-build", "site", "-o", "out", "--zip", "quiet.zip"});
  ASSERT_EQ(run.status, kStatusClean) << run.err;
  std::vector<std::string> files = {"LICENSES",        "files/quiet.qst.js", "files/tindel.wasm.js",
                                    "index.html",      "page.css",           "page.js",
                                    "vendor/xterm.css"};
  EXPECT_EQ(files_in("out"), files);
  std::string licences = dir.read("out/LICENSES");
  for (const char* piece : {"js-synthesizer", "FluidSynth", "TimGM6mb"})
    EXPECT_FALSE(mentions(licences, piece)) << piece << " listed in\n" << licences;
  EXPECT_TRUE(mentions(dir.read("out/index.html"), "<title>Quiet.</title>"));

  fs::create_directories("unzipped");
  std::string unzip = "cd unzipped && python3 -m zipfile -e ../quiet.zip . 2>&1";
  ASSERT_EQ(std::system(unzip.c_str()), 0);
  EXPECT_EQ(files_in("unzipped"), files);
}

TEST(ReleaseCommand, NothingWrittenIsAFailureWithAReason) {
  tindel::testing::TempDir dir;
  dir.write("q.qst", quest_text({":start", "pln Q.", "end"}));
  Outcome no_quest = release({"absent.qst", "--page-build", "site"});
  EXPECT_EQ(no_quest.status, kStatusUsage);
  EXPECT_TRUE(mentions(no_quest.err, "absent.qst: cannot be read")) << no_quest.err;

  Outcome no_page = release({"q.qst", "--page-build", "site"});
  EXPECT_EQ(no_page.status, kStatusUsage);
  EXPECT_TRUE(mentions(no_page.err, "no page build found")) << no_page.err;

  write_page_build(dir);
  dir.write("plain-file", "");
  Outcome unwritable = release({"q.qst", "--page-build", "site", "-o", "plain-file/inside"});
  EXPECT_EQ(unwritable.status, kStatusUsage);
  EXPECT_TRUE(mentions(unwritable.err, "cannot be written")) << unwritable.err;
}

// A title screen's spaced-out letters become words a screen reader can say.
TEST(ReleaseTitle, SpacedOutLettersAreClosedUpAndOtherTextOnlyTrimmed) {
  EXPECT_EQ(readable_title("     S T A C K L E   P O I N T  "), "STACKLE POINT");
  EXPECT_EQ(readable_title("М А Я К"), "МАЯК");
  EXPECT_EQ(readable_title("  The Keeper  of the Light "), "The Keeper  of the Light");
  EXPECT_EQ(readable_title("S T A C K L E   Point"), "S T A C K L E   Point");
  EXPECT_EQ(readable_title("   "), "");
}

}  // namespace
}  // namespace tindel::author
