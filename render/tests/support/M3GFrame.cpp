#include "M3GFrame.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

namespace testsupport {

// ---- records ------------------------------------------------------------------------

M3GRecord& M3GRecord::u8(unsigned value)
{
    m_bytes.push_back(static_cast<unsigned char>(value));
    return *this;
}

M3GRecord& M3GRecord::f32(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return u32(bits);
}

M3GRecord& M3GRecord::f32s(const std::vector<float>& values)
{
    for (float value : values)
        f32(value);
    return *this;
}

M3GRecord& M3GRecord::bytes(const Bytes& bytes)
{
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

M3GRecord& M3GRecord::u32Array(const std::vector<std::uint32_t>& values)
{
    u32(static_cast<std::uint32_t>(values.size()));
    for (std::uint32_t value : values)
        u32(value);
    return *this;
}

const Bytes kM3GIdentifier = {0xAB, 0x4A, 0x53, 0x52, 0x31, 0x38, 0x34, 0xBB, 0x0D, 0x0A, 0x1A, 0x0A};

Bytes joined(const std::vector<Bytes>& parts)
{
    M3GRecord all;
    for (const Bytes& part : parts)
        all.bytes(part);
    return all;
}

Bytes m3gObject(int type, const Bytes& record)
{
    return M3GRecord().u8(static_cast<unsigned>(type)).u32(static_cast<std::uint32_t>(record.size())).bytes(record);
}

// ---- sections -----------------------------------------------------------------------

Bytes m3gDeflate(const Bytes& objects)
{
    uLongf size = compressBound(static_cast<uLong>(objects.size()));
    Bytes out(size);
    // Test content is small and valid: zlib cannot fail on it.
    if (compress2(out.data(), &size, objects.data(), static_cast<uLong>(objects.size()), Z_BEST_COMPRESSION) != Z_OK)
        std::abort();
    out.resize(size);
    return out;
}

Bytes m3gSection(const M3GSection& section)
{
    const Bytes stored = section.stored        ? *section.stored
                         : section.scheme == 1 ? m3gDeflate(section.objects)
                                               : section.objects;
    M3GRecord bytes;
    bytes.u8(static_cast<unsigned>(section.scheme))
        .u32(section.totalLength.value_or(static_cast<std::uint32_t>(stored.size() + 13)))
        .u32(section.uncompressedLength.value_or(static_cast<std::uint32_t>(section.objects.size())))
        .bytes(stored);
    const Bytes& framed = bytes;
    const auto adler = adler32(adler32(0, nullptr, 0), framed.data(), static_cast<uInt>(framed.size()));
    return bytes.u32(section.checksum.value_or(static_cast<std::uint32_t>(adler)));
}

Bytes m3gSection(const Bytes& objects, int scheme)
{
    return m3gSection(M3GSection(objects, scheme));
}

// ---- files --------------------------------------------------------------------------

Bytes m3gHeaderRecord(const M3GHeader& header, std::uint32_t fileSize)
{
    const std::uint32_t total = header.totalFileSize.value_or(fileSize);
    return M3GRecord()
        .u8(header.versionMajor)
        .u8(header.versionMinor)
        .u8(header.hasExternalReferences)
        .u32(total)
        .u32(header.approximateContentSize.value_or(total))
        .text(header.authoring);
}

Bytes m3gFile(const M3GHeader& header, const std::vector<Bytes>& sections)
{
    // The header record's length does not depend on the sizes it holds. Its
    // section adds 9 bytes of section header, 5 of object type and length
    // and 4 of checksum.
    std::size_t size = kM3GIdentifier.size() + 18 + m3gHeaderRecord(header, 0).size();
    for (const Bytes& section : sections)
        size += section.size();
    const Bytes headerSection = m3gSection(m3gObject(0, m3gHeaderRecord(header, static_cast<std::uint32_t>(size))));
    return M3GRecord().bytes(kM3GIdentifier).bytes(headerSection).bytes(joined(sections));
}

Bytes m3gFile(const Bytes& objects, int scheme)
{
    return m3gFile(M3GHeader(), {m3gSection(objects, scheme)});
}

Bytes m3gFileWithReferences(const std::vector<std::string>& uris, const std::vector<Bytes>& sections)
{
    M3GRecord references;
    for (const std::string& uri : uris)
        references.bytes(m3gObject(kExternalReferenceType, M3GRecord().text(uri)));
    std::vector<Bytes> all = {m3gSection(references)};
    all.insert(all.end(), sections.begin(), sections.end());
    return m3gFile(M3GHeader(1, 0, 1), all);
}

// ---- base records -------------------------------------------------------------------

Bytes object3DRecord(std::uint32_t userID, const std::vector<std::uint32_t>& animationTracks)
{
    return M3GRecord().u32(userID).u32Array(animationTracks).u32(0);
}

Bytes transformableRecord()
{
    return M3GRecord().u8(0).u8(0);
}

Bytes nodeRecord()
{
    return M3GRecord().u8(1).u8(1).u8(255).u32(0xFFFFFFFFu).u8(0);
}

Bytes groupObject(const std::vector<std::uint32_t>& children, std::uint32_t userID)
{
    return m3gObject(
        9, joined({object3DRecord(userID), transformableRecord(), nodeRecord(), M3GRecord().u32Array(children)}));
}

// ---- objects of every class ----------------------------------------------------------

Bytes sceneObject(int type, const Bytes& record, std::uint32_t userID)
{
    // Cameras (5), groups, lights (12), the three meshes, textures and worlds.
    const bool transformable = type == 5 || type == 9 || type == 12 || (type >= 14 && type <= 17) || type == 22;
    M3GRecord all;
    all.bytes(object3DRecord(userID));
    if (transformable)
        all.bytes(transformableRecord());
    if (transformable && type != 17)
        all.bytes(nodeRecord());
    if (type == 9 || type == 22)
        all.u32Array({});
    return m3gObject(type, all.bytes(record));
}

Bytes vertexArrayObject(int componentCount, const std::vector<int>& values, int componentSize, int encoding)
{
    M3GRecord record;
    record.u8(static_cast<unsigned>(componentSize)).u8(static_cast<unsigned>(componentCount));
    record.u8(static_cast<unsigned>(encoding)).u16(static_cast<unsigned>(values.size() / componentCount));
    for (int value : values)
        componentSize == 1 ? record.u8(static_cast<unsigned>(value)) : record.u16(static_cast<unsigned>(value));
    return sceneObject(20, record);
}

Bytes vertexBufferObject(std::uint32_t positions, std::uint32_t normals, std::uint32_t colors,
                         const std::vector<std::uint32_t>& texCoords)
{
    M3GRecord record;
    record.u8(255).u8(255).u8(255).u8(255).u32(positions).f32(0).f32(0).f32(0).f32(1).u32(normals).u32(colors);
    record.u32(static_cast<std::uint32_t>(texCoords.size()));
    for (std::uint32_t array : texCoords)
        record.u32(array).f32(0).f32(0).f32(0).f32(1);
    return sceneObject(21, record);
}

Bytes stripsObject(const std::vector<unsigned>& indices, const std::vector<std::uint32_t>& stripLengths)
{
    M3GRecord record;
    record.u8(130).u32(static_cast<std::uint32_t>(indices.size()));
    for (unsigned index : indices)
        record.u16(index);
    return sceneObject(11, record.u32Array(stripLengths));
}

Bytes appearanceObject()
{
    return sceneObject(3, M3GRecord().u8(0).u32(0).u32(0).u32(0).u32(0).u32Array({}));
}

Bytes meshRecord(std::uint32_t vertexBuffer, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& submeshes)
{
    M3GRecord record;
    record.u32(vertexBuffer).u32(static_cast<std::uint32_t>(submeshes.size()));
    for (const auto& [indexBuffer, appearance] : submeshes)
        record.u32(indexBuffer).u32(appearance);
    return record;
}

} // namespace testsupport
