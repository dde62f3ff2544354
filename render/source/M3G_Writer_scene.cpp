// Writing cameras, lights, fogs, backgrounds and worlds.
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
    saveRecords<M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Camera>(savedAs<Camera>(object));
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
    saveRecords<M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Light>(savedAs<Light>(object));
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
    saveRecords<M3G_Object3D, M3G_Fog>(savedAs<Fog>(object));
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
    saveRecords<M3G_Object3D, M3G_Background>(savedAs<Background>(object));
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
    saveRecords<M3G_Object3D, M3G_Transformable, M3G_Node, M3G_Group, M3G_World>(savedAs<World>(object));
}

} // namespace render
