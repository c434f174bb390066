// Unit tests share one set of lookup tables, built once before any test runs.
#include <gtest/gtest.h>

#include "board/tables.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  InitTables();
  return RUN_ALL_TESTS();
}
