// Reading a scene file: its identifier, sections, header and the objects of each section.
#include "render/M3G_Loader.h"

#include "M3G_LoadChain.h"
#include "core/Assert.h"
#include "core/AssertationFailedException.h"
#include "core/Debug.h"
#include "core/MemoryManager.h"
#include "hal/File.h"
#include "render/Loader_helpers.h"

#include <zlib.h>

#include <climits>
#include <cstring>

namespace render {

namespace {

constexpr int kIdentifierLength = 12;
constexpr unsigned char kIdentifier[kIdentifierLength] = {0xAB, 0x4A, 0x53, 0x52, 0x31, 0x38,
                                                          0x34, 0xBB, 0x0D, 0x0A, 0x1A, 0x0A};
constexpr char kOuterStreamName[] = "Unknown data source";

// A section is its 9 header bytes, the stored object data and a 4-byte
// checksum; the header object adds its own 5 bytes of type and length.
constexpr std::uint64_t kSectionHeaderLength = 9;
constexpr std::uint64_t kSectionFrameLength = 13;
constexpr std::uint64_t kHeaderFixedLength = 17;
// Deflate's best case: no stream inflates to more than this many times its size.
constexpr std::uint64_t kMaxInflateRatio = 1032;

constexpr char kUncompressedTooSmall[] = "Too small \"uncompressed length\" field in m3g section header.";
constexpr char kUncompressedTooBig[] = "Too big \"uncompressed length\" field in m3g section header.";
constexpr char kNoMemory[] = "ZLib decompression failed: \"There was not enough memory\"";
constexpr char kLengthMismatch[] = "Section length error in section header for uncompressed data.";

} // namespace

// ---- life cycle -----------------------------------------------------------------

M3G_Loader::M3G_Loader() = default;

M3G_Loader::M3G_Loader(HAL::File* file) : m_sourceFile(file) {}

M3G_Loader::~M3G_Loader() noexcept(false)
{
    releaseDecompressBuffer();
}

// ---- reading ----------------------------------------------------------------------

bool M3G_Loader::canHandle(const unsigned char* data, int length)
{
    if (length < kIdentifierLength)
        parseError("Too small file!");
    VORNIC3D_CHECK(data != nullptr);
    return std::memcmp(data, kIdentifier, kIdentifierLength) == 0;
}

void M3G_Loader::load(const unsigned char* data, int length, core::Vector<core::Ref<Object3D>>& out)
{
    VORNIC3D_CHECK(data != nullptr);
    // The front end has checked this already; a direct caller may not have.
    if (length < kIdentifierLength)
        parseError("Too small file!");
    const M3G_LoadChain::Entry chainEntry(data, length);

    m_objectIndex.removeAll();
    m_objectReferenced.removeAll();
    m_objectIndex.pushBack(core::Ref<Object3D>());
    m_objectReferenced.pushBack(false);

    core::DataIO stream(data + kIdentifierLength, length - kIdentifierLength);
    stream.name = kOuterStreamName;
    parseHeaderSection(stream, length);
    while (stream.bytesLeft > 0)
        parseSection(stream);
    collectRoots(out);
}

std::uint32_t M3G_Loader::computeChecksum(const unsigned char* data, unsigned int length)
{
    const uLong start = adler32(0, nullptr, 0);
    return static_cast<std::uint32_t>(length == 0 ? start : adler32(start, data, length));
}

// ---- sections ---------------------------------------------------------------------

void M3G_Loader::parseHeaderSection(core::DataIO& stream, int length)
{
    const unsigned char* sectionStart = stream.data;
    const SectionHeader header = readSectionHeader(stream);
    if (header.scheme != 0)
        parseError("First section must be uncompressed.");
    // In 64 bits, so that no length can wrap around into a match.
    if (header.totalLength != header.uncompressedLength + kSectionFrameLength)
        parseError(kLengthMismatch);

    const ObjectHeader object = readObjectHeader(stream);
    if (object.type != M3G_ObjectType::HEADER)
        parseError("First object is not header object.");
    if (object.length + kSectionFrameLength + 5 != header.totalLength)
        parseError("First object size mismatch.");

    unsigned char versionMajor = 0;
    unsigned char versionMinor = 0;
    std::uint32_t totalFileSize = 0;
    std::uint32_t approximateContentSize = 0;
    stream.getStreamData(versionMajor);
    stream.getStreamData(versionMinor);
    const bool hasExternalReferences = readBoolean(stream);
    stream.getStreamData(totalFileSize);
    stream.getStreamData(approximateContentSize);
    // Free text that nothing uses: measured, never kept, so that a long one
    // cannot fill the string pool.
    const int authoringLength = skipString(stream);

    if (versionMajor != 1 || versionMinor != 0)
        parseError("Unsupported m3g version.");
    if (header.uncompressedLength != authoringLength + kHeaderFixedLength)
        parseError("Size of header object not correct in first section.");
    if (!hasExternalReferences && approximateContentSize != totalFileSize)
        parseWarning("approximateContentSize different than totalFileSize when has no external references.");
    m_objectIndex.pushBack(core::Ref<Object3D>());
    m_objectReferenced.pushBack(false);
    if (totalFileSize != static_cast<std::uint32_t>(length))
        parseError("TotalFileSize did not matched or small data buf len.");
    checkSectionChecksum(header, stream, sectionStart, "CRC did not matched in first section.");

    if (hasExternalReferences)
        parseExternalReferences(stream);
}

void M3G_Loader::parseSection(core::DataIO& stream)
{
    const unsigned char* sectionStart = stream.data;
    const SectionHeader header = readSectionHeader(stream);
    m_sectionStream = getSectionObjectStream(header, stream);
    parseSectionObjects();
    checkSectionChecksum(header, stream, sectionStart, "CRC did not matched in the section.");
}

M3G_Loader::SectionHeader M3G_Loader::readSectionHeader(core::DataIO& stream)
{
    SectionHeader header;
    stream.getStreamData(header.scheme);
    stream.getStreamData(header.totalLength);
    stream.getStreamData(header.uncompressedLength);
    return header;
}

M3G_Loader::ObjectHeader M3G_Loader::readObjectHeader(core::DataIO& stream)
{
    ObjectHeader header;
    unsigned char type = 0;
    stream.getStreamData(type);
    header.type = static_cast<M3G_ObjectType>(type);
    stream.getStreamData(header.length);
    return header;
}

core::Ref<core::DataIO> M3G_Loader::getSectionObjectStream(const SectionHeader& header, core::DataIO& stream)
{
    // Below 13 bytes the stored data would have a negative length.
    if (header.totalLength < kSectionFrameLength)
        parseError("Too small \"total section length\" field in m3g section header.");
    if (header.totalLength > stream.available() + kSectionHeaderLength)
        parseError("Small section.");
    switch (header.scheme) {
    case 0:
        if (header.totalLength != header.uncompressedLength + kSectionFrameLength)
            parseError(kLengthMismatch);
        // A view: the stored objects are read in place.
        return core::Ref<core::DataIO>(VORNIC3D_NEW core::DataIO(stream, static_cast<int>(header.uncompressedLength)));
    case 1:
        checkInflatedLength(header);
        // Taken here, so that the buffer and its stream are tagged with this
        // function.
        releaseDecompressBuffer();
        m_decompressBuffer = static_cast<unsigned char*>(VORNIC3D_ALLOC(static_cast<int>(header.uncompressedLength)));
        inflateSection(header, stream);
        return core::Ref<core::DataIO>(
            VORNIC3D_NEW core::DataIO(m_decompressBuffer, static_cast<int>(header.uncompressedLength)));
    default:
        // Without a stream the object loop would have nothing to read.
        parseError("Unknown compression scheme in m3g section header.");
    }
}

void M3G_Loader::checkInflatedLength(const SectionHeader& header)
{
    const std::uint32_t stored = static_cast<std::uint32_t>(header.totalLength - kSectionFrameLength);
    const std::uint32_t size = header.uncompressedLength;
    // The declared length sizes the buffer: refused before any allocation
    // when no deflate stream of the stored size could fill it.
    if (size == 0)
        parseError(kUncompressedTooSmall);
    if (size > static_cast<std::uint32_t>(INT_MAX) || size > kMaxInflateRatio * stored)
        parseError(kUncompressedTooBig);
    // A request the pool could never grant would end in its assertion.
    if (!core::MemoryManager::getMemoryInfo()->canHold(size))
        parseError(kNoMemory);
}

void M3G_Loader::inflateSection(const SectionHeader& header, const core::DataIO& stream)
{
    const std::uint32_t stored = static_cast<std::uint32_t>(header.totalLength - kSectionFrameLength);
    const std::uint32_t size = header.uncompressedLength;
    uLongf produced = size;
    switch (uncompress(m_decompressBuffer, &produced, stream.data, stored)) {
    case Z_OK: break;
    case Z_MEM_ERROR: parseError(kNoMemory);
    case Z_BUF_ERROR: parseError(kUncompressedTooSmall);
    case Z_DATA_ERROR: parseError("ZLib decompression failed: \"The input data was corrupted\"");
    default: parseError("ZLib decompression failed.");
    }
    if (produced != size)
        parseError(kUncompressedTooBig);
}

void M3G_Loader::releaseDecompressBuffer()
{
    if (m_decompressBuffer != nullptr)
        VORNIC3D_FREE(m_decompressBuffer);
}

void M3G_Loader::checkSectionChecksum(const SectionHeader& header, core::DataIO& stream,
                                      const unsigned char* sectionStart, const char* mismatch)
{
    // The lengths were checked against the bytes left when the section's
    // object stream was made.
    const auto checked = static_cast<std::int32_t>(header.totalLength - 4);
    const auto skip = static_cast<std::int32_t>(sectionStart + checked - stream.data);
    VORNIC3D_CHECK(skip >= 0 && skip <= stream.bytesLeft);
    stream.advance(skip);
    std::uint32_t checksum = 0;
    stream.getStreamData(checksum);
    if (checksum != computeChecksum(sectionStart, static_cast<unsigned int>(checked)))
        parseError(mismatch);
}

// ---- objects ----------------------------------------------------------------------

void M3G_Loader::parseSectionObjects()
{
    core::DataIO& stream = *m_sectionStream;
    while (stream.bytesLeft > 0) {
        const ObjectHeader header = readObjectHeader(stream);
        const int row = static_cast<int>(header.type);
        if (header.type == M3G_ObjectType::HEADER || row >= kObjectTypeCount)
            parseError("Object type is not valid in object chunk.");
        if (header.length > stream.available())
            parseError("Object size too big.");
        const ObjectType& type = kObjectTypes[row];
        core::Debug::printf(core::Debug::LEVEL_PLAIN, "\n  Loading object id: %d (%s), length: %d\n", row, type.name,
                            static_cast<int>(header.length));

        const ParseFunction parse = type.parse;
        const std::int32_t before = stream.bytesLeft;
        try {
            core::Ref<Object3D> object = (this->*parse)();
            m_objectIndex.pushBack(object);
            m_objectReferenced.pushBack(false);
        } catch (const AssertationFailedException& e) {
            logProgress("  Error!\n");
            // A count of the file that asks for a block larger than the whole
            // pool is the file's fault, as a section length the pool can never
            // hold is, and must not end in the pool's own assertion.
            if (std::strcmp(e.message, core::MemoryManager::kBlockTooBig) == 0)
                parseError("Object too large for the memory pool.");
            // Any other is a value the scene graph refuses: passed on as the
            // setter threw it, so a caller can tell it from a broken file.
            throw;
        } catch (...) {
            logProgress("  Error!\n");
            throw;
        }
        logProgress("  Done!\n");
        if (static_cast<std::uint32_t>(before - stream.bytesLeft) != header.length)
            parseError("Object size mismatch.");
    }
    if (stream.bytesLeft != 0)
        parseError("Section size mismatch.");
}

void M3G_Loader::collectRoots(core::Vector<core::Ref<Object3D>>& out)
{
    const int before = out.m_size;
    try {
        for (int i = 0; i < m_objectIndex.m_size; ++i) {
            if (m_objectIndex[i] != nullptr && !m_objectReferenced[i])
                out.pushBack(m_objectIndex[i]);
        }
    } catch (...) {
        // A full pool half-way: the caller gets all or nothing.
        out.setSize(before);
        throw;
    }
    // From here on the objects live through `out` and each other only.
    m_objectIndex.removeAll();
    m_objectReferenced.removeAll();
}

} // namespace render
