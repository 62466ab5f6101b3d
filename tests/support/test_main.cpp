// The main of every test program. A program of which some test skipped and
// none failed ends with the status SKIPPED_STATUS, which ctest counts as a
// skip; a skip message in the output would also hide a sibling's failure.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  if (result != 0) return result;
  return testing::UnitTest::GetInstance()->skipped_test_count() > 0 ? SKIPPED_STATUS : 0;
}
