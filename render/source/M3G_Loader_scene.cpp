#include "render/M3G_Loader.h"

#include "core/Assert.h"
#include "render/Background.h"
#include "render/Camera.h"
#include "render/Fog.h"
#include "render/Image2D.h"
#include "render/Light.h"
#include "render/Loader_helpers.h"
#include "render/M3G_Records.h"
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
    default:
        camera->setPerspective(record.fovy, record.aspectRatio, record.nearDistance, record.farDistance);
        break;
    }
}

void M3G_Loader::validateCamera(const M3G_Camera& record)
{
    const int type = record.projectionType;
    if (type != Camera::GENERIC && type != Camera::PARALLEL && type != Camera::PERSPECTIVE)
        parseError("Camera projection type not correct.");
}

core::Ref<Object3D> M3G_Loader::parseCamera()
{
    core::Ref<Camera> camera = VORNIC3D_NEW Camera();
    parseObject3DPart(camera.get());
    parseTransformablePart(camera.get());
    parseNodePart(camera.get());
    core::DataIO& stream = *m_sectionStream;
    M3G_Camera record;
    stream.getStreamData(record.projectionType);
    // The type decides what follows, so a bad one ends the read.
    validateCamera(record);
    if (record.projectionType == Camera::GENERIC) {
        for (float& value : record.projectionMatrix)
            value = readFloat32(stream);
    } else {
        record.fovy = readFloat32(stream);
        record.aspectRatio = readFloat32(stream);
        record.nearDistance = readFloat32(stream);
        record.farDistance = readFloat32(stream);
    }
    setToClass(camera.get(), record);
    return core::Ref<Object3D>(camera);
}

// ---- Light ----------------------------------------------------------------------------

void M3G_Loader::readLight(M3G_Light& record, core::DataIO& stream)
{
    record.attenuationConstant = readFloat32(stream);
    record.attenuationLinear = readFloat32(stream);
    record.attenuationQuadratic = readFloat32(stream);
    readColor(stream, record.color, 3);
    stream.getStreamData(record.mode);
    record.intensity = readFloat32(stream);
    record.spotAngle = readFloat32(stream);
    record.spotExponent = readFloat32(stream);
}

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

void M3G_Loader::validateLight(const M3G_Light& record)
{
    if (record.mode < Light::AMBIENT || record.mode > Light::SPOT)
        parseError("The Light mode field does not hold a valid enumerated value, as specified in the class "
                   "definition.");
}

core::Ref<Object3D> M3G_Loader::parseLight()
{
    core::Ref<Light> light = VORNIC3D_NEW Light();
    parseObject3DPart(light.get());
    parseTransformablePart(light.get());
    parseNodePart(light.get());
    M3G_Light record;
    readLight(record, *m_sectionStream);
    validateLight(record);
    setToClass(light.get(), record);
    return core::Ref<Object3D>(light);
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

void M3G_Loader::validateFog(const M3G_Fog& record)
{
    if (record.mode != Fog::EXPONENTIAL && record.mode != Fog::LINEAR)
        parseError("Fog mode must be render::Fog::EXPONENTIAL or render::Fog::LINEAR.");
    if (record.mode == Fog::EXPONENTIAL && record.density <= 0.0f)
        parseError("Exponential fog density not greater than zero.");
}

core::Ref<Object3D> M3G_Loader::parseFog()
{
    core::Ref<Fog> fog = VORNIC3D_NEW Fog();
    parseObject3DPart(fog.get());
    core::DataIO& stream = *m_sectionStream;
    M3G_Fog record;
    readColor(stream, record.color, 3);
    stream.getStreamData(record.mode);
    if (record.mode == Fog::LINEAR) {
        record.nearDistance = readFloat32(stream);
        record.farDistance = readFloat32(stream);
    } else if (record.mode == Fog::EXPONENTIAL) {
        record.density = readFloat32(stream);
    }
    validateFog(record);
    setToClass(fog.get(), record);
    return core::Ref<Object3D>(fog);
}

// ---- Background -----------------------------------------------------------------------

void M3G_Loader::readBackground(M3G_Background& record, core::DataIO& stream)
{
    readColor(stream, record.backgroundColor, 4);
    stream.getStreamData(record.backgroundImage);
    stream.getStreamData(record.backgroundImageModeX);
    stream.getStreamData(record.backgroundImageModeY);
    stream.getStreamData(record.cropX);
    stream.getStreamData(record.cropY);
    stream.getStreamData(record.cropWidth);
    stream.getStreamData(record.cropHeight);
    record.depthClearEnabled = readBoolean(stream);
    record.colorClearEnabled = readBoolean(stream);
}

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

void M3G_Loader::validateBackground(const M3G_Background& record)
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
    core::Ref<Background> background = VORNIC3D_NEW Background();
    parseObject3DPart(background.get());
    M3G_Background record;
    readBackground(record, *m_sectionStream);
    validateBackground(record);
    setToClass(background.get(), record);
    return core::Ref<Object3D>(background);
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
    core::Ref<World> world = VORNIC3D_NEW World();
    parseObject3DPart(world.get());
    parseTransformablePart(world.get());
    parseNodePart(world.get());
    parseGroupPart(world.get());
    M3G_World record;
    m_sectionStream->getStreamData(record.activeCamera);
    m_sectionStream->getStreamData(record.background);
    setToClass(world.get(), record);
    return core::Ref<Object3D>(world);
}

} // namespace render
