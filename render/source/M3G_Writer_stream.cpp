// What a file writer drives, and the colours and references that fill a record.
#include "render/M3G_Loader.h"

#include "core/Assert.h"
#include "core/String.h"
#include "render/Loader_helpers.h"

#include <cstdint>

namespace render {

// ---- what a file writer drives ----------------------------------------------------

void M3G_Loader::setSectionStream(core::DataIO* stream)
{
    m_sectionStream = stream;
}

void M3G_Loader::addToIndexTable(Object3D* object)
{
    m_objectIndex.pushBack(core::Ref<Object3D>(object));
    m_objectReferenced.pushBack(false);
}

void M3G_Loader::saveObject(M3G_ObjectType type, Object3D* object)
{
    // The header has no writer.
    const int row = static_cast<int>(type);
    VORNIC3D_CHECK(type != M3G_ObjectType::HEADER && row < kObjectTypeCount);
    const SaveFunction save = kObjectTypes[row].save;
    (this->*save)(object);
}

// ---- colours --------------------------------------------------------------------

void M3G_Loader::unpackRGB(unsigned int rgb, unsigned char* channels)
{
    channels[0] = static_cast<unsigned char>(rgb >> 16);
    channels[1] = static_cast<unsigned char>(rgb >> 8);
    channels[2] = static_cast<unsigned char>(rgb);
}

void M3G_Loader::unpackARGB(unsigned int argb, unsigned char* channels)
{
    unpackRGB(argb, channels);
    channels[3] = static_cast<unsigned char>(argb >> 24);
}

// ---- references -------------------------------------------------------------------

std::uint32_t M3G_Loader::getObjectIndex(const Object3D* object) const
{
    // Identity, not equality: position 0 holds null, so a missing reference
    // is found there.
    for (int i = 0; i < m_objectIndex.m_size; ++i) {
        if (m_objectIndex[i].get() == object)
            return static_cast<std::uint32_t>(i);
    }
    // %X takes 32 bits: the pointer's low half names it well enough here.
    core::String message("");
    message.format("Object reference 0x%X not yet added to index table.",
                   static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(object)));
    parseError(message.c_str());
}

} // namespace render
