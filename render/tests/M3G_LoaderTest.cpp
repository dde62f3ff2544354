#include "M3G_LoaderFixture.h"

#include <string>

using namespace testsupport;

namespace {

Bytes withSections(const std::vector<Bytes>& sections)
{
    return m3gFile(M3GHeader(), sections);
}

Bytes withSection(const M3GSection& section)
{
    return withSections({m3gSection(section)});
}

// The identifier and a first section framed by the test itself.
Bytes withFirstSection(const Bytes& objects)
{
    return joined({kM3GIdentifier, m3gSection(objects)});
}

M3GSection overridden(M3GSection s, std::optional<std::uint32_t> total, std::optional<std::uint32_t> uncompressed)
{
    s.totalLength = total;
    s.uncompressedLength = uncompressed;
    return s;
}

Bytes flipped(Bytes bytes, std::size_t at)
{
    bytes[at] ^= 0x01;
    return bytes;
}

// Groups 2 .. 2+n-1, each naming its index as its user id.
Bytes groups(int n)
{
    Bytes all;
    for (int i = 0; i < n; ++i)
        all = joined({all, groupObject({}, static_cast<std::uint32_t>(2 + i))});
    return all;
}

} // namespace

// ---- the header section -------------------------------------------------------------------

TEST_F(M3G_LoaderTest, BadIdentifierAndHeaderSectionsAreRefused)
{
    const Bytes headerOnly = m3gFile(M3GHeader(), {});
    const Bytes record = m3gHeaderRecord(M3GHeader(), 0);
    const Bytes header = m3gObject(0, record);
    // Total 33 = 20 + 13 and object length 15 = 33 - 18, as they should be.
    const Bytes authoringWithoutEnd = joined(
        {kM3GIdentifier, M3GRecord().u8(0).u32(33).u32(20).u8(0).u32(15).u8(1).u8(0).u8(0).u32(40).u32(40).u8('a')});
    M3GHeader shortFile;
    shortFile.totalFileSize = static_cast<std::uint32_t>(headerOnly.size() - 1);

    expectRefusals({
        {"11 bytes", Bytes(kM3GIdentifier.begin(), kM3GIdentifier.end() - 1), "Too small file!"},
        {"the identifier alone", kM3GIdentifier, "Small stream buffer", kOuter},
        {"first section one byte longer than its data",
         joined({kM3GIdentifier, m3gSection(overridden(M3GSection(header), 31, std::nullopt))}),
         "Section length error in section header for uncompressed data."},
        {"a group first", withFirstSection(groupObject()), "First object is not header object."},
        {"header object length one too large",
         withFirstSection(M3GRecord().u8(0).u32(static_cast<std::uint32_t>(record.size() + 1)).bytes(record)),
         "First object size mismatch."},
        {"version 2.0", m3gFile(M3GHeader(2), {}), "Unsupported m3g version."},
        {"version 1.1", m3gFile(M3GHeader(1, 1), {}), "Unsupported m3g version."},
        {"hasExternalReferences 2", m3gFile(M3GHeader(1, 0, 2), {}), "Deserialized boolean data not '1' or '0'.",
         kOuter},
        {"a byte after the authoring field", withFirstSection(m3gObject(0, joined({record, {7}}))),
         "Size of header object not correct in first section."},
        {"authoring field without its NUL", authoringWithoutEnd, "Small stream buffer", kOuter},
        {"totalFileSize one short", m3gFile(shortFile, {}), "TotalFileSize did not matched or small data buf len."},
        {"header checksum", flipped(headerOnly, headerOnly.size() - 4), "CRC did not matched in first section."},
    });
}

TEST_F(M3G_LoaderTest, AHeaderOnlyFileLoadsNothing)
{
    // The authoring field never reaches the string pool, so it may be long.
    M3GHeader header;
    header.authoring = std::string(50000, 'a');
    header.approximateContentSize = 1;
    EXPECT_EQ(load(m3gFile(header, {})).m_size, 0);
    EXPECT_EQ(countOf(log(), "Parse warning: \"approximateContentSize different than totalFileSize when has no "
                             "external references.\"\n"),
              1);
}

// ---- sections and objects -----------------------------------------------------------------

TEST_F(M3G_LoaderTest, BadSectionsAndObjectsAreRefusedBeforeTheyAreRead)
{
    const Bytes group = groupObject();
    const Bytes record(group.begin() + 5, group.end());
    const auto size = static_cast<std::uint32_t>(group.size());
    const auto length = static_cast<std::uint32_t>(record.size());
    const auto in = [](const Bytes& objects) { return withSection(M3GSection(objects)); };
    const auto declared = [&](std::uint32_t uncompressed) {
        return withSection(overridden(M3GSection(group, 1), std::nullopt, uncompressed));
    };
    const Bytes stored = m3gDeflate(group);
    M3GSection badChecksum(group);
    badChecksum.checksum = 0;
    M3GSection scheme2(group, 2);
    scheme2.stored = group;
    M3GSection corrupted(group, 1);
    corrupted.stored = flipped(stored, 0);
    // Incompressible bytes that claim deflate's best ratio: more than the pool holds.
    M3GSection beyondPool(Bytes(), 1);
    beyondPool.stored = Bytes(300, 0x5A);
    beyondPool.uncompressedLength = 300 * 1032;

    const char* tooBig = "Too big \"uncompressed length\" field in m3g section header.";
    const char* tooSmall = "Too small \"uncompressed length\" field in m3g section header.";
    const char* invalid = "Object type is not valid in object chunk.";
    expectRefusals({
        {"section checksum", withSection(badChecksum), "CRC did not matched in the section."},
        {"total length 12", withSection(overridden(M3GSection(), 12, std::nullopt)),
         "Too small \"total section length\" field in m3g section header."},
        {"total length beyond the data", withSection(overridden(M3GSection(group), 0xFFFFFFFFu, 0xFFFFFFF2u)),
         "Small section."},
        {"total length one beyond the data", withSection(overridden(M3GSection(group), size + 14, size + 1)),
         "Small section."},
        {"stored lengths disagree", withSection(overridden(M3GSection(group), std::nullopt, size - 1)),
         "Section length error in section header for uncompressed data."},
        {"scheme 2", withSection(scheme2), "Unknown compression scheme in m3g section header."},
        // Compressed sections inflate only to their declared length.
        {"declared one too large", declared(size + 1), tooBig},
        {"declared one too small", declared(size - 1), tooSmall},
        {"declared 0", declared(0), tooSmall},
        {"a flipped byte", withSection(corrupted), "ZLib decompression failed: \"The input data was corrupted\""},
        {"beyond deflate's ratio", declared(static_cast<std::uint32_t>(stored.size()) * 1032 + 1), tooBig},
        {"INT_MAX + 1", declared(0x80000000u), tooBig},
        {"more than the pool holds", withSection(beyondPool),
         "ZLib decompression failed: \"There was not enough memory\""},
        // Objects.
        {"type 0", in(m3gObject(0, record)), invalid},
        {"type 23", in(m3gObject(23, record)), invalid},
        {"an external reference", in(m3gObject(255, record)), invalid},
        {"longer than its section", in(M3GRecord().u8(9).u32(length + 1).bytes(record)), "Object size too big."},
        {"longer than its record", in(M3GRecord().u8(9).u32(length + 1).bytes(record).u8(0)), "Object size mismatch."},
        {"length cut in a compressed section", withSection(M3GSection({9, 1, 2, 3}, 1)), "Small stream buffer"},
        {"a sprite", in(m3gObject(18, record)), "No implementation yet."},
    });
}

// ---- results ------------------------------------------------------------------------------

TEST_F(M3G_LoaderTest, TheRootsAreTheObjectsNothingReferencesInFileOrder)
{
    const struct {
        const char* name;
        std::vector<Bytes> sections;
        std::vector<int> roots;
    } cases[] = {
        {"a group naming every other", {m3gSection(joined({groups(3), groupObject({4, 2, 3}, 5)}))}, {5}},
        {"a chain", {m3gSection(joined({groupObject({}, 2), groupObject({2}, 3), groupObject({3}, 4)}))}, {4}},
        {"stored, empty and compressed sections",
         {m3gSection(groups(2)), m3gSection(Bytes()), m3gSection(groupObject({}, 4), 1),
          m3gSection(groupObject({2}, 5), 1), m3gSection(groupObject({3, 4}, 6))},
         {5, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(userIDs(load(withSections(c.sections))), c.roots);
    }
    EXPECT_NE(log().find("\n  Loading object id: 9 (render::Group), length: " +
                         std::to_string(groupObject().size() - 5) + "\n  Done!\n"),
              std::string::npos)
        << log();
}
