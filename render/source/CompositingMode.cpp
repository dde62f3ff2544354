#include "render/CompositingMode.h"

#include "core/Assert.h"

namespace render {

namespace {

bool isBlending(int mode)
{
    return mode >= CompositingMode::ALPHA && mode <= CompositingMode::ONE_DST_ALPHA;
}

bool isThreshold(float threshold)
{
    return threshold >= 0.0f && threshold <= 1.0f;
}

} // namespace

// ---- life cycle -------------------------------------------------------------

CompositingMode::CompositingMode() = default;

CompositingMode::~CompositingMode() noexcept(false) = default;

// ---- checked values ---------------------------------------------------------------

void CompositingMode::setBlending(int mode)
{
    VORNIC3D_CHECK(isBlending(mode));
    m_blending = mode;
}

int CompositingMode::getBlending() const
{
    VORNIC3D_CHECK(isBlending(m_blending));
    return m_blending;
}

void CompositingMode::setAlphaThreshold(float threshold)
{
    VORNIC3D_CHECK(isThreshold(threshold));
    m_alphaThreshold = threshold;
}

float CompositingMode::getAlphaThreshold() const
{
    VORNIC3D_ASSERT(isThreshold(m_alphaThreshold), "Alpha treshold value is invalid");
    return m_alphaThreshold;
}

void CompositingMode::setDepthOffset(float factor, float units)
{
    m_depthOffsetFactor = factor;
    m_depthOffsetUnits = units;
}

} // namespace render
