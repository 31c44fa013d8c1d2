// The acquisition for a running script under Wine: in media mode 2 the blocks acquired so far
// follow the cache folder when it changes (ALLUSERS did), and a complete block asks nothing more.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "setup/engine/interpreter/interpreter_state.h"
#include "setup/engine/media/media_acquire_win32.h"
#include "setup/engine/media/media_block.h"
#include "setup/engine/script/setup_script.h"
#include "tests/support/scratch_folder_win32.h"

namespace {

namespace fs = std::filesystem;
using namespace setup::engine;

TEST(MediaAcquireTest, BlocksAcquiredSoFarFollowANewCacheFolder)
{
    testsupport::ScratchFolder scratch;
    const std::string old = scratch.NarrowPath() + "per-user\\";
    const std::string moved = scratch.NarrowPath() + "all-users\\";
    for (const char* block : {"Core", "Docs"}) {
        fs::create_directories(old + block + "\\sub");
        std::ofstream(old + block + "\\{ID}");
        std::ofstream(old + block + "\\sub\\file.txt") << block;
    }
    EngineState engine;
    SetupScript script;
    script.SetupMode = 2;
    script.CacheId = "{ID}";
    engine.DataDir = old;
    MediaBlockState& block = engine.Parts.Get<MediaBlockState>();
    block.cacheFolder = old;

    // Complete where it now lies, the block needs no download: no address is known.
    AcquireMediaBlockWin32(engine, script, "Core\\", moved);
    EXPECT_EQ(engine.DataDir, moved);
    EXPECT_EQ(block.cacheFolder, moved);
    for (const char* name : {"Core", "Docs"}) {
        std::ifstream in(moved + name + "\\sub\\file.txt");
        std::string text;
        in >> text;
        EXPECT_EQ(text, name);
        EXPECT_TRUE(fs::exists(moved + name + "\\{ID}")) << name;
        EXPECT_FALSE(fs::exists(old + name)) << name;
    }

    // The same folder again moves nothing.
    AcquireMediaBlockWin32(engine, script, "Docs\\", moved);
    EXPECT_TRUE(fs::exists(moved + "Docs\\{ID}"));
}

}  // namespace
