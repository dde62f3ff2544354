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

namespace {

constexpr int kByteLimit = 255;

} // namespace

// ---- Camera ---------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Camera& record, Camera* camera)
{
    VORNIC3D_CHECK(camera != nullptr);
    float parameters[4] = {};
    const int type = camera->getProjectionParameters(parameters);
    // Any other type (the box of a screen camera) has no record: the check
    // refuses it.
    record.projectionType = static_cast<unsigned char>(type);
    if (type == Camera::GENERIC) {
        Transform projection;
        camera->getProjection(&projection);
        projection.get(record.projectionMatrix);
    } else if (type == Camera::PARALLEL || type == Camera::PERSPECTIVE) {
        record.fovy = parameters[0];
        record.aspectRatio = parameters[1];
        record.nearDistance = parameters[2];
        record.farDistance = parameters[3];
    }
}

void M3G_Loader::saveCamera(Object3D* object)
{
    Camera* camera = savedAs<Camera>(object);
    saveObject3DPart(camera);
    saveTransformablePart(camera);
    saveNodePart(camera);
    M3G_Camera record;
    setToStruct(record, camera);
    validateCamera(record);
    writeByte(record.projectionType);
    if (record.projectionType == Camera::GENERIC) {
        writeFloats(record.projectionMatrix, 16);
    } else {
        writeFloat32(record.fovy);
        writeFloat32(record.aspectRatio);
        writeFloat32(record.nearDistance);
        writeFloat32(record.farDistance);
    }
}

// ---- Light ----------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Light& record, Light* light)
{
    VORNIC3D_CHECK(light != nullptr);
    if (light->getMode() > kByteLimit)
        parseError("Too big mode in Light!");
    record.attenuationConstant = light->getConstantAttenuation();
    record.attenuationLinear = light->getLinearAttenuation();
    record.attenuationQuadratic = light->getQuadraticAttenuation();
    unpackRGB(light->getColor(), record.color);
    record.mode = static_cast<unsigned char>(light->getMode());
    record.intensity = light->getIntensity();
    record.spotAngle = light->getSpotAngle();
    record.spotExponent = light->getSpotExponent();
}

void M3G_Loader::saveLight(Object3D* object)
{
    Light* light = savedAs<Light>(object);
    saveObject3DPart(light);
    saveTransformablePart(light);
    saveNodePart(light);
    M3G_Light record;
    setToStruct(record, light);
    validateLight(record);
    writeFloat32(record.attenuationConstant);
    writeFloat32(record.attenuationLinear);
    writeFloat32(record.attenuationQuadratic);
    writeColor(record.color, 3);
    writeByte(record.mode);
    writeFloat32(record.intensity);
    writeFloat32(record.spotAngle);
    writeFloat32(record.spotExponent);
}

// ---- Fog ------------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Fog& record, Fog* fog)
{
    VORNIC3D_CHECK(fog != nullptr);
    unpackRGB(fog->getColor(), record.color);
    record.mode = static_cast<unsigned char>(fog->getMode());
    if (record.mode == Fog::LINEAR) {
        record.nearDistance = fog->getNearDistance();
        record.farDistance = fog->getFarDistance();
    } else {
        record.density = fog->getDensity();
    }
}

void M3G_Loader::saveFog(Object3D* object)
{
    Fog* fog = savedAs<Fog>(object);
    saveObject3DPart(fog);
    M3G_Fog record;
    setToStruct(record, fog);
    validateFog(record);
    writeColor(record.color, 3);
    writeByte(record.mode);
    if (record.mode == Fog::LINEAR) {
        writeFloat32(record.nearDistance);
        writeFloat32(record.farDistance);
    } else {
        writeFloat32(record.density);
    }
}

// ---- Background -----------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_Background& record, Background* background)
{
    VORNIC3D_CHECK(background != nullptr);
    if (background->getImageModeX() > kByteLimit)
        parseError("Too big Image mode X in Background!");
    if (background->getImageModeY() > kByteLimit)
        parseError("Too big Image mode Y in Background!");
    unpackARGB(background->getColor(), record.backgroundColor);
    record.backgroundImage = getObjectIndex(background->getImage());
    record.backgroundImageModeX = static_cast<unsigned char>(background->getImageModeX());
    record.backgroundImageModeY = static_cast<unsigned char>(background->getImageModeY());
    record.cropX = background->getCropX();
    record.cropY = background->getCropY();
    record.cropWidth = background->getCropWidth();
    record.cropHeight = background->getCropHeight();
    record.depthClearEnabled = background->isDepthClearEnabled();
    record.colorClearEnabled = background->isColorClearEnabled();
}

void M3G_Loader::saveBackground(Object3D* object)
{
    Background* background = savedAs<Background>(object);
    saveObject3DPart(background);
    M3G_Background record;
    setToStruct(record, background);
    validateBackground(record);
    writeColor(record.backgroundColor, 4);
    writeUInt32(record.backgroundImage);
    writeByte(record.backgroundImageModeX);
    writeByte(record.backgroundImageModeY);
    writeInt32(record.cropX);
    writeInt32(record.cropY);
    writeInt32(record.cropWidth);
    writeInt32(record.cropHeight);
    writeBoolean(record.depthClearEnabled);
    writeBoolean(record.colorClearEnabled);
}

// ---- World ----------------------------------------------------------------------------

void M3G_Loader::setToStruct(M3G_World& record, World* world)
{
    VORNIC3D_CHECK(world != nullptr);
    record.activeCamera = getObjectIndex(world->getActiveCamera());
    record.background = getObjectIndex(world->getBackground());
}

void M3G_Loader::saveWorld(Object3D* object)
{
    World* world = savedAs<World>(object);
    saveObject3DPart(world);
    saveTransformablePart(world);
    saveNodePart(world);
    saveGroupPart(world);
    M3G_World record;
    setToStruct(record, world);
    writeUInt32(record.activeCamera);
    writeUInt32(record.background);
}

} // namespace render
