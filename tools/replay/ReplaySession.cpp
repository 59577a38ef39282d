#include "tools/replay/ReplaySession.h"

#include "app/MessageLoop.h"
#include "app/PMAIN.h"
#include "system/SystemInfo.h"
#include "tools/artgen/BmpWriter.h"

#include <PlatformTest.h>
#include <ProgramOptions.h>

#include <sstream>

bool ReplaySession::Start()
{
    PlatformTest::SetHeadless(true);
    for (const DesktopEvent& event : events)
        if (event.tick == 0 && event.bits != 0) PlatformTest::SetDesktopBits(event.bits);
    InitSystemInfo(GetModuleHandleA(NULL), SW_SHOWDEFAULT);
    if (!application.Init()) return false;
    int exitCode = 0;
    quit = !DispatchWaitingMessages(&exitCode);
    return !quit;
}

bool ReplaySession::Tick(const std::vector<unsigned char>& keys)
{
    if (quit) return false;
    DesktopEvents();
    PlatformTest::ReleaseAllKeys();
    for (unsigned char key : keys) PlatformTest::SetKeyDown(key, true);
    application.Tick();
    ++ticks;
    int exitCode = 0;
    quit = !DispatchWaitingMessages(&exitCode);
    return !quit;
}

void ReplaySession::LoseSurfacesAt(uint64_t tick) { events.push_back(DesktopEvent{tick, 0}); }

void ReplaySession::DesktopBitsAt(uint64_t tick, int bits) { events.push_back(DesktopEvent{tick, bits}); }

void ReplaySession::DesktopEvents()
{
    for (const DesktopEvent& event : events) {
        if (event.tick != ticks || (ticks == 0 && event.bits != 0)) continue;  // the start's depth is set already
        if (event.bits == 0)
            PlatformTest::LoseAllSurfaces();
        else
            PlatformTest::SetDesktopBits(event.bits);
    }
}

uint32_t ReplaySession::FrameSum() const
{
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    if (!PlatformTest::ReadClientPixels(application.hwnd, &pixels, &width, &height)) return 0;
    uint32_t sum = 2166136261u;
    for (uint32_t pixel : pixels)
        for (int byte = 0; byte < 3; ++byte) sum = (sum ^ ((pixel >> (8 * byte)) & 0xFF)) * 16777619u;
    return sum;
}

std::string ReplaySession::StateJson(bool frameSum) const
{
    const GameState& game = application.game;
    std::ostringstream json;
    json << "{\"ticks\":" << ticks << ",\"quit\":" << (quit ? "true" : "false") << ",\"active\":" << game.active
         << ",\"awaitingFirstGame\":" << application.awaitingFirstGame << ",\"score\":" << game.score
         << ",\"lines\":" << game.lines << ",\"level\":" << game.level << ",\"fallDelay\":" << game.fallDelay
         << ",\"fallCounter\":" << game.fallCounter << ",\"piece\":" << game.piece
         << ",\"nextPiece\":" << game.nextPiece << ",\"rotation\":" << game.rotation << ",\"pieceX\":" << game.pieceX
         << ",\"pieceY\":" << game.pieceY << ",\"rows\":[";
    for (int row = 0; row < 23; ++row) {
        json << (row ? ",\"" : "\"");
        for (int column = 0; column < 10; ++column) json << (char)('0' + game.cells[column * 23 + row]);
        json << '"';
    }
    json << "]";
    if (frameSum) json << ",\"frameSum\":" << FrameSum();
    json << "}";
    return json.str();
}

bool ReplaySession::WriteFrame(const char* path, std::string* error) const
{
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    if (!PlatformTest::ReadClientPixels(application.hwnd, &pixels, &width, &height)) {
        *error = "the window has no picture to save";
        return false;
    }
    Canvas frame(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[(size_t)y * width + x];
            frame.Set(x, y, MakeRgb((int)(p >> 16) & 0xFF, (int)(p >> 8) & 0xFF, (int)p & 0xFF));
        }
    }
    Bytes bytes = EncodeBmp24(frame);
    return plat::ReplaceFile(path, std::string(bytes.begin(), bytes.end()), error);
}
