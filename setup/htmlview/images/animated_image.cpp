#include "setup/htmlview/images/animated_image.h"

#include <algorithm>

namespace htmlview {

// The shortest frame the animation shows, in milliseconds.
constexpr int kMinimumFrameDelay = 30;

AnimatedImage::AnimatedImage(std::shared_ptr<const GifStrip> strip, const IClock& clock)
    : m_strip(std::move(strip)), m_clock(clock)
{}

AnimatedImage::AnimatedImage(const AnimatedImage& other)
    : m_strip(other.m_strip),
      m_clock(other.m_clock),
      m_frames(other.m_frames),
      m_width(other.m_width),
      m_height(other.m_height),
      m_iterations(other.m_iterations),
      m_currentInterval(other.m_currentInterval)
{
    visible = other.visible;
}

std::unique_ptr<AnimatedImage> AnimatedImage::FromGif(std::span<const std::uint8_t> data,
                                                      const IClock& clock, bool& singleFrame,
                                                      const GifLimits& limits)
{
    singleFrame = true;
    try {
        const GifFile gif = LoadGif(data, limits);
        auto strip = std::make_shared<GifStrip>(BuildGifStrip(gif, limits));
        std::unique_ptr<AnimatedImage> image(new AnimatedImage(std::move(strip), clock));
        const int count = static_cast<int>(gif.frames.size());
        singleFrame = count < 2;
        image->m_width = gif.screenWidth;
        image->m_height = gif.screenHeight;
        image->m_iterations = gif.loopCount < 0 ? 1 : gif.loopCount == 0 ? 0 : gif.loopCount + 1;
        for (int i = 0; i < count; ++i) {
            const GifFrame& frame = gif.frames[static_cast<std::size_t>(i)];
            image->m_frames.push_back({frame.left, frame.top, frame.width, frame.height,
                                       std::max(kMinimumFrameDelay, gif.Delay(i) * 10),
                                       gif.Disposal(i)});
        }
        return image;
    } catch (const std::exception&) {
        return nullptr;
    }
}

ImageRect AnimatedImage::PrepareDraw(const ImageRect& destination)
{
    m_lastRect = destination;
    return {(m_currentFrame - 1) * m_width, 0, m_currentFrame * m_width, m_height};
}

void AnimatedImage::CheckTime(const std::function<void(const ImageRect&)>& invalidate)
{
    if (!m_animate || FrameCount() < 2)
        return;
    const std::uint32_t now = m_clock.Milliseconds();
    if (now - m_lastTime < static_cast<std::uint32_t>(m_currentInterval))
        return;
    m_lastTime = now;
    if (m_currentFrame == FrameCount()) {
        if (m_iterations > 0 && m_currentIteration >= m_iterations) {
            SetAnimate(false);
            return;
        }
        ++m_currentIteration;
    }
    m_currentFrame = m_currentFrame % FrameCount() + 1;
    if (invalidate)
        invalidate(m_lastRect);
    m_currentInterval = std::max(Frame(m_currentFrame).delay, 1);
}

void AnimatedImage::SetAnimate(bool on)
{
    if (on == m_animate)
        return;
    m_animate = on;
    if (on && FrameCount() > 1) {
        m_currentInterval = std::max(Frame(m_currentFrame).delay, 1);
        m_lastTime = m_clock.Milliseconds();
    }
}

void AnimatedImage::SetCurrentFrame(int number)
{
    if (number == m_currentFrame)
        return;
    if (number > FrameCount())
        m_currentFrame = 1;
    else if (number <= 0)
        m_currentFrame = FrameCount();
    else
        m_currentFrame = number;
}

}  // namespace htmlview
