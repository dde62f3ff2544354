#include "render/Object3D_animation_helpers.h"

#include "render/AnimationTrack.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/Fog.h"
#include "render/Light.h"
#include "render/Material.h"
#include "render/Node.h"
#include "render/Sprite3D.h"
#include "render/Texture2D.h"
#include "render/VertexBuffer.h"

#include "core/Assert.h"
#include "slmath/quat.h"

#include <cfloat>

namespace render {

namespace {

// ---- interpolation checks --------------------------------------------------------

// The fraction of the way from t0 to t, after the checks every interpolator
// makes first; t1 > t0 past them, so the division is safe.
float fractionOf(float* out, int t0, const float* a, int t1, const float* b, int t)
{
    VORNIC3D_ASSERT(t0 >= 0 && t1 >= 0 && t0 <= t && t < t1, "Given interpolation times not correct");
    VORNIC3D_ASSERT(a != nullptr && b != nullptr && out != nullptr, "NULL paremeter");
    return static_cast<float>(t - t0) / static_cast<float>(t1 - t0);
}

// ---- property texts ----------------------------------------------------------------

// Exception texts must be literals, so each property's are spelled out.
struct PropertyTexts {
    const char* componentCount;
    const char* targetType;
    const char* value;
};

#define VORNIC3D_PROPERTY_TEXTS(name)                                                                                  \
    {                                                                                                                  \
        "Component count not correct for \"" name "\" target property.",                                               \
            "Invalid target object type for \"" name "\" target property.",                                            \
            "Value not valid for \"" name "\" target property."                                                        \
    }

const PropertyTexts kPropertyTexts[AnimationTrack::kTargetPropertyCount] = {
    VORNIC3D_PROPERTY_TEXTS("ALPHA"),          VORNIC3D_PROPERTY_TEXTS("AMBIENT_COLOR"),
    VORNIC3D_PROPERTY_TEXTS("COLOR"),          VORNIC3D_PROPERTY_TEXTS("CROP"),
    VORNIC3D_PROPERTY_TEXTS("DENSITY"),        VORNIC3D_PROPERTY_TEXTS("DIFFUSE_COLOR"),
    VORNIC3D_PROPERTY_TEXTS("EMISSIVE_COLOR"), VORNIC3D_PROPERTY_TEXTS("FAR_DISTANCE"),
    VORNIC3D_PROPERTY_TEXTS("FIELD_OF_VIEW"),  VORNIC3D_PROPERTY_TEXTS("INTENSITY"),
    VORNIC3D_PROPERTY_TEXTS("MORPH_WEIGHTS"),  VORNIC3D_PROPERTY_TEXTS("NEAR_DISTANCE"),
    VORNIC3D_PROPERTY_TEXTS("ORIENTATION"),    VORNIC3D_PROPERTY_TEXTS("PICKABILITY"),
    VORNIC3D_PROPERTY_TEXTS("SCALE"),          VORNIC3D_PROPERTY_TEXTS("SHININESS"),
    VORNIC3D_PROPERTY_TEXTS("SPECULAR_COLOR"), VORNIC3D_PROPERTY_TEXTS("SPOT_ANGLE"),
    VORNIC3D_PROPERTY_TEXTS("SPOT_EXPONENT"),  VORNIC3D_PROPERTY_TEXTS("TRANSLATION"),
    VORNIC3D_PROPERTY_TEXTS("VISIBILITY"),
};

#undef VORNIC3D_PROPERTY_TEXTS

const PropertyTexts& textsOf(int property)
{
    return kPropertyTexts[property - AnimationTrack::ALPHA];
}

// ---- setter checks and conversions -------------------------------------------------

void checkSetter(const Object3D* target, bool countFits, const float* values, int property)
{
    VORNIC3D_ASSERT(values != nullptr, "NULL values");
    VORNIC3D_ASSERT(target != nullptr, "NULL object");
    VORNIC3D_ASSERT(countFits, textsOf(property).componentCount);
}

void refuseTarget(int property)
{
    VORNIC3D_ASSERT(false, textsOf(property).targetType);
}

// Hands the target to apply when it is a T; refuses it otherwise.
template <typename T, typename Apply>
void applyTo(Object3D* target, int property, Apply apply)
{
    if (auto* object = dynamic_cast<T*>(target))
        apply(*object);
    else
        refuseTarget(property);
}

void clampColor(float* values, int count)
{
    for (int i = 0; i < count; ++i)
        values[i] = slmath::clamp(values[i], 0.0f, 1.0f);
}

// c is clamped to 0..1 already; a NaN passes the clamp unchanged and has no
// byte, so it is refused rather than converted.
unsigned int byteOf(float c, int property)
{
    VORNIC3D_ASSERT(c >= 0.0f && c <= 1.0f, textsOf(property).value);
    return static_cast<unsigned int>(c * 255.0);
}

// The colour with its alpha byte replaced.
unsigned int withAlpha(unsigned int argb, float alpha, int property)
{
    return (argb & 0x00FFFFFFu) | byteOf(alpha, property) << 24;
}

unsigned int rgbOf(const float* values, int property)
{
    return byteOf(values[0], property) << 16 | byteOf(values[1], property) << 8 | byteOf(values[2], property);
}

// A pixel position: the value plus a half, truncated; values beyond the int
// range (and NaN) have none and are refused.
int pixelOf(float value)
{
    const double rounded = static_cast<double>(value) + 0.5;
    VORNIC3D_ASSERT(rounded > -2147483649.0 && rounded < 2147483648.0, textsOf(AnimationTrack::CROP).value);
    return static_cast<int>(rounded);
}

// A background's or a sprite's crop; with two components the size is kept.
template <typename T>
void cropTo(T& object, int componentCount, const float* values)
{
    const int x = pixelOf(values[0]);
    const int y = pixelOf(values[1]);
    const int width = componentCount == 4 ? pixelOf(values[2]) : object.getCropWidth();
    const int height = componentCount == 4 ? pixelOf(values[3]) : object.getCropHeight();
    object.setCrop(x, y, width, height);
}

void setMaterialColor(Object3D* target, int componentCount, float* values, int property, int colorTarget)
{
    checkSetter(target, componentCount == 3, values, property);
    clampColor(values, 3);
    applyTo<Material>(target, property, [&](Material& m) { m.setColor(colorTarget, rgbOf(values, property)); });
}

// ---- cameras ---------------------------------------------------------------------------

enum CameraSlot { FOV_OR_HEIGHT = 0, NEAR = 2, FAR = 3 };

// Sets the projection again with one parameter replaced. Distances of a
// perspective camera and the height of a parallel one must stay above 0, so
// values at or below 0 become FLT_EPSILON; a field of view is clamped to
// 0..180 (the camera still refuses both ends).
void animateCamera(Camera& camera, float* values, CameraSlot slot, int property)
{
    float p[4];
    const int type = camera.getProjectionParameters(p);
    if (type == Camera::PERSPECTIVE) {
        if (slot == FOV_OR_HEIGHT)
            values[0] = slmath::clamp(values[0], 0.0f, 180.0f);
        else if (values[0] <= 0.0f)
            values[0] = FLT_EPSILON;
        p[slot] = values[0];
        camera.setPerspective(p[0], p[1], p[2], p[3]);
    } else if (type == Camera::PARALLEL) {
        if (slot == FOV_OR_HEIGHT && values[0] <= 0.0f)
            values[0] = FLT_EPSILON;
        p[slot] = values[0];
        camera.setParallel(p[0], p[1], p[2], p[3]);
    } else if (property == AnimationTrack::FAR_DISTANCE) {
        VORNIC3D_ASSERT(false,
                        "Camera Far Distance is tried to animate and camera is not in PERSPECTIVE or PARALLEL mode");
    } else if (property == AnimationTrack::NEAR_DISTANCE) {
        VORNIC3D_ASSERT(false,
                        "Camera Near Distance is tried to animate and camera is not in PERSPECTIVE or PARALLEL mode");
    } else {
        VORNIC3D_CHECK(false);
    }
}

// ---- orientation ----------------------------------------------------------------------

constexpr float kRadiansToDegrees = 57.2957795f;
// A normalised quaternion gives an axis of length about 1, or about 0 for a
// whole number of turns, where any axis will do.
constexpr float kNearZeroAxis = 1.0e-6f;

} // namespace

// ---- interpolators ---------------------------------------------------------------------

void linearInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t)
{
    const float s = fractionOf(out, t0, a, t1, b, t);
    VORNIC3D_ASSERT(componentCount >= 1, "Invalid component count for linear interpolation");
    for (int i = 0; i < componentCount; ++i)
        out[i] = b[i] * s + a[i] * (1.0f - s);
}

void slerpInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t)
{
    const float s = fractionOf(out, t0, a, t1, b, t);
    VORNIC3D_ASSERT(componentCount == 4, "Invalid component count for slerp interpolation");
    const slmath::quat qa(a[0], a[1], a[2], a[3]);
    const slmath::quat qb(b[0], b[1], b[2], b[3]);
    const slmath::quat q = slmath::slerp(qa, qb, s);
    out[0] = q.x;
    out[1] = q.y;
    out[2] = q.z;
    out[3] = q.w;
}

void splineInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t)
{
    const float s = fractionOf(out, t0, a, t1, b, t);
    VORNIC3D_ASSERT(componentCount >= 1, "Invalid component count for spline interpolation");
    const float s2 = s * s;
    const float s3 = s2 * s;
    for (int i = 0; i < componentCount; ++i) {
        const float d = b[i] - a[i];
        const float m = d * 0.5f;
        out[i] = (((3.0f * d - (2.0f * m + m)) * s2 + ((a[i] - b[i]) * 2.0f + 2.0f * m) * s3) + m * s) + a[i];
    }
}

void squadInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t)
{
    fractionOf(out, t0, a, t1, b, t);
    VORNIC3D_ASSERT(componentCount == 4, "Invalid component count for squad interpolation");
    VORNIC3D_ASSERT(false, "TODO: Implementation");
}

void stepInterpolation(float* out, int componentCount, int t0, const float* a, int t1, const float* b, int t)
{
    const float s = fractionOf(out, t0, a, t1, b, t);
    VORNIC3D_ASSERT(componentCount >= 1, "Invalid component count for step interpolation");
    const float* nearer = s < 0.5f ? a : b;
    for (int i = 0; i < componentCount; ++i)
        out[i] = nearer[i];
}

const InterpolationFunction interpolationFunctions[5] = {
    linearInterpolation, slerpInterpolation, splineInterpolation, squadInterpolation, stepInterpolation,
};

// ---- colours and alpha ---------------------------------------------------------------------

void setAlpha(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::ALPHA;
    checkSetter(target, componentCount == 1, values, property);
    values[0] = slmath::clamp(values[0], 0.0f, 1.0f);
    if (auto* node = dynamic_cast<Node*>(target)) {
        node->setAlphaFactor(values[0]);
    } else if (auto* background = dynamic_cast<Background*>(target)) {
        background->setColor(withAlpha(background->getColor(), values[0], property));
    } else if (auto* material = dynamic_cast<Material*>(target)) {
        material->setColor(Material::DIFFUSE, withAlpha(material->getColor(Material::DIFFUSE), values[0], property));
    } else if (auto* vertices = dynamic_cast<VertexBuffer*>(target)) {
        vertices->setDefaultColor(withAlpha(vertices->getDefaultColor(), values[0], property));
    } else {
        refuseTarget(property);
    }
}

void setAmbientColor(Object3D* target, int componentCount, float* values)
{
    setMaterialColor(target, componentCount, values, AnimationTrack::AMBIENT_COLOR, Material::AMBIENT);
}

void setColor(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::COLOR;
    checkSetter(target, componentCount == 3, values, property);
    clampColor(values, 3);
    if (auto* light = dynamic_cast<Light*>(target))
        light->setColor(rgbOf(values, property));
    else if (auto* background = dynamic_cast<Background*>(target))
        background->setColor((background->getColor() & 0xFF000000u) | rgbOf(values, property));
    else if (auto* fog = dynamic_cast<Fog*>(target))
        fog->setColor(rgbOf(values, property));
    else if (auto* texture = dynamic_cast<Texture2D*>(target))
        texture->setBlendColor(rgbOf(values, property));
    else if (auto* vertices = dynamic_cast<VertexBuffer*>(target))
        vertices->setDefaultColor(rgbOf(values, property));
    else
        refuseTarget(property);
}

void setDiffuseColor(Object3D* target, int componentCount, float* values)
{
    setMaterialColor(target, componentCount, values, AnimationTrack::DIFFUSE_COLOR, Material::DIFFUSE);
}

void setEmissiveColor(Object3D* target, int componentCount, float* values)
{
    setMaterialColor(target, componentCount, values, AnimationTrack::EMISSIVE_COLOR, Material::EMISSIVE);
}

void setSpecularColor(Object3D* target, int componentCount, float* values)
{
    setMaterialColor(target, componentCount, values, AnimationTrack::SPECULAR_COLOR, Material::SPECULAR);
}

void setShininess(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::SHININESS;
    checkSetter(target, componentCount == 1, values, property);
    values[0] = slmath::clamp(values[0], 0.0f, 128.0f);
    applyTo<Material>(target, property, [&](Material& m) { m.setShininess(values[0]); });
}

// ---- crop --------------------------------------------------------------------------------

void setCrop(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::CROP;
    checkSetter(target, componentCount == 2 || componentCount == 4, values, property);
    if (auto* background = dynamic_cast<Background*>(target))
        cropTo(*background, componentCount, values);
    else if (auto* sprite = dynamic_cast<Sprite3D*>(target))
        cropTo(*sprite, componentCount, values);
    else
        refuseTarget(property);
}

// ---- fog, cameras and lights ------------------------------------------------------------------

void setDensity(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::DENSITY;
    checkSetter(target, componentCount == 1, values, property);
    if (values[0] < 0.0f)
        values[0] = 0.0f;
    applyTo<Fog>(target, property, [&](Fog& f) { f.setDensity(values[0]); });
}

void setFarDistance(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::FAR_DISTANCE;
    checkSetter(target, componentCount == 1, values, property);
    if (auto* camera = dynamic_cast<Camera*>(target))
        animateCamera(*camera, values, FAR, property);
    else if (auto* fog = dynamic_cast<Fog*>(target))
        fog->setLinear(fog->getNearDistance(), values[0]);
    else
        refuseTarget(property);
}

void setNearDistance(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::NEAR_DISTANCE;
    checkSetter(target, componentCount == 1, values, property);
    if (auto* camera = dynamic_cast<Camera*>(target))
        animateCamera(*camera, values, NEAR, property);
    else if (auto* fog = dynamic_cast<Fog*>(target))
        fog->setLinear(values[0], fog->getFarDistance());
    else
        refuseTarget(property);
}

void setFieldOfView(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::FIELD_OF_VIEW;
    checkSetter(target, componentCount == 1, values, property);
    applyTo<Camera>(target, property, [&](Camera& c) { animateCamera(c, values, FOV_OR_HEIGHT, property); });
}

void setIntensity(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::INTENSITY;
    checkSetter(target, componentCount == 1, values, property);
    applyTo<Light>(target, property, [&](Light& l) { l.setIntensity(values[0]); });
}

void setSpotAngle(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::SPOT_ANGLE;
    checkSetter(target, componentCount == 1, values, property);
    applyTo<Light>(target, property, [&](Light& l) {
        values[0] = slmath::clamp(values[0], 0.0f, 90.0f);
        l.setSpotAngle(values[0]);
    });
}

void setSpotExponent(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::SPOT_EXPONENT;
    checkSetter(target, componentCount == 1, values, property);
    applyTo<Light>(target, property, [&](Light& l) {
        values[0] = slmath::clamp(values[0], 0.0f, 128.0f);
        l.setSpotExponent(values[0]);
    });
}

// ---- morphing ------------------------------------------------------------------------------

void setMorphWeights(Object3D* target, int /*componentCount*/, float* values)
{
    VORNIC3D_ASSERT(values != nullptr, "NULL values");
    VORNIC3D_ASSERT(target != nullptr, "NULL object");
    VORNIC3D_ASSERT(false, "TODO: Implementation");
}

// ---- transformables and nodes ---------------------------------------------------------------

void setOrientation(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::ORIENTATION;
    checkSetter(target, componentCount == 4, values, property);
    applyTo<Transformable>(target, property, [&](Transformable& t) {
        const slmath::quat q = slmath::normalize(slmath::quat(values[0], values[1], values[2], values[3]));
        float angle = 0.0f;
        slmath::vec3 axis(0.0f, 0.0f, 0.0f);
        slmath::toAngleAxis(q, angle, axis);
        // A whole number of turns has no axis of its own; setOrientation needs one.
        if (slmath::length(axis) < kNearZeroAxis)
            axis = slmath::vec3(1.0f, 0.0f, 0.0f);
        // The quaternion gives radians; the transformable keeps degrees.
        t.setOrientation(angle * kRadiansToDegrees, axis.x, axis.y, axis.z);
    });
}

void setScale(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::SCALE;
    checkSetter(target, componentCount == 1 || componentCount == 3, values, property);
    applyTo<Transformable>(target, property, [&](Transformable& t) {
        if (componentCount == 3)
            t.setScale(values[0], values[1], values[2]);
        else
            t.setScale(values[0], values[0], values[0]);
    });
}

void setTranslation(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::TRANSLATION;
    checkSetter(target, componentCount == 3, values, property);
    applyTo<Transformable>(target, property,
                           [&](Transformable& t) { t.setTranslation(values[0], values[1], values[2]); });
}

void setPickability(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::PICKABILITY;
    checkSetter(target, componentCount == 1, values, property);
    applyTo<Node>(target, property, [&](Node& n) { n.setPickingEnable(values[0] > 0.5f); });
}

void setVisibility(Object3D* target, int componentCount, float* values)
{
    const int property = AnimationTrack::VISIBILITY;
    checkSetter(target, componentCount == 1, values, property);
    applyTo<Node>(target, property, [&](Node& n) { n.setRenderingEnable(values[0] > 0.5f); });
}

const AnimationPropertySetter animationPropertySetters[21] = {
    setAlpha,         setAmbientColor, setColor,       setCrop,      setDensity,       setDiffuseColor,
    setEmissiveColor, setFarDistance,  setFieldOfView, setIntensity, setMorphWeights,  setNearDistance,
    setOrientation,   setPickability,  setScale,       setShininess, setSpecularColor, setSpotAngle,
    setSpotExponent,  setTranslation,  setVisibility,
};

} // namespace render
