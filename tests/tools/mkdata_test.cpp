// The generator makes every data file again, byte for byte.

#include "support/harness.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Generator, ReproducesTheCommittedDataExactly) {
    std::string out = ScratchDir() + "/generated";
    ASSERT_EQ(system((std::string(MKDATA_BIN) + " '" + out + "'").c_str()), 0);
    std::string diff = "diff -r '" + out + "' '" + SourcePath("data") + "'";
    EXPECT_EQ(system(diff.c_str()), 0) << "the data differs from the generator's output: run mkdata data";
}

}  // namespace
