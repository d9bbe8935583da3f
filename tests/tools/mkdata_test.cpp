// The generator makes every data file again, byte for byte.

#include "support/harness.h"
#include "support/shown_text.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <set>

namespace {

std::set<std::string> Files(const std::string &dir) {
    std::set<std::string> names;
    for (const char *sub : {"video", "audio"}) {
        DIR *d = opendir((dir + "/" + sub).c_str());
        while (dirent *e = d ? readdir(d) : nullptr)
            if (e->d_name[0] != '.') names.insert(std::string(sub) + "/" + e->d_name);
        if (d) closedir(d);
    }
    return names;
}

TEST(Generator, ReproducesTheCommittedDataExactly) {
    std::string out = ScratchDir() + "/generated";
    ASSERT_EQ(system((std::string(MKDATA_BIN) + " '" + out + "'").c_str()), 0);
    std::set<std::string> made = Files(out);
    EXPECT_EQ(made, Files(SourcePath("data")));
    EXPECT_GE(made.size(), 20u);  // 12 pictures, 9 sounds and the music
    for (const std::string &f : made) {
        std::string a = Slurp(out + "/" + f);
        EXPECT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == Slurp(SourcePath("data/" + f)))
            << f << " differs from the generator's output: run mkdata data";
    }
}

}  // namespace
