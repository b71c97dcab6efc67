#include "UTypes/console/console_factory.h"

#include <gtest/gtest.h>

namespace tindel {
namespace {

TEST(ConsoleFactory, RecognisesUtf8CharacterSetNames) {
  for (const char* name : {"UTF-8", "utf-8", "UTF8", "utf8", "Utf_8"})
    EXPECT_TRUE(is_utf8_codeset(name)) << name;
  for (const char* name : {"ANSI_X3.4-1968", "KOI8-R", "CP866", "ISO-8859-5", "UTF-16", ""})
    EXPECT_FALSE(is_utf8_codeset(name)) << name;
}

}  // namespace
}  // namespace tindel
