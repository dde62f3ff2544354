#include "M3G_LoaderFixture.h"

#include <climits>
#include <string>

using render::M3G_Loader;
using testsupport::Bytes;
using testsupport::M3GHeader;
using testsupport::M3GRecord;
using testsupport::M3GSection;
using testsupport::m3gFile;
using testsupport::m3gObject;
using testsupport::m3gSection;
using testsupport::countOf;
using testsupport::groupObject;

namespace {

using Objects = testsupport::Objects;
using M3G_LoaderTest = testsupport::M3G_LoaderTest;

constexpr char kOuter[] = "Unknown data source";
constexpr std::uint32_t kGroupType = 9;

Bytes cat(const std::vector<Bytes>& parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes headerOnly()
{
    return m3gFile(M3GHeader(), {});
}

Bytes headerFile(const M3GHeader& header)
{
    return m3gFile(header, {});
}

Bytes withSections(const std::vector<Bytes>& sections)
{
    return m3gFile(M3GHeader(), sections);
}

Bytes withSection(const M3GSection& section)
{
    return withSections({m3gSection(section)});
}

// The identifier and a first section framed by the test itself.
Bytes withFirstSection(const M3GSection& section)
{
    return cat({testsupport::kM3GIdentifier, m3gSection(section)});
}

Bytes headerObject(const M3GHeader& header = M3GHeader())
{
    return m3gObject(0, testsupport::m3gHeaderRecord(header, 0));
}

M3GSection section(int scheme, const Bytes& objects)
{
    M3GSection s;
    s.scheme = scheme;
    s.objects = objects;
    return s;
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
        all = cat({all, groupObject({}, static_cast<std::uint32_t>(2 + i))});
    return all;
}

std::vector<int> userIDs(const Objects& out)
{
    std::vector<int> ids;
    for (int i = 0; i < out.m_size; ++i)
        ids.push_back(out[i]->getUserID());
    return ids;
}

} // namespace

// ---- the header section -------------------------------------------------------------------

TEST_F(M3G_LoaderTest, BadIdentifierAndHeaderSectionsAreRefused)
{
    M3GHeader version2;
    version2.versionMajor = 2;
    M3GHeader version11;
    version11.versionMinor = 1;
    M3GHeader externalByte2;
    externalByte2.hasExternalReferences = 2;
    M3GHeader wrongSize;
    wrongSize.totalFileSize = static_cast<std::uint32_t>(headerOnly().size() - 1);
    const Bytes headerRecord = testsupport::m3gHeaderRecord(M3GHeader(), 0);
    const Bytes authoringWithoutEnd =
        cat({testsupport::kM3GIdentifier, M3GRecord().u8(0).u32(33).u32(20).u8(0).u32(15).u8(1).u8(0).u8(0)
                                              .u32(40).u32(40).bytes({'a', 'b', 'c'})});

    expectRefusals({
        {"11 bytes", Bytes(testsupport::kM3GIdentifier.begin(), testsupport::kM3GIdentifier.end() - 1),
         "Too small file!", ""},
        {"the identifier alone", testsupport::kM3GIdentifier, "Small stream buffer", kOuter},
        {"compressed first section", withFirstSection(section(1, headerObject())),
         "First section must be uncompressed.", ""},
        {"first section one byte longer than its data",
         withFirstSection(overridden(section(0, headerObject()), 31, std::nullopt)),
         "Section length error in section header for uncompressed data.", ""},
        {"a group first", withFirstSection(section(0, groupObject())), "First object is not header object.", ""},
        {"header object length one too large",
         withFirstSection(section(0, M3GRecord().u8(0).u32(static_cast<std::uint32_t>(headerRecord.size() + 1))
                                         .bytes(headerRecord))),
         "First object size mismatch.", ""},
        {"version 2.0", headerFile(version2), "Unsupported m3g version.", ""},
        {"version 1.1", headerFile(version11), "Unsupported m3g version.", ""},
        {"hasExternalReferences 2", headerFile(externalByte2), "Deserialized boolean data not '1' or '0'.", kOuter},
        {"a byte after the authoring field", withFirstSection(section(0, m3gObject(0, cat({headerRecord, {7}})))),
         "Size of header object not correct in first section.", ""},
        {"authoring field without its NUL", authoringWithoutEnd, "Small stream buffer", kOuter},
        {"totalFileSize one short", headerFile(wrongSize), "TotalFileSize did not matched or small data buf len.",
         ""},
        {"header checksum", flipped(headerOnly(), headerOnly().size() - 4), "CRC did not matched in first section.",
         ""},
    });
}

TEST_F(M3G_LoaderTest, AHeaderOnlyFileLoadsNothingAndTheAuthoringFieldCanBeLong)
{
    for (const std::string& authoring : {std::string(), std::string("x"), std::string(50000, 'a')}) {
        SCOPED_TRACE(authoring.size());
        M3GHeader header;
        header.authoring = authoring;
        // An authoring field of n characters makes a first section of n + 30 bytes.
        const Bytes file = headerFile(header);
        EXPECT_EQ(file.size(), 12 + authoring.size() + 30);
        EXPECT_EQ(load(file).m_size, 0);
    }
}

TEST_F(M3G_LoaderTest, ApproximateContentSizeOnlyWarns)
{
    M3GHeader header;
    header.approximateContentSize = 1;
    const Objects out = load(m3gFile(header, {m3gSection(groupObject())}));
    EXPECT_EQ(out.m_size, 1);
    EXPECT_EQ(countOf(log(), "Parse warning: \"approximateContentSize different than totalFileSize when has no "
                             "external references.\"\n"),
              1);
}

// ---- sections -----------------------------------------------------------------------------

TEST_F(M3G_LoaderTest, BadSectionFramesAreRefusedBeforeTheyAreRead)
{
    const Bytes group = groupObject();
    M3GSection badChecksum = section(0, group);
    badChecksum.checksum = 0;
    M3GSection scheme2 = section(2, group);
    scheme2.stored = group;

    expectRefusals({
        {"section checksum", withSection(badChecksum), "CRC did not matched in the section.", ""},
        {"total length 12", withSection(overridden(section(0, {}), 12, std::nullopt)),
         "Too small \"total section length\" field in m3g section header.", ""},
        {"lengths whose sum wraps", withSection(overridden(section(0, {}), 12, 0xFFFFFFFFu)),
         "Too small \"total section length\" field in m3g section header.", ""},
        {"compressed, total length 0", withSection(overridden(section(1, group), 0, std::nullopt)),
         "Too small \"total section length\" field in m3g section header.", ""},
        {"total length beyond the data", withSection(overridden(section(0, group), 0xFFFFFFFFu, 0xFFFFFFF2u)),
         "Small section.", ""},
        {"total length one beyond the data",
         withSection(overridden(section(0, group), static_cast<std::uint32_t>(group.size() + 14),
                                static_cast<std::uint32_t>(group.size() + 1))),
         "Small section.", ""},
        {"stored lengths disagree",
         withSection(overridden(section(0, group), std::nullopt, static_cast<std::uint32_t>(group.size() - 1))),
         "Section length error in section header for uncompressed data.", ""},
        {"scheme 2", withSection(scheme2), "Unknown compression scheme in m3g section header.", ""},
        {"section header cut short", withSections({{0, 1, 2, 3}}), "Small stream buffer", kOuter},
    });
}

TEST_F(M3G_LoaderTest, CompressedSectionsInflateOnlyToTheirDeclaredLength)
{
    const Bytes objects = cat({groups(3), groupObject({2, 3, 4})});
    const Bytes stored = testsupport::m3gDeflate(objects);
    const auto size = static_cast<std::uint32_t>(objects.size());
    const auto storedSize = static_cast<std::uint32_t>(stored.size());
    M3GSection corrupted = section(1, objects);
    corrupted.stored = flipped(stored, 0);
    M3GSection truncated = section(1, objects);
    truncated.stored = Bytes(stored.begin(), stored.begin() + static_cast<long>(stored.size() / 2));
    // Incompressible bytes that claim deflate's best ratio: more than the pool holds.
    M3GSection beyondPool = section(1, {});
    beyondPool.stored = Bytes(300, 0x5A);
    beyondPool.uncompressedLength = 300 * 1032;

    const char* tooBig = "Too big \"uncompressed length\" field in m3g section header.";
    const char* tooSmall = "Too small \"uncompressed length\" field in m3g section header.";
    expectRefusals({
        {"declared one too large", withSection(overridden(section(1, objects), std::nullopt, size + 1)), tooBig, ""},
        {"declared one too small", withSection(overridden(section(1, objects), std::nullopt, size - 1)), tooSmall,
         ""},
        {"declared 0", withSection(overridden(section(1, objects), std::nullopt, 0)), tooSmall, ""},
        {"a flipped byte", withSection(corrupted), "ZLib decompression failed: \"The input data was corrupted\"", ""},
        {"a truncated stream", withSection(truncated), "ZLib decompression failed: \"The input data was corrupted\"",
         ""},
        {"beyond deflate's ratio", withSection(overridden(section(1, objects), std::nullopt, storedSize * 1032 + 1)),
         tooBig, ""},
        {"INT_MAX + 1", withSection(overridden(section(1, objects), std::nullopt, 0x80000000u)), tooBig, ""},
        {"0xFFFFFFFF", withSection(overridden(section(1, objects), std::nullopt, 0xFFFFFFFFu)), tooBig, ""},
        {"more than the pool holds", withSection(beyondPool),
         "ZLib decompression failed: \"There was not enough memory\"", ""},
    });

    const Objects out = load(withSection(section(1, objects)));
    EXPECT_EQ(userIDs(out), std::vector<int>({0}));
}

TEST_F(M3G_LoaderTest, SectionsStoredCompressedAndEmptyReadAsOneFile)
{
    // A group in a compressed section names groups of stored sections before it.
    const Bytes file = withSections({m3gSection(groups(2)), m3gSection(Bytes()), m3gSection(groupObject({}, 4), 1),
                                     m3gSection(groupObject({2, 4}, 5), 1), m3gSection(groupObject({3}, 6))});
    const Objects out = load(file);
    EXPECT_EQ(userIDs(out), std::vector<int>({5, 6}));
    ASSERT_NE(groupAt(out, 0), nullptr);
    ASSERT_EQ(groupAt(out, 0)->getChildCount(), 2);
    EXPECT_EQ(groupAt(out, 0)->getChild(0)->getUserID(), 2);
    EXPECT_EQ(groupAt(out, 0)->getChild(1)->getUserID(), 4);
}

// ---- objects ------------------------------------------------------------------------------

TEST_F(M3G_LoaderTest, ObjectFramesAndUnreadTypesAreRefused)
{
    const Bytes group = groupObject();
    const Bytes record(group.begin() + 5, group.end());
    const auto length = static_cast<std::uint32_t>(record.size());
    const char* invalid = "Object type is not valid in object chunk.";
    expectRefusals({
        {"type 0", withSections({m3gSection(m3gObject(0, record))}), invalid, ""},
        {"type 23", withSections({m3gSection(m3gObject(23, record))}), invalid, ""},
        {"type 255", withSections({m3gSection(m3gObject(255, record))}), invalid, ""},
        {"longer than its section", withSections({m3gSection(M3GRecord().u8(kGroupType).u32(length + 1).bytes(record))}),
         "Object size too big.", ""},
        {"longer than its record",
         withSections({m3gSection(M3GRecord().u8(kGroupType).u32(length + 1).bytes(record).u8(0))}),
         "Object size mismatch.", ""},
        {"length cut in a stored section", withSections({m3gSection({kGroupType, 1, 2, 3})}), "Small stream buffer",
         kOuter},
        {"length cut in a compressed section", withSections({m3gSection({kGroupType, 1, 2, 3}, 1)}),
         "Small stream buffer", ""},
        {"a sprite", withSections({m3gSection(m3gObject(18, record))}), "No implementation yet.", ""},
        {"an appearance", withSections({m3gSection(m3gObject(3, record))}), "No implementation yet.", ""},
    });
    EXPECT_EQ(countOf(log(), "\n  Loading object id: 3 (render::Appearance), length: " + std::to_string(length) +
                                 "\n ERROR  |"),
              2);
    EXPECT_EQ(countOf(log(), "Parse error: \"No implementation yet.\"\n  Error!\n"), 4);
}

// ---- results ------------------------------------------------------------------------------

TEST_F(M3G_LoaderTest, TheRootsAreTheObjectsNothingReferencesInFileOrder)
{
    const struct {
        const char* name;
        Bytes objects;
        std::vector<int> roots;
    } cases[] = {
        {"three unreferenced groups", groups(3), {2, 3, 4}},
        {"a group naming the first", cat({groups(2), groupObject({2}, 4)}), {3, 4}},
        {"a group naming every other", cat({groups(3), groupObject({4, 2, 3}, 5)}), {5}},
        {"a chain", cat({groupObject({}, 2), groupObject({2}, 3), groupObject({3}, 4)}), {4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(userIDs(load(withSections({m3gSection(c.objects)}))), c.roots);
    }
    clearLog();
    const Bytes one = groupObject();
    load(withSections({m3gSection(one)}));
    EXPECT_NE(log().find("\n  Loading object id: 9 (render::Group), length: " + std::to_string(one.size() - 5) +
                         "\n  Done!\n"),
              std::string::npos)
        << log();
}

// ---- checksums ----------------------------------------------------------------------------

TEST_F(M3G_LoaderTest, ChecksumIsAdler32)
{
    const struct {
        std::string text;
        std::uint32_t sum;
    } cases[] = {
        {"", 1},
        {"a", 0x00620062},
        {"abc", 0x024D0127},
        {"Wikipedia", 0x11E60398},
        {std::string(6000, '\xFF'), 0xA49759EA},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.size());
        EXPECT_EQ(M3G_Loader::computeChecksum(reinterpret_cast<const unsigned char*>(c.text.data()),
                                              static_cast<unsigned>(c.text.size())),
                  c.sum);
    }
}
