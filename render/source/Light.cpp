#include "render/Light.h"

#include "core/Assert.h"

namespace render {

// ---- life cycle -------------------------------------------------------------

Light::Light() = default;

Light::~Light() noexcept(false) = default;

// ---- checked setters ------------------------------------------------------------

void Light::setMode(int mode)
{
    VORNIC3D_ASSERT(mode == AMBIENT || mode == DIRECTIONAL || mode == OMNI || mode == SPOT,
                    "IllegalArgument in Light::setMode()");
    m_mode = mode;
}

void Light::setSpotAngle(float angle)
{
    VORNIC3D_ASSERT(angle >= 0.0f && angle <= 90.0f, "IllegalArgument in Light::setSpotAngle()");
    m_spotAngle = angle;
}

void Light::setSpotExponent(float exponent)
{
    VORNIC3D_ASSERT(exponent >= 0.0f && exponent <= 128.0f, "IllegalArgument in Light::setSpotExponent()");
    m_spotExponent = exponent;
}

void Light::setAttenuation(float constant, float linear, float quadratic)
{
    const bool noneNegative = constant >= 0.0f && linear >= 0.0f && quadratic >= 0.0f;
    const bool somePositive = constant > 0.0f || linear > 0.0f || quadratic > 0.0f;
    VORNIC3D_ASSERT(noneNegative && somePositive, "IllegalArgument in Light::setAttenuation()");
    m_constantAttenuation = constant;
    m_linearAttenuation = linear;
    m_quadraticAttenuation = quadratic;
}

} // namespace render
