#include "support/harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

static std::string scratch;

const std::string &ScratchDir() {
    return scratch;
}

std::string SourcePath(const std::string &rel) {
    return std::string(SOURCE_DIR) + "/" + rel;
}

// Every test runs in a scratch directory with a link to the real data, so
// the score file the game writes never lands in the repository.
class HeadlessEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        char tmpl[] = "/tmp/earthguard-test-XXXXXX";
        scratch = mkdtemp(tmpl);
        ASSERT_EQ(symlink(SourcePath("data").c_str(), (scratch + "/data").c_str()), 0);
        ASSERT_EQ(chdir(scratch.c_str()), 0);
        sys_headless = true;
        Fresh();
        ASSERT_EQ(Init(), 0);
    }
    void TearDown() override {
        if (system(("rm -rf '" + scratch + "'").c_str()) != 0)
            fprintf(stderr, "could not remove %s\n", scratch.c_str());
    }
};

static ::testing::Environment *const env = ::testing::AddGlobalTestEnvironment(new HeadlessEnvironment);

void Fresh(const std::string &script, long frames) {
    HeadlessReset();
    ClockReset();
    std::string err;
    if (!HeadlessParseScript(script, &err)) ADD_FAILURE() << "bad test script: " << err;
    HeadlessSetFrameLimit(frames);
}

std::string RunProgram(const std::string &args, int *status, const std::string &dir,
                       const std::string &env_vars) {
    std::string cmd = "cd '" + (dir.empty() ? scratch : dir) + "' && " + env_vars + " " + EARTHGUARD_BIN +
                      " " + args + " 2>&1";
    FILE *p = popen(cmd.c_str(), "r");
    std::string out;
    for (int c; (c = fgetc(p)) != EOF;) out += (char)c;
    int st = pclose(p);
    *status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return out;
}

std::string Patched(std::string f, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) f.at(at + i) = (char)(v >> (8 * i));
    return f;
}

int Shown(int x, int y) {
    return getpixel(HeadlessPicture(), x, y);
}
