#pragma once

#include "Bytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// Builds M3G scene files for the reader's tests and the fuzz seeds: the
// identifier, the header section, sections stored or compressed by zlib,
// objects and their records, with every length and checksum computed (the
// checksums by zlib's adler32). A broken file is made by overriding one
// computed value. Needs no engine: the fuzz harnesses frame their inputs
// with it too.

// The little-endian fields of one record, appended in the order of the calls.
class M3GRecord {
public:
    M3GRecord& u8(unsigned value);
    M3GRecord& u16(unsigned value) { return u8(value & 0xFF).u8((value >> 8) & 0xFF); }
    M3GRecord& u32(std::uint32_t value) { return u16(value & 0xFFFF).u16(value >> 16); }
    M3GRecord& f32(float value);
    // Each value as f32.
    M3GRecord& f32s(const std::vector<float>& values);
    // The bytes of `text`, then a NUL.
    M3GRecord& text(const std::string& text) { return bytes(Bytes(text.begin(), text.end())).u8(0); }
    M3GRecord& bytes(const Bytes& bytes);
    // A counted array of 32-bit values (object indices, for one).
    M3GRecord& u32Array(const std::vector<std::uint32_t>& values);

    operator const Bytes&() const { return m_bytes; }

private:
    Bytes m_bytes;
};

extern const Bytes kM3GIdentifier;

// The parts one after the other.
Bytes joined(const std::vector<Bytes>& parts);
constexpr int kExternalReferenceType = 255;

// One object: its type, the length of its record and the record.
Bytes m3gObject(int type, const Bytes& record);

// The zlib stream that a compressed section stores for `objects`.
Bytes m3gDeflate(const Bytes& objects);

struct M3GSection {
    M3GSection() = default;
    explicit M3GSection(Bytes objects_, int scheme_ = 0) : scheme(scheme_), objects(std::move(objects_)) {}

    int scheme = 0; // 1: the objects compressed by zlib
    Bytes objects;
    // Computed unless given.
    std::optional<Bytes> stored;
    std::optional<std::uint32_t> totalLength;
    std::optional<std::uint32_t> uncompressedLength;
    std::optional<std::uint32_t> checksum;
};
Bytes m3gSection(const M3GSection& section);
Bytes m3gSection(const Bytes& objects, int scheme = 0);

struct M3GHeader {
    explicit M3GHeader(unsigned major = 1, unsigned minor = 0, unsigned externalReferences = 0)
        : versionMajor(major), versionMinor(minor), hasExternalReferences(externalReferences)
    {
    }

    unsigned versionMajor;
    unsigned versionMinor;
    unsigned hasExternalReferences; // the byte as written
    // Both the file's own size unless given.
    std::optional<std::uint32_t> totalFileSize;
    std::optional<std::uint32_t> approximateContentSize;
    std::string authoring;
};
// The header object's record for a file of `fileSize` bytes.
Bytes m3gHeaderRecord(const M3GHeader& header, std::uint32_t fileSize);

// The identifier, the header section, then `sections` as given.
Bytes m3gFile(const M3GHeader& header, const std::vector<Bytes>& sections);
// A file of one section holding `objects`.
Bytes m3gFile(const Bytes& objects, int scheme = 0);
// A file whose external-reference section names `uris`, then `sections`.
Bytes m3gFileWithReferences(const std::vector<std::string>& uris, const std::vector<Bytes>& sections = {});

// ---- base records ----------------------------------------------------------------

Bytes object3DRecord(std::uint32_t userID = 0, const std::vector<std::uint32_t>& animationTracks = {});
// Neither a component nor a general transform.
Bytes transformableRecord();
// Rendered, pickable, alpha 255, every scope bit, no alignment.
Bytes nodeRecord();
// A whole Group object (type 9) with those children and default base records.
Bytes groupObject(const std::vector<std::uint32_t>& children = {}, std::uint32_t userID = 0);

// ---- objects of every class ----------------------------------------------------------

// One object of `type` (1..22): the default base records its class has
// (Object3D, then Transformable, Node and a Group without children as far
// as the class derives from them), then the class's own `record`.
Bytes sceneObject(int type, const Bytes& record, std::uint32_t userID = 0);
// A VertexArray (type 20) of components of 1 or 2 bytes, vertex by vertex.
Bytes vertexArrayObject(int componentCount, const std::vector<int>& values, int componentSize = 2, int encoding = 0);
// A VertexBuffer (type 21) of opaque white with unscaled positions and
// those arrays (0 for none), one texture unit per entry of `texCoords`.
Bytes vertexBufferObject(std::uint32_t positions, std::uint32_t normals = 0, std::uint32_t colors = 0,
                         const std::vector<std::uint32_t>& texCoords = {});
// A TriangleStripArray (type 11) of explicit 16-bit indices.
Bytes stripsObject(const std::vector<unsigned>& indices, const std::vector<std::uint32_t>& stripLengths);
// An Appearance (type 3) with no component and no texture.
Bytes appearanceObject();
// A Mesh record of one vertex buffer and (index buffer, appearance) pairs.
Bytes meshRecord(std::uint32_t vertexBuffer, const std::vector<std::pair<std::uint32_t, std::uint32_t>>& submeshes);

} // namespace testsupport
