// The external-reference section and the nested loads it starts.
#include "render/M3G_Loader.h"

#include "M3G_LoadChain.h"
#include "core/Debug.h"
#include "core/MemoryManagerException.h"
#include "hal/File.h"
#include "render/Loader.h"
#include "render/Loader_helpers.h"

namespace render {

namespace {

// The longest URI a log line shows: a longer one must not turn a load into
// the log's own exception.
constexpr int kLoggedUriLength = 180;
// The type byte of an external reference, which names no class.
constexpr auto kExternalReferenceType = static_cast<M3G_ObjectType>(255);

// An empty URI, or one ending in a separator, names a folder: no file to load.
bool namesFile(const core::String& uri)
{
    const int length = uri.length();
    return length > 0 && uri.charAt(length - 1) != '/' && uri.charAt(length - 1) != '\\';
}

} // namespace

bool M3G_Loader::s_externalReferencesEnabled = true;

// ---- the external-reference section -----------------------------------------------

void M3G_Loader::parseExternalReferences(core::DataIO& stream)
{
    const unsigned char* sectionStart = stream.data;
    const SectionHeader header = readSectionHeader(stream);
    m_sectionStream = getSectionObjectStream(header, stream);
    core::DataIO& objects = *m_sectionStream;
    while (objects.bytesLeft > 0) {
        const ObjectHeader chunk = readObjectHeader(objects);
        if (chunk.type != kExternalReferenceType)
            parseError("Object type is not \"external reference\" in the object chunk of external references section.");
        if (chunk.length > static_cast<std::uint32_t>(objects.bytesLeft))
            parseError("\"External reference\" object size too big.");
        logProgress("\n  Loading external reference");

        const std::int32_t before = objects.bytesLeft;
        try {
            core::String uri("");
            objects.getStreamData(uri);
            core::Debug::printf(core::Debug::LEVEL_PLAIN, " \"%.*s\"", kLoggedUriLength, uri.c_str());
            if (!namesFile(uri))
                parseError("External reference does not name a file.");
            core::Ref<Object3D> object = loadExternalReference(uri);
            m_objectIndex.pushBack(object);
            m_objectReferenced.pushBack(false);
            logProgress("  Done!\n");
        } catch (...) {
            logProgress("  Error!\n");
            throw;
        }
        if (static_cast<std::uint32_t>(before - objects.bytesLeft) != chunk.length)
            parseError("\"External reference\" object size mismatch.");
    }
    if (objects.bytesLeft != 0)
        parseError("Section size mismatch in external references section.");
    checkSectionChecksum(header, stream, sectionStart, "CRC did not matched in the external references section.");
}

// ---- nested loads -------------------------------------------------------------------

void M3G_Loader::setExternalReferencesEnabled(bool enabled)
{
    s_externalReferencesEnabled = enabled;
}

core::Ref<Object3D> M3G_Loader::loadExternalReference(const core::String& uri)
{
    if (!s_externalReferencesEnabled)
        parseError("External references are switched off.");

    core::Vector<core::Ref<Object3D>> loaded;
    bool found = false;
    M3G_LoadChain::countNestedLoad();
    try {
        Loader::load(uri, loaded);
        found = true;
    } catch (const core::MemoryManagerException&) {
        // A full pool is no missing file: a retry would load another file,
        // or this one again wherever the pool happens to have room then.
        throw;
    } catch (...) {
        // Any failure of the path as written leads to the retry, not only a
        // file not found: relative to the working directory it may name
        // another file than the one beside the referencing file. A refused
        // nesting fails the whole load: a retry would only repeat it.
        if (M3G_LoadChain::refused())
            throw;
    }
    if (!found) {
        // Content from memory has no folder to retry in.
        if (m_sourceFile == nullptr)
            parseError("External reference not found; a file loaded from memory has no folder to look in.");
        loaded.removeAll();
        M3G_LoadChain::countNestedLoad();
        Loader::load(m_sourceFile->getPath() + uri, loaded);
    }
    // Only the first root object of the referenced file is kept.
    if (loaded.m_size == 0)
        parseError("External reference loaded no object.");
    return loaded[0];
}

} // namespace render
