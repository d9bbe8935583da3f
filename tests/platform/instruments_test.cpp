// The instrument set is checked before the synthesiser reads it: each kind
// of damage is found and the file at fault named.

#include "support/harness.h"
#include "support/shown_text.h"
#include "platform/instruments.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Instruments, EachDamagedFileOfTheSetIsNamed) {
    const std::string cfg = Slurp(SourcePath("data/audio/default.cfg"));
    std::string huge = Slurp(SourcePath("data/audio/bass.pat")), cut = huge.substr(0, huge.size() - 1);
    huge.replace(239 + 8, 4, "\xff\xff\xff\x7f");  // the first sample's length
    const struct {
        std::string file, content, bad;  // content "-": no file; bad "": the set is whole
    } cases[] = {{"default.cfg", cfg, ""},
                 {"default.cfg", "-", "default.cfg"},
                 {"default.cfg",
                  "\x7f"
                  "ELF\x02\x01\x01",
                  "default.cfg"},
                 {"default.cfg", "39 bass\nthis is no instrument\n", "default.cfg"},
                 {"default.cfg", "# nothing\n", "default.cfg"},
                 {"default.cfg", cfg + "90 ghost\n", "ghost.pat"},
                 {"bass.pat", huge, "bass.pat"},
                 {"bass.pat", cut, "bass.pat"}};
    for (const auto &c : cases) {
        ScratchSubdir dir("instruments");
        ASSERT_EQ(system(("cp -r '" + SourcePath("data/audio") + "' set").c_str()), 0);
        c.content == "-" ? (void)std::remove(("set/" + c.file).c_str())
                         : WriteFile("set/" + c.file, c.content);
        std::string bad;
        EXPECT_EQ(InstrumentsWhole("set/default.cfg", &bad), c.bad.empty()) << c.file << " " << c.bad;
        EXPECT_TRUE(c.bad.empty() || bad == "set/" + c.bad) << bad;
    }
}

}  // namespace
