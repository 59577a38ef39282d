// The game after the system took its surfaces (a locked workstation, a
// display change) or changed the desktop's depth: the frames it shows must
// be those of a game that never lost anything, or of one started afresh at
// the new depth.
#include "ReplayRunner.h"
#include "app/PMAIN.h"
#include "tools/replay/ReplaySession.h"

#include <PlatformTest.h>
#include <dinput.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

class LostSurfaces : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(session.Start()); }

    static std::vector<uint32_t> Frame()
    {
        std::vector<uint32_t> pixels;
        int width = 0, height = 0;
        EXPECT_TRUE(PlatformTest::ReadClientPixels(application.hwnd, &pixels, &width, &height));
        return pixels;
    }
    static ReplaySession session;
};

ReplaySession LostSurfaces::session;

// A loss met by the background's blit, a tile's in the middle of the frame,
// or the present itself.
TEST_F(LostSurfaces, ALossMetByAnyBlitOfAFrameLeavesTheFrameWhole)
{
    session.Tick({DIK_F1});
    for (int i = 0; i < 30; ++i) session.Tick({DIK_DOWN});
    const int before = PlatformTest::CallCount("IDirectDrawSurface::Blt");
    application.Draw();
    const int blits = PlatformTest::CallCount("IDirectDrawSurface::Blt") - before;
    const std::vector<uint32_t> whole = Frame();
    for (int at : {0, 1, blits / 2, blits - 1}) {
        application.game.score += 5;  // another frame in the window meanwhile
        application.Draw();
        application.game.score -= 5;
        const int restores = PlatformTest::CallCount("IDirectDrawSurface::Restore");
        PlatformTest::LoseAllSurfacesAtBlit(at);
        application.Draw();
        EXPECT_GT(PlatformTest::CallCount("IDirectDrawSurface::Restore"), restores) << at;
        EXPECT_TRUE(Frame() == whole) << "lost at blit " << at << " of " << blits;
    }

    // Lost again at every blit: the frame is given up, the game goes on.
    PlatformTest::FailCall("IDirectDrawSurface::Blt", static_cast<DWORD>(DDERR_SURFACELOST));
    const int tried = PlatformTest::CallCount("IDirectDrawSurface::Blt");
    application.Draw();
    EXPECT_LE(PlatformTest::CallCount("IDirectDrawSurface::Blt") - tried, 3 * 5 * blits) << "three attempts at most";
    PlatformTest::Reset();
    application.Draw();
    EXPECT_TRUE(Frame() == whole);
}

// Every frame of a run, its state and a checksum of what the window shows,
// compared with a run without the loss and with one started at the depth
// the desktop had then.
TEST(LostSurfacesDuringPlay, EveryFrameIsThatOfARunWithoutTheLossOrOfAFreshStart)
{
    const std::string script = "1 -\n1 F1\n40 DOWN\n20 LEFT\n40 DOWN\n";
    const std::string sums = "--trace --frame-sums ";
    const ReplayOutput plain = RunReplay(script, sums);
    const ReplayOutput lost = RunReplay(script, sums + "--lose-surfaces 30 --lose-surfaces 31 --lose-surfaces 75");
    const ReplayOutput at16 = RunReplay(script, sums + "--desktop-bits 0:16");
    const ReplayOutput changed = RunReplay(script, sums + "--desktop-bits 30:16 --desktop-bits 70:32");
    for (const ReplayOutput* run : {&plain, &lost, &at16, &changed}) ASSERT_EQ(102u, run->states.size()) << run->err;
    EXPECT_NE(plain.states[50]["frameSum"], at16.states[50]["frameSum"]) << "the depths show different frames";
    for (size_t i = 0; i < 102; ++i) {
        EXPECT_EQ(plain.states[i].numbers, lost.states[i].numbers) << "tick " << i + 1;
        const ReplayState& fresh = i >= 30 && i < 70 ? at16.states[i] : plain.states[i];
        EXPECT_EQ(fresh.numbers, changed.states[i].numbers) << "tick " << i + 1;
    }
}

}  // namespace
