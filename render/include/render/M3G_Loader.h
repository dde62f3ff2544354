#pragma once

#include "core/DataIO.h"
#include "core/Object.h"
#include "core/Ref.h"
#include "core/Vector.h"
#include "render/M3G_ObjectType.h"
#include "render/Object3D.h"

#include <cstdint>

namespace HAL {
class File;
}

namespace render {

class AnimationController;
class AnimationTrack;
class Appearance;
class Background;
class Camera;
class CompositingMode;
class Fog;
class Group;
class Image2D;
class KeyframeSequence;
class Light;
class Material;
class Mesh;
class MorphingMesh;
class Node;
class PolygonMode;
class SkinnedMesh;
class Texture2D;
class Transformable;
class TriangleStripArray;
class VertexArray;
class VertexBuffer;
class World;
struct M3G_AnimationController;
struct M3G_AnimationTrack;
struct M3G_Appearance;
struct M3G_Background;
struct M3G_Camera;
struct M3G_CompositingMode;
struct M3G_Fog;
struct M3G_Group;
struct M3G_Image2D;
struct M3G_KeyframeSequence;
struct M3G_Light;
struct M3G_Material;
struct M3G_Mesh;
struct M3G_MorphingMesh;
struct M3G_Node;
struct M3G_Object3D;
struct M3G_PolygonMode;
struct M3G_SkinnedMesh;
struct M3G_Texture2D;
struct M3G_Transformable;
struct M3G_TriangleStripArray;
struct M3G_VertexArray;
struct M3G_VertexBuffer;
struct M3G_World;

// The reader of M3G scene files, reached through render::Loader when content
// starts with the 12-byte M3G file identifier: sections (stored or zlib
// compressed, each with its Adler-32), the header, the external references
// (loaded back through render::Loader) and the objects, each read by the
// parse function its type names in the object-type table.
// Contract: the front end builds one on its stack for each load and destroys
// it when the load ends, also when it threw. Every malformed file is refused
// with core::IOException; a value that passes the reader's checks but that
// a scene-graph setter or constructor refuses ends the load with that
// setter's own exception, so a caller can tell a broken file from a value
// the engine does not take. Either way everything the load held is released;
// nothing reads outside the data, and nothing is appended to `out` unless
// the whole file was read. The result is every object that no other object
// of the file references, in file order. Objects can refer only to objects
// before them, through the index table that getRef reads. An external
// reference is loaded as written (absolute, or relative to the working
// directory), then beside the referencing file; a reader made without a
// file (content from memory) has no second place to look. Nested loads of
// external references are bounded in depth and number and refuse a file
// that is already being loaded further up, so no file can make a load run
// away. The same loader can write one object's record back in the layout it
// reads (saveObject), which nothing in the engine does.
class M3G_Loader : public core::Object {
public:
    M3G_Loader();
    // `file` may be null: a reader with no source file.
    explicit M3G_Loader(HAL::File* file);
    ~M3G_Loader() noexcept(false) override;

    // True exactly when the first 12 bytes are the M3G file identifier; reads
    // nothing beyond them. Below 12 bytes: the parse error "Too small file!".
    static bool canHandle(const unsigned char* data, int length);

    // Appends the file's root objects to `out`; `length` counts the
    // identifier, which is not read again. The caller keeps `data` alive
    // during the call. Every failure throws.
    void load(const unsigned char* data, int length, core::Vector<core::Ref<Object3D>>& out);

    // Adler-32 as zlib computes it (0 bytes give 1).
    static std::uint32_t computeChecksum(const unsigned char* data, unsigned int length);

    // Program-wide, on by default. Off, every external reference is refused
    // with a parse error before any file is looked for: for callers that
    // feed untrusted content and must keep it off the file system.
    static void setExternalReferencesEnabled(bool enabled);

    // ---- writing records (M3G_Writer_*.cpp) ----
    // Nothing in the engine writes a scene file: these let a file writer
    // write one object's record at a time, in the layout the reader reads.
    // The writer gives the stream to write into (it advances with every
    // record) and enters every object into the index table in file order,
    // null for positions 0 (nil) and 1 (the header), before it writes a
    // record that refers to it; references are written as those positions,
    // a null one as 0.
    void setSectionStream(core::DataIO* stream);
    void addToIndexTable(Object3D* object);
    // Writes the record of `object` as `type` (any but the header): the base
    // records its class has, then its own, each checked as the reader
    // checks it. An object of another class is the engine assertion "Bug
    // in save functionality. Object type mismatch.", before anything is
    // written; every other refusal is the parse error (or the stream's
    // error), and what was written stays. Animation controllers, tracks and
    // keyframe sequences, morphing and skinned meshes and sprites are never
    // written: their types always fail.
    void saveObject(M3G_ObjectType type, Object3D* object);

private:
    // The 9 bytes that open every section.
    struct SectionHeader {
        unsigned char scheme = 0;
        std::uint32_t totalLength = 0;
        std::uint32_t uncompressedLength = 0;
    };
    // The 5 bytes that open every object; the type is the file's byte, which
    // may name no type at all.
    struct ObjectHeader {
        M3G_ObjectType type = M3G_ObjectType::HEADER;
        std::uint32_t length = 0;
    };

    // ---- file structure (M3G_Loader.cpp) ----
    void parseHeaderSection(core::DataIO& stream, int length);
    void parseSection(core::DataIO& stream);
    static SectionHeader readSectionHeader(core::DataIO& stream);
    static ObjectHeader readObjectHeader(core::DataIO& stream);
    core::Ref<core::DataIO> getSectionObjectStream(const SectionHeader& header, core::DataIO& stream);
    // A compressed section's declared length, refused before its buffer is taken.
    static void checkInflatedLength(const SectionHeader& header);
    // Inflates the section into the decompression buffer, already taken.
    void inflateSection(const SectionHeader& header, const core::DataIO& stream);
    void releaseDecompressBuffer();
    // Moves past the stored object data, then compares the section's checksum.
    void checkSectionChecksum(const SectionHeader& header, core::DataIO& stream, const unsigned char* sectionStart,
                              const char* mismatch);
    void parseSectionObjects();
    void collectRoots(core::Vector<core::Ref<Object3D>>& out);

    // ---- external references (M3G_Loader_references.cpp) ----
    void parseExternalReferences(core::DataIO& stream);
    core::Ref<Object3D> loadExternalReference(const core::String& uri);

    // ---- stream primitives and references (M3G_Loader_stream.cpp) ----
    static bool readBoolean(core::DataIO& stream);
    // Moves past a NUL-terminated string and returns its length.
    static int skipString(core::DataIO& stream);
    // Red, green, blue as 0x00RRGGBB; red, green, blue, alpha as 0xAARRGGBB.
    static unsigned int packRGB(const unsigned char* rgb);
    static unsigned int packARGB(const unsigned char* rgba);
    // A level-4 line of the load's progress, and the level-3 warning that
    // does not stop the load.
    static void logProgress(const char* text);
    static void parseWarning(const char* message);
    // The object the file numbers `index`, as a T, marked as referenced.
    template <typename T>
    core::Ref<T> getRef(std::uint32_t index);

    // ---- records both ways (M3G_RecordIO.h, .cpp) ----
    // The cursors that run a record's one field list over the section
    // stream: one reads the fields, one writes them.
    class FieldReader;
    class FieldWriter;
    // Reads a record, then checks it.
    template <typename Record>
    void readRecord(Record& record);
    // Reads, checks and applies each record of an object made before them,
    // in file order; the result holds the object.
    template <typename... Records, typename Target>
    core::Ref<Object3D> parseRecords(Target* made);
    template <typename Record, typename Target>
    void parseRecord(Target* object);
    // Fills, checks and writes each record of `object`, in file order.
    template <typename... Records, typename Target>
    void saveRecords(Target* object);
    template <typename Record, typename Target>
    void saveRecord(Target* object);
    // Writes the base records of `object` and fills its own record, then
    // refuses that one with `refusal`: its writer was never tried against
    // the reader. Filling still resolves the record's references, so one
    // missing from the index table is refused as by every other writer.
    template <typename Record, typename... BaseRecords, typename Target>
    [[noreturn]] void refuseRecord(Target* object, const char* refusal);
    // What the reader refuses to read and the writer to write; most records
    // have a check of their own below, the rest nothing to refuse.
    template <typename Record>
    static void check(const Record&)
    {
    }

    // ---- base records (M3G_Loader_base.cpp) ----
    // User parameters are refused.
    static void check(const M3G_Object3D& record);
    static void check(const M3G_Node& record);
    void setToClass(Object3D* object, const M3G_Object3D& record);
    void setToClass(Transformable* object, const M3G_Transformable& record);
    void setToClass(Node* object, const M3G_Node& record);
    void setToClass(Group* object, const M3G_Group& record);
    core::Ref<Object3D> parseGroup();

    // ---- the object-type table (M3G_Loader_types.cpp) ----
    using ParseFunction = core::Ref<Object3D> (M3G_Loader::*)();
    using SaveFunction = void (M3G_Loader::*)(Object3D*);
    // One row, indexed by object type: the name the log shows, the function
    // that reads the record and makes the object, and the one that writes
    // an object's record.
    struct ObjectType {
        const char* name;
        ParseFunction parse;
        SaveFunction save;
    };
    // World is the last type.
    static constexpr int kObjectTypeCount = static_cast<int>(M3G_ObjectType::WORLD) + 1;
    static const ObjectType kObjectTypes[kObjectTypeCount];

    // ---- vertex data (M3G_Loader_vertex.cpp) ----
    static void check(const M3G_VertexArray& record);
    static void check(const M3G_TriangleStripArray& record);
    static void setToClass(VertexArray* array, M3G_VertexArray& record);
    void setToClass(VertexBuffer* buffer, const M3G_VertexBuffer& record);
    core::Ref<Object3D> parseVertexArray();
    core::Ref<Object3D> parseVertexBuffer();
    core::Ref<Object3D> parseTriangleStripArray();

    // ---- meshes (M3G_Loader_mesh.cpp) ----
    // The base records every mesh reads before its own.
    struct MeshBase;
    static void check(const M3G_Mesh& record);
    static void check(const M3G_SkinnedMesh& record);
    void readMeshBase(MeshBase& base);
    // Index buffers and appearances, then the vertex buffer, whose vertex
    // count every index must stay below.
    void resolveMeshReferences(MeshBase& base);
    void applyMeshBase(Mesh* mesh, const MeshBase& base);
    void setToClass(MorphingMesh* mesh, const M3G_MorphingMesh& record);
    void setToClass(SkinnedMesh* mesh, const M3G_SkinnedMesh& record);
    core::Ref<Object3D> parseMesh();
    core::Ref<Object3D> parseMorphingMesh();
    core::Ref<Object3D> parseSkinnedMesh();

    // ---- appearance (M3G_Loader_appearance.cpp) ----
    static void check(const M3G_Appearance& record);
    static void check(const M3G_CompositingMode& record);
    static void check(const M3G_PolygonMode& record);
    static void check(const M3G_Texture2D& record);
    static void check(const M3G_Image2D& record);
    void setToClass(Appearance* appearance, const M3G_Appearance& record);
    static void setToClass(CompositingMode* mode, const M3G_CompositingMode& record);
    static void setToClass(PolygonMode* mode, const M3G_PolygonMode& record);
    static void setToClass(Material* material, const M3G_Material& record);
    void setToClass(Texture2D* texture, const M3G_Texture2D& record);
    // The record's palette padded to every entry the image takes.
    static void fillPalette(const M3G_Image2D& record, core::Vector<unsigned char>& palette);
    core::Ref<Object3D> parseAppearance();
    core::Ref<Object3D> parseCompositingMode();
    core::Ref<Object3D> parsePolygonMode();
    core::Ref<Object3D> parseMaterial();
    core::Ref<Object3D> parseTexture2D();
    core::Ref<Object3D> parseImage2D();

    // ---- scene (M3G_Loader_scene.cpp) ----
    static void check(const M3G_Camera& record);
    static void check(const M3G_Light& record);
    static void check(const M3G_Fog& record);
    static void check(const M3G_Background& record);
    static void setToClass(Camera* camera, const M3G_Camera& record);
    static void setToClass(Light* light, const M3G_Light& record);
    static void setToClass(Fog* fog, const M3G_Fog& record);
    void setToClass(Background* background, const M3G_Background& record);
    void setToClass(World* world, const M3G_World& record);
    core::Ref<Object3D> parseCamera();
    core::Ref<Object3D> parseLight();
    core::Ref<Object3D> parseFog();
    core::Ref<Object3D> parseBackground();
    core::Ref<Object3D> parseWorld();

    // ---- animation (M3G_Loader_animation.cpp) ----
    static void check(const M3G_AnimationController& record);
    static void check(const M3G_AnimationTrack& record);
    static void check(const M3G_KeyframeSequence& record);
    static void setToClass(AnimationController* controller, const M3G_AnimationController& record);
    static void setToClass(KeyframeSequence* sequence, const M3G_KeyframeSequence& record);
    core::Ref<Object3D> parseAnimationController();
    core::Ref<Object3D> parseAnimationTrack();
    core::Ref<Object3D> parseKeyframeSequence();
    // Sprites are never read from a file.
    core::Ref<Object3D> parseNotImplemented();

    // ---- writing: colours and references (M3G_Writer_stream.cpp) ----
    // 0x00RRGGBB into red, green, blue; 0xAARRGGBB into red, green, blue, alpha.
    static void unpackRGB(unsigned int rgb, unsigned char* channels);
    static void unpackARGB(unsigned int argb, unsigned char* channels);
    // The index-table position that holds this very object (null: 0).
    std::uint32_t getObjectIndex(const Object3D* object) const;
    // `object` as a T, else the engine assertion of a class mismatch.
    template <typename T>
    static T* savedAs(Object3D* object);

    // ---- base records (M3G_Writer_base.cpp) ----
    void setToStruct(M3G_Object3D& record, Object3D* object);
    static void setToStruct(M3G_Transformable& record, Transformable* object);
    static void setToStruct(M3G_Node& record, Node* object);
    void setToStruct(M3G_Group& record, Group* object);
    void saveGroup(Object3D* object);

    // ---- vertex data (M3G_Writer_vertex.cpp) and meshes (M3G_Writer_mesh.cpp) ----
    static void setToStruct(M3G_VertexArray& record, VertexArray* array);
    void setToStruct(M3G_VertexBuffer& record, VertexBuffer* buffer);
    static void setToStruct(M3G_TriangleStripArray& record, TriangleStripArray* strips);
    void setToStruct(M3G_Mesh& record, Mesh* mesh);
    void setToStruct(M3G_MorphingMesh& record, MorphingMesh* mesh);
    void setToStruct(M3G_SkinnedMesh& record, SkinnedMesh* mesh);
    void saveVertexArray(Object3D* object);
    void saveVertexBuffer(Object3D* object);
    void saveTriangleStripArray(Object3D* object);
    void saveMesh(Object3D* object);
    void saveMorphingMesh(Object3D* object);
    void saveSkinnedMesh(Object3D* object);

    // ---- appearance (M3G_Writer_appearance.cpp) ----
    void setToStruct(M3G_Appearance& record, Appearance* appearance);
    static void setToStruct(M3G_CompositingMode& record, CompositingMode* mode);
    static void setToStruct(M3G_PolygonMode& record, PolygonMode* mode);
    static void setToStruct(M3G_Material& record, Material* material);
    void setToStruct(M3G_Texture2D& record, Texture2D* texture);
    static void setToStruct(M3G_Image2D& record, Image2D* image);
    void saveAppearance(Object3D* object);
    void saveCompositingMode(Object3D* object);
    void savePolygonMode(Object3D* object);
    void saveMaterial(Object3D* object);
    void saveTexture2D(Object3D* object);
    void saveImage2D(Object3D* object);

    // ---- scene (M3G_Writer_scene.cpp) and animation (M3G_Writer_animation.cpp) ----
    static void setToStruct(M3G_Camera& record, Camera* camera);
    static void setToStruct(M3G_Light& record, Light* light);
    static void setToStruct(M3G_Fog& record, Fog* fog);
    void setToStruct(M3G_Background& record, Background* background);
    void setToStruct(M3G_World& record, World* world);
    static void setToStruct(M3G_AnimationController& record, AnimationController* controller);
    void setToStruct(M3G_AnimationTrack& record, AnimationTrack* track);
    static void setToStruct(M3G_KeyframeSequence& record, KeyframeSequence* sequence);
    void saveCamera(Object3D* object);
    void saveLight(Object3D* object);
    void saveFog(Object3D* object);
    void saveBackground(Object3D* object);
    void saveWorld(Object3D* object);
    void saveAnimationController(Object3D* object);
    void saveAnimationTrack(Object3D* object);
    void saveKeyframeSequence(Object3D* object);
    void saveSprite(Object3D* object);

    core::Vector<core::Ref<Object3D>> m_objectIndex;
    core::Vector<bool> m_objectReferenced;
    core::Ref<core::DataIO> m_sectionStream;
    unsigned char* m_decompressBuffer = nullptr;
    core::Ref<HAL::File> m_sourceFile;

    static bool s_externalReferencesEnabled;
};

} // namespace render

#include "render/M3G_Loader.inl"
