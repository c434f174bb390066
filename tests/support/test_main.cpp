// Unit tests share one set of lookup tables, built once before any test runs.
#include <gtest/gtest.h>

#include "board/tables.h"
#include "eval/piece_tables.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  InitTables();
  InitPieceSquareTables();
  return RUN_ALL_TESTS();
}
