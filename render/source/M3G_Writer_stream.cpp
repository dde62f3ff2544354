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
    static_assert(static_cast<int>(M3G_ObjectType::WORLD) + 1 == kObjectTypeCount, "a row for every object type");
    // The header has no writer.
    const int row = static_cast<int>(type);
    VORNIC3D_CHECK(type != M3G_ObjectType::HEADER && row < kObjectTypeCount);
    const SaveFunction save = kObjectTypes[row].save;
    (this->*save)(object);
}

// ---- primitives -------------------------------------------------------------------
//
// core::DataIO stores at its position and checks the bytes left (and a
// float's finiteness) before it stores anything.

void M3G_Loader::writeByte(unsigned char value)
{
    m_sectionStream->setStreamData(value);
}

void M3G_Loader::writeBoolean(bool value)
{
    writeByte(value ? 1 : 0);
}

void M3G_Loader::writeInt16(std::int16_t value)
{
    m_sectionStream->setStreamData(value);
}

void M3G_Loader::writeUInt16(std::uint16_t value)
{
    m_sectionStream->setStreamData(value);
}

void M3G_Loader::writeInt32(std::int32_t value)
{
    m_sectionStream->setStreamData(value);
}

void M3G_Loader::writeUInt32(std::uint32_t value)
{
    m_sectionStream->setStreamData(value);
}

void M3G_Loader::writeFloat32(float value)
{
    m_sectionStream->setStreamData(value);
}

void M3G_Loader::writeFloats(const float* values, int count)
{
    for (int i = 0; i < count; ++i)
        writeFloat32(values[i]);
}

void M3G_Loader::writeArray(const core::Vector<unsigned char>& values)
{
    writeUInt32(static_cast<std::uint32_t>(values.m_size));
    for (int i = 0; i < values.m_size; ++i)
        writeByte(values.m_data[i]);
}

void M3G_Loader::writeArray(const core::Vector<std::uint16_t>& values)
{
    writeUInt32(static_cast<std::uint32_t>(values.m_size));
    for (int i = 0; i < values.m_size; ++i)
        writeUInt16(values.m_data[i]);
}

void M3G_Loader::writeArray(const core::Vector<std::uint32_t>& values)
{
    writeUInt32(static_cast<std::uint32_t>(values.m_size));
    for (int i = 0; i < values.m_size; ++i)
        writeUInt32(values.m_data[i]);
}

void M3G_Loader::writeColor(const unsigned char* channels, int count)
{
    for (int i = 0; i < count; ++i)
        writeByte(channels[i]);
}

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
