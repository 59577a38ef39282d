// Frames into the page's canvas. SDL's own window surface would convert and
// send the whole picture every frame (half a megabyte, then the canvas's
// copy of it); here only the part that changed is converted to the canvas's
// byte order and handed over, straight from the program's memory.
#include "Core.h"
#include "Presenter.h"
#include "WebBackend.h"

#include <emscripten.h>

#include <vector>

namespace plat {
namespace {

// Puts `width` x `height` RGBA pixels at `pixels` into the canvas, only the
// rectangle x, y, w, h of them. The array is a view of the program's memory,
// made anew each time, as that memory may have grown since.
EM_JS(void, PutOnCanvas, (const unsigned char* pixels, int width, int height, int x, int y, int w, int h), {
    var canvas = Module["canvas"];
    if (canvas.width != width || canvas.height != height) {
        canvas.width = width;
        canvas.height = height;
        x = 0;
        y = 0;
        w = width;
        h = height;
    }
    if (!Module["vorbloxCanvasContext"] || Module["vorbloxCanvas"] !== canvas) {
        Module["vorbloxCanvasContext"] = canvas.getContext("2d");
        Module["vorbloxCanvas"] = canvas;
    }
    var image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4), width, height);
    Module["vorbloxCanvasContext"].putImageData(image, 0, 0, x, y, w, h);
});

class CanvasPresenter final : public Presenter {
public:
    using Presenter::Presenter;

    void Present(bool onScreen) override
    {
        // Off the screen the marks are kept for the next frame shown.
        if (!picture || !onScreen || !AnyChanged()) return;
        int width = picture->w, height = picture->h;
        if (shown.size() != (size_t)width * height * 4) {
            shown.assign((size_t)width * height * 4, 0);
            Changed(SDL_Rect{0, 0, width, height});
        }
        SDL_Rect area = Bounds(TakeChanged());
        const int pitch = width * 4;
        const Uint8* from = static_cast<const Uint8*>(picture->pixels) + (size_t)area.y * picture->pitch +
                            (size_t)area.x * picture->format->BytesPerPixel;
        Uint8* to = shown.data() + (size_t)area.y * pitch + (size_t)area.x * 4;
        // Bytes R, G, B, A in memory, as ImageData has them; opaque.
        SDL_ConvertPixels(area.w, area.h, picture->format->format, from, picture->pitch, SDL_PIXELFORMAT_ABGR8888, to,
                          pitch);
        PutOnCanvas(shown.data(), width, height, area.x, area.y, area.w, area.h);
    }

    void Exposed() override
    {
        if (picture) Changed(SDL_Rect{0, 0, picture->w, picture->h});
    }

    // The canvas shows the picture as it is, at scale 1: the page enlarges it.
    bool ReadShown(std::vector<uint32_t>* pixels, int* width, int* height) override
    {
        return ReadPixels(picture, pixels, width, height);
    }

private:
    // The game's own surfaces' format, so that frames are copied, not converted, into the picture.
    Uint32 PictureFormat() override { return DesktopFormat(); }
    void PictureReplaced() override { shown.clear(); }

    std::vector<Uint8> shown;  // the canvas's pixels, RGBA
};

}  // namespace

Presenter* NewCanvasPresenter(SDL_Window* window) { return new CanvasPresenter(window); }

}  // namespace plat
