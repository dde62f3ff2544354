// Reading cameras, lights, fogs, backgrounds and worlds.
#include "render/M3G_Loader.h"

#include "M3G_RecordIO.h"
#include "core/Assert.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/Fog.h"
#include "render/Image2D.h"
#include "render/Light.h"
#include "render/Loader_helpers.h"
#include "render/Transform.h"
#include "render/World.h"

namespace render {

// ---- Camera ---------------------------------------------------------------------------

void M3G_Loader::setToClass(Camera* camera, const M3G_Camera& record)
{
    VORNIC3D_CHECK(camera != nullptr);
    switch (record.projectionType) {
    case Camera::GENERIC: {
        Transform projection;
        projection.set(record.projectionMatrix);
        camera->setGeneric(projection);
        break;
    }
    case Camera::PARALLEL:
        camera->setParallel(record.fovy, record.aspectRatio, record.nearDistance, record.farDistance);
        break;
    default: camera->setPerspective(record.fovy, record.aspectRatio, record.nearDistance, record.farDistance); break;
    }
}

void M3G_Loader::check(const M3G_Camera& record)
{
    const int type = record.projectionType;
    if (type != Camera::GENERIC && type != Camera::PARALLEL && type != Camera::PERSPECTIVE)
        parseError("Camera projection type not correct.");
}

core::Ref<Object3D> M3G_Loader::parseCamera()
{
    return parseRecords<M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Camera>(VORNIC3D_NEW Camera());
}

// ---- Light ----------------------------------------------------------------------------

void M3G_Loader::setToClass(Light* light, const M3G_Light& record)
{
    VORNIC3D_CHECK(light != nullptr);
    light->setMode(record.mode);
    light->setAttenuation(record.attenuationConstant, record.attenuationLinear, record.attenuationQuadratic);
    light->setColor(packRGB(record.color));
    light->setIntensity(record.intensity);
    light->setSpotAngle(record.spotAngle);
    light->setSpotExponent(record.spotExponent);
}

void M3G_Loader::check(const M3G_Light& record)
{
    if (record.mode < Light::AMBIENT || record.mode > Light::SPOT)
        parseError("The Light mode field does not hold a valid enumerated value, as specified in the class "
                   "definition.");
}

core::Ref<Object3D> M3G_Loader::parseLight()
{
    return parseRecords<M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Light>(VORNIC3D_NEW Light());
}

// ---- Fog ------------------------------------------------------------------------------

void M3G_Loader::setToClass(Fog* fog, const M3G_Fog& record)
{
    VORNIC3D_CHECK(fog != nullptr);
    fog->setColor(packRGB(record.color));
    if (record.mode == Fog::LINEAR) {
        fog->setMode(Fog::LINEAR);
        fog->setLinear(record.nearDistance, record.farDistance);
    } else {
        fog->setMode(Fog::EXPONENTIAL);
        fog->setDensity(record.density);
    }
}

void M3G_Loader::check(const M3G_Fog& record)
{
    if (record.mode != Fog::EXPONENTIAL && record.mode != Fog::LINEAR)
        parseError("Fog mode must be render::Fog::EXPONENTIAL or render::Fog::LINEAR.");
    if (record.mode == Fog::EXPONENTIAL && record.density <= 0.0f)
        parseError("Exponential fog density not greater than zero.");
}

core::Ref<Object3D> M3G_Loader::parseFog()
{
    return parseRecords<M3G_Object3D, M3G_Fog>(VORNIC3D_NEW Fog());
}

// ---- Background -----------------------------------------------------------------------

void M3G_Loader::setToClass(Background* background, const M3G_Background& record)
{
    VORNIC3D_CHECK(background != nullptr);
    background->setColor(packARGB(record.backgroundColor));
    background->setColorClearEnable(record.colorClearEnabled);
    background->setDepthClearEnable(record.depthClearEnabled);
    background->setImageMode(record.backgroundImageModeX, record.backgroundImageModeY);
    if (record.backgroundImage != 0)
        background->setImage(getRef<Image2D>(record.backgroundImage).get());
    // Last: setting the image crops to the whole image, the record's crop wins.
    background->setCrop(record.cropX, record.cropY, record.cropWidth, record.cropHeight);
}

void M3G_Loader::check(const M3G_Background& record)
{
    const int modeX = record.backgroundImageModeX;
    const int modeY = record.backgroundImageModeY;
    if (modeX != Background::BORDER && modeX != Background::REPEAT)
        parseError("Background image mode X is not valid enum value.");
    if (modeY != Background::BORDER && modeY != Background::REPEAT)
        parseError("Background image mode Y is not valid enum value.");
}

core::Ref<Object3D> M3G_Loader::parseBackground()
{
    return parseRecords<M3G_Object3D, M3G_Background>(VORNIC3D_NEW Background());
}

// ---- World ----------------------------------------------------------------------------

void M3G_Loader::setToClass(World* world, const M3G_World& record)
{
    VORNIC3D_CHECK(world != nullptr);
    if (record.activeCamera != 0)
        world->setActiveCamera(getRef<Camera>(record.activeCamera).get());
    if (record.background != 0)
        world->setBackground(getRef<Background>(record.background).get());
}

core::Ref<Object3D> M3G_Loader::parseWorld()
{
    return parseRecords<M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Group, M3G_World>(VORNIC3D_NEW World());
}

} // namespace render
