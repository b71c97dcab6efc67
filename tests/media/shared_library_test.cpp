#include "UTypes/media/shared_library.h"

#include <gtest/gtest.h>

#include <cmath>

#include "UTypes/console/terminal/picture/picture_api.h"
#include "UTypes/media/sdl/mixer_api.h"

namespace tindel::testing {
namespace {

#ifdef __APPLE__
constexpr const char* kMathLibrary = "libSystem.B.dylib";
#else
constexpr const char* kMathLibrary = "libm.so.6";
#endif

// The first name that loads is taken; a missing library or function is told, not a crash.
TEST(SharedLibrary, OpensTheFirstThatLoadsAndTellsWhatIsMissing) {
  std::string why;
  EXPECT_EQ(open_shared_library({"libtindel-none-such.so.9"}, why), nullptr);
  EXPECT_NE(why.find("libtindel-none-such.so.9"), std::string::npos) << why;

  void* library = open_shared_library({"libtindel-none-such.so.9", kMathLibrary}, why);
  ASSERT_NE(library, nullptr) << why;
  double (*cosine)(double) = nullptr;
  ASSERT_TRUE(bind_function(library, "cos", cosine, why)) << why;
  EXPECT_DOUBLE_EQ(cosine(0.5), std::cos(0.5));

  EXPECT_FALSE(bind_function(library, "tindel_no_such_function", cosine, why));
  EXPECT_EQ(cosine, nullptr);
  EXPECT_NE(why.find("tindel_no_such_function"), std::string::npos) << why;
}

// A table stops at the first function it cannot find and keeps that answer.
TEST(SharedLibrary, ATableWithAMissingFunctionIsNotHandedOut) {
  struct Api {
    double (*cos)(double) = nullptr;
    double (*missing)(double) = nullptr;
  };
  LoadedApi<Api> loaded =
      load_api<Api>({kMathLibrary}, [](void* library, Api& api, std::string& why) {
        return TINDEL_BIND_FUNCTION(cos) TINDEL_BIND_FUNCTION(missing) true;
      });
  std::string why;
  EXPECT_EQ(loaded.get(why), nullptr);
  EXPECT_NE(why.find("missing"), std::string::npos) << why;
  EXPECT_NE(loaded.api.cos, nullptr);
}

// The libraries the program is built against can be found by the names it loads them by.
TEST(SharedLibrary, TheMediaLibrariesLoadByTheirNames) {
  std::string why;
  EXPECT_NE(mixer_api(why), nullptr) << why;
  EXPECT_NE(jpeg_api(why), nullptr) << why;
  EXPECT_NE(chafa_api(why), nullptr) << why;
}

}  // namespace
}  // namespace tindel::testing
