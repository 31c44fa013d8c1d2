// A GIF as the document draws and animates it: the shared frame strip, one record per frame and
// the play state, advanced against an injected clock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "setup/htmlview/images/gif_strip.h"
#include "setup/htmlview/util/platform.h"

namespace htmlview {

struct ImageRect
{
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const ImageRect&, const ImageRect&) = default;
};

struct AnimationFrame
{
    int left = 0, top = 0, width = 0, height = 0;
    int delay = 0;  // milliseconds
    int disposal = 0;
};

class AnimatedImage
{
public:
    // None on any failure. singleFrame tells the caller to take the first frame as a plain image.
    static std::unique_ptr<AnimatedImage> FromGif(std::span<const std::uint8_t> data,
                                                  const IClock& clock, bool& singleFrame,
                                                  const GifLimits& limits = {});
    // Shares the other image's strip, with its own frames and play state from frame 1.
    AnimatedImage(const AnimatedImage& other);
    AnimatedImage& operator=(const AnimatedImage&) = delete;

    bool Animated() const { return m_frames.size() > 1; }
    int FrameCount() const { return static_cast<int>(m_frames.size()); }
    int CurrentFrame() const { return m_currentFrame; }  // 1-based
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Iterations() const { return m_iterations; }  // 0: endless
    int CurrentIteration() const { return m_currentIteration; }
    bool Transparent() const { return m_strip->HasMask(); }
    bool Animating() const { return m_animate; }
    const AnimationFrame& Frame(int number) const { return m_frames.at(number - 1); }
    const GifStrip& Strip() const { return *m_strip; }

    bool visible = true;
    bool drawn = false;  // set by whoever draws it; only drawn images advance

    // Remembers where the image is drawn; the part of the strip to copy there.
    ImageRect PrepareDraw(const ImageRect& destination);
    const ImageRect& LastRect() const { return m_lastRect; }

    // Shows the next frame when the current one's delay has passed, telling `invalidate` where.
    void CheckTime(const std::function<void(const ImageRect&)>& invalidate);
    void SetAnimate(bool on);
    void SetCurrentFrame(int number);

private:
    AnimatedImage(std::shared_ptr<const GifStrip> strip, const IClock& clock);

    std::shared_ptr<const GifStrip> m_strip;
    const IClock& m_clock;
    std::vector<AnimationFrame> m_frames;
    int m_width = 0;
    int m_height = 0;
    int m_iterations = 1;
    int m_currentFrame = 1;
    int m_currentIteration = 1;
    bool m_animate = false;
    ImageRect m_lastRect;
    std::uint32_t m_lastTime = 0;
    int m_currentInterval = 1;
};

}  // namespace htmlview
