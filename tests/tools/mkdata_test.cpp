// The generator makes every data file again, byte for byte.

#include "support/harness.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>

namespace {

std::set<std::string> Files(const std::string &dir) {
    std::set<std::string> names;
    for (const char *sub : {"video", "audio"}) {
        DIR *d = opendir((dir + "/" + sub).c_str());
        if (!d) continue;
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.') names.insert(std::string(sub) + "/" + e->d_name);
        closedir(d);
    }
    return names;
}

std::string Slurp(const std::string &path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(Generator, ReproducesTheCommittedDataExactly) {
    std::string out = ScratchDir() + "/generated";
    std::string cmd = std::string(MKDATA_BIN) + " '" + out + "'";
    ASSERT_EQ(system(cmd.c_str()), 0);
    std::set<std::string> made = Files(out), kept = Files(SourcePath("data"));
    EXPECT_EQ(made, kept);
    EXPECT_GE(made.size(), 20u);  // 11 pictures, 9 sounds and the music
    for (const std::string &f : made) {
        std::string a = Slurp(out + "/" + f), b = Slurp(SourcePath("data/" + f));
        EXPECT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == b) << f << " differs from the generator's output: run mkdata data";
    }
}

}  // namespace
