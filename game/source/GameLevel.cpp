#include "GameLevel.h"

#include "FileFailure.h"
#include "GameGlobals.h"
#include "GameObject.h"
#include "LevelTiles.h"
#include "LoggedText.h"
#include "MediaPath.h"
#include "SpriteAtlas.h"

#include "core/Debug.h"
#include "core/MemoryManagerException.h"
#include "core/Vector.h"
#include "core/Vornic3DException.h"
#include "hal/HALException.h"
#include "render/Appearance.h"
#include "render/CompositingMode.h"
#include "render/Image2D.h"
#include "render/Loader.h"
#include "render/Material.h"
#include "render/Sprite3D.h"
#include "render/Transform.h"

namespace game {

namespace {

constexpr int kGeomMapCapacity = 256;
constexpr float kGeomMapLoadFactor = 0.9f;

// Where the player waits until play puts it at its start.
constexpr float kPlayerAside = -1000.0f;

std::intptr_t geomKey(dGeomID geom)
{
    return reinterpret_cast<std::intptr_t>(geom);
}

} // namespace

// ---- life cycle -----------------------------------------------------------------------

GameLevel::GameLevel(int levelIndex)
    : m_name(""), m_levelIndex(levelIndex), m_geomToObject(kGeomMapCapacity, kGeomMapLoadFactor)
{
    VORNIC3D_CHECK(GameGlobals::getInstance() != nullptr);
}

GameLevel::~GameLevel()
{
    VORNIC3D_CHECK(GameGlobals::getInstance() != nullptr);
}

// ---- the geom map -------------------------------------------------------------------

void GameLevel::mapGeom(dGeomID geom, GameObject* object)
{
    VORNIC3D_CHECK(geom != nullptr);
    if (!m_geomToObject.put(geomKey(geom), object))
        VORNIC3D_CHECK(m_geomToObject.replace(geomKey(geom), object));
}

GameObject* GameLevel::findObject(dGeomID geom) const
{
    const auto* node = m_geomToObject.findNode(geomKey(geom));
    return node != nullptr ? node->value : nullptr;
}

// ---- loading ------------------------------------------------------------------------------

void GameLevel::load(const core::String& path, const core::String& name)
{
    GameGlobals& g = GameGlobals::get();
    VORNIC3D_CHECK(g.m_ode != nullptr);
    m_name = name;
    g.m_objects.setSize(0);
    loadImage(path);
    addFixedObjects();
    for (int x = 0; x < m_image->getWidth(); ++x)
        for (int y = 0; y < m_image->getHeight(); ++y)
            addTile(codeAt(x, y), x, y);
    // The sprite's texture is made from the finished atlas.
    m_sprite->setImage(m_atlas.get());
}

void GameLevel::loadImage(const core::String& path)
{
    // Kept only once it has passed the checks: a failed load keeps no image.
    m_image = nullptr;
    core::Ref<render::Image2D> image;
    try {
        render::Loader::Objects objects;
        render::Loader::load(path, objects);
        // A file of no object fails the list's own index check; one whose
        // first object is no image leaves `image` empty, which the next line
        // refuses.
        image = dynamic_cast<render::Image2D*>(objects[0].get());
        const int bytesPerPixel = render::Image2D::getBpp(image->getFormat());
        VORNIC3D_CHECK(image->getPalette() == nullptr && bytesPerPixel >= 3);
        VORNIC3D_CHECK(image->getWidth() <= kMaxImageSize && image->getHeight() <= kMaxImageSize);
    } catch (const HAL::HALException& e) {
        // Not there (or not readable): saying it is no level image would
        // send the player looking at a file that is fine. The file layer's
        // exception goes on, naming the file.
        core::Debug::printf(core::Debug::LEVEL_ERROR, "GameLevel: can not open the level image %s: %.*s\n",
                            loggedPath(path.c_str()), kLoggedReasonLength, e.reason());
        throw;
    } catch (const core::MemoryManagerException&) {
        // A full pool is no bad level image: it passes on as it is.
        throw;
    } catch (const Vornic3DException&) {
        // The loader's refusal, no image in the file, or one of the wrong kind.
        core::Debug::printf(core::Debug::LEVEL_ERROR, "GameLevel: %s is not a level image of at most 32 x 32 pixels\n",
                            loggedPath(path.c_str()));
        GAME_FAIL_ON_FILE(path.c_str());
    }
    m_image = image;
}

void GameLevel::addFixedObjects()
{
    GameGlobals& g = GameGlobals::get();
    struct Fixed {
        int type;
        TileKind::Cell picture;
        int flags;
    };
    // In the order of their slots: the player, the indicator arrow, the HUD
    // band and the steering marker.
    const Fixed fixed[] = {
        {GameObject::TYPE_PLAYER, {0, 0, 32, 32}, GameObject::OBJ_PULSE | GameObject::OBJ_CREATURE},
        {GameObject::TYPE_ARROW, {96, 0, 32, 32}, GameObject::OBJ_NO_PHYSICS},
        {GameObject::TYPE_HUD_BAND, {0, 64, 256, 32}, GameObject::OBJ_NO_PHYSICS},
        {GameObject::TYPE_MARKER, {96, 32, 32, 32}, GameObject::OBJ_NO_PHYSICS},
    };
    for (const Fixed& f : fixed) {
        const TileKind::Cell& cell = f.picture;
        core::Ref<GameObject> object = createGameObject(f.type, cell.x, cell.y, f.flags, cell.width, cell.height);
        g.m_objects.pushBack(object);
        object->setActive(true);
        if (f.type == GameObject::TYPE_PLAYER)
            object->setPosition(kPlayerAside, kPlayerAside, kPlayerAside);
    }
    VORNIC3D_CHECK(g.m_objects.m_size == GameGlobals::kFirstTileSlot);
}

int GameLevel::codeAt(int x, int y) const
{
    const int width = m_image->getWidth();
    if (x < 0 || y < 0 || x >= width || y >= m_image->getHeight())
        return TILE_EMPTY;
    // The image's own stride: an RGBA level has four bytes a pixel.
    const int bytesPerPixel = render::Image2D::getBpp(m_image->getFormat());
    return m_image->getPixels()[bytesPerPixel * (y * width + x)];
}

void GameLevel::addTile(int code, int x, int y)
{
    if (code > kLastTileCode) {
        core::Debug::printf(core::Debug::LEVEL_ERROR, "GameLevel: unknown tile code %d at (%d, %d)\n", code, x, y);
        VORNIC3D_CHECK(false);
    }
    const float centreX = static_cast<float>(kCellSize * x);
    const float centreY = static_cast<float>(-kCellSize * y);
    if (code == TILE_START) {
        m_startPosition = slmath::vec3(centreX, centreY, 0.0f);
        GameGlobals::get().m_objects[GameGlobals::kPlayerSlot]->setPosition(centreX, centreY, 0.0f);
        return;
    }
    const TileKind& kind = tileKind(code);
    if (!kind.makesObject)
        return;
    TileKind::Cell picture = kind.picture;
    int flags = kind.flags;
    if (code == TILE_BLOCK)
        picture = blockPicture(codeAt(x - 1, y), codeAt(x + 1, y), codeAt(x, y - 1), codeAt(x, y + 1));
    else if (code == TILE_THIN_PLATFORM)
        picture = thinPlatformPicture(codeAt(x - 1, y), codeAt(x + 1, y));
    else if (code == TILE_BARRIER)
        flags = barrierFlags(codeAt(x, y - 1), codeAt(x, y + 1));
    if (code == TILE_STAR) {
        ++m_starsLeft;
        ++m_starsTotal;
    }
    // The pictures the object changes to while playing go into the atlas
    // first; their objects are dropped at once.
    for (int i = 0; i < kind.extraCount; ++i) {
        const TileKind::Cell& extra = kind.extra[i];
        createGameObject(kind.type, extra.x, extra.y, flags, extra.width, extra.height);
    }

    render::Transform place;
    place.postTranslate(centreX, centreY, 0.0f);
    if (kind.atX != 0.0f || kind.atY != 0.0f)
        place.postTranslate(kind.atX, kind.atY, 0.0f);
    if (kind.turn != 0.0f)
        place.postRotate(kind.turn, 0.0f, 0.0f, 1.0f);
    core::Ref<GameObject> object =
        createGameObject(kind.type, picture.x, picture.y, flags, picture.width, picture.height);
    GameGlobals::get().m_objects.pushBack(object);
    object->setTransform(place);
    object->setActive(false);
}

// ---- objects and their pictures ---------------------------------------------------------

void GameLevel::setSheet(render::Image2D* sheet)
{
    VORNIC3D_CHECK(sheet != nullptr && m_sprite == nullptr);
    checkSpriteSheet(*sheet);
    m_sheet = sheet;
}

core::Ref<GameObject> GameLevel::createGameObject(int type, int cellX, int cellY, int flags, int width, int height)
{
    if (m_sprite == nullptr) {
        if (m_sheet == nullptr)
            setSheet(loadMediaImage("sprites.png").get());
        m_atlas = createAtlas(*m_sheet);

        m_appearance = VORNIC3D_NEW render::Appearance();
        core::Ref<render::Material> material = VORNIC3D_NEW render::Material();
        material->setColor(render::Material::DIFFUSE, 0xFFFFFFFFu);
        material->setColor(render::Material::AMBIENT, 0x00FFFFFFu);
        core::Ref<render::CompositingMode> compositing = VORNIC3D_NEW render::CompositingMode();
        compositing->setBlending(render::CompositingMode::ALPHA);
        compositing->setDepthTestEnable(true);
        compositing->setDepthWriteEnable(true);
        m_appearance->setMaterial(material.get());
        m_appearance->setCompositingMode(compositing.get());

        m_sprite = VORNIC3D_NEW render::Sprite3D(false, m_atlas.get(), m_appearance.get());
        VORNIC3D_CHECK(m_sprite != nullptr);
    }
    copyCellToAtlas(*m_sheet, *m_atlas, cellX, cellY, width, height);
    core::Ref<GameObject> object =
        VORNIC3D_NEW GameObject(type, m_sprite.get(), m_sprite.get(), cellX, cellY, width, height, flags);
    VORNIC3D_CHECK(object != nullptr);
    return object;
}

} // namespace game
