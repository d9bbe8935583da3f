// Start-up without a display: the message on standard output, status 1.

#include "support/harness.h"

#include <gtest/gtest.h>

namespace {

TEST(Startup, WithoutADisplayItSaysWhyAndExitsWithStatusOne) {
    int status;
    std::string out = RunProgram("", &status, "", "env -u DISPLAY");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out, "Error setting graphics mode (FULLSCREEN):\n"
                   " -> No X display to open (the DISPLAY variable is not set)\n\n");
}

TEST(Startup, WithADisplayThatCannotBeOpenedItNamesIt) {
    int status;
    std::string out = RunProgram("--windowed", &status, "", "DISPLAY=:987");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(out.rfind("Error setting graphics mode (FULLSCREEN):\n -> ", 0), 0u) << out;
    EXPECT_NE(out.find(":987"), std::string::npos) << out;
}

}  // namespace
