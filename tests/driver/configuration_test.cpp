// Directory and number values of "Dorvik.ini".
#include <gtest/gtest.h>

#include <string>

#include "driver/configuration.h"

namespace {

TEST(Configuration, DirectoriesAreTrimmedAndEndInASeparator) {
  EXPECT_EQ(TrimDirectory("  books  ", 300), "books/");
  EXPECT_EQ(TrimDirectory("\tbooks/\t", 300), "books/");
  EXPECT_EQ(TrimDirectory("my books", 300), "my books/");  // inner blanks stay
  EXPECT_EQ(TrimDirectory("   ", 300), "");
  EXPECT_EQ(TrimDirectory("", 300), "");
  EXPECT_EQ(TrimDirectory(std::string(400, 'd').c_str(), 300), std::string(300, 'd') + "/");
}

TEST(Configuration, IntegersFromLeadingCharacters) {
  EXPECT_EQ(ParseConfigInteger("16"), 16);
  EXPECT_EQ(ParseConfigInteger("  -5"), -5);
  EXPECT_EQ(ParseConfigInteger("+7 MB"), 7);
  EXPECT_EQ(ParseConfigInteger("abc"), 0);
  EXPECT_EQ(ParseConfigInteger(""), 0);
  EXPECT_EQ(ParseConfigInteger("99999999999999"), 2147483647);
  EXPECT_EQ(ParseConfigInteger("-99999999999999"), -2147483647 - 1);
}

}  // namespace
