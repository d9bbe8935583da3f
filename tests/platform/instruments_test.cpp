// The instrument set is checked before the synthesiser reads it: each kind
// of damage is found and the file at fault named.

#include "support/harness.h"
#include "support/shown_text.h"
#include "platform/instruments.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Instruments, EachDamagedFileOfTheSetIsNamed) {
    const std::string cfg = Slurp(SourcePath("data/audio/default.cfg")),
                      bass = Slurp(SourcePath("data/audio/bass.pat"));
    const struct {
        std::string file, content, bad;  // content "-": no file; bad "": the set is whole
    } cases[] = {{"default.cfg", cfg, ""},
                 {"default.cfg", "-", "default.cfg"},
                 {"default.cfg", std::string("\x7f") + "ELF\x02\x01\x01", "default.cfg"},
                 {"default.cfg", "39 bass\nthis is no instrument\n", "default.cfg"},
                 {"default.cfg", "# nothing\n", "default.cfg"},
                 {"default.cfg", cfg + "90 ghost\n", "ghost.pat"},
                 {"bass.pat", Patched(bass, 239 + 8, 0x7fffffff), "bass.pat"},  // the first sample's length
                 {"bass.pat", bass.substr(0, bass.size() - 1), "bass.pat"}};
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
