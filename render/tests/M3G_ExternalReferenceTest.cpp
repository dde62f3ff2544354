#include "M3G_LoaderFixture.h"
#include "PngWriter.h"
#include "TempFolder.h"

#include "hal/HALException.h"
#include "render/Image2D.h"
#include "render/Loader.h"

#include <filesystem>
#include <optional>
#include <string>

using render::Loader;
using namespace testsupport;

namespace {

constexpr char kTooMany[] = "Too many external references.";
constexpr char kNoFile[] = "External reference does not name a file.";
const M3GHeader kWithReferences(1, 0, 1);

class M3G_ExternalReferenceTest : public M3G_LoaderTest, protected TempFolder {
protected:
    // A test that switched references off and stopped half-way must not
    // leave them off for the tests after it.
    void TearDown() override
    {
        render::M3G_Loader::setExternalReferencesEnabled(true);
        M3G_LoaderTest::TearDown();
    }

    void putFile(const std::string& name, const Bytes& bytes) const
    {
        put(name, std::string(bytes.begin(), bytes.end()));
    }

    Objects loadPath(const std::string& path) const
    {
        Objects out;
        Loader::load(core::String(path.c_str()), out);
        return out;
    }

    // Each row's file is written as "top.m3g" and loaded by its path.
    void expectRefusedByPath(const std::vector<Refusal>& rows)
    {
        for (const Refusal& row : rows) {
            SCOPED_TRACE(row.name);
            putFile("top.m3g", row.file);
            expectRefused(row, [&](Objects& out) { Loader::load(core::String(at("top.m3g").c_str()), out); });
        }
    }

    int loadsLogged() const { return countOf(log(), "Loader loading file:"); }
};

// The working directory is `folder` while this lives, also when a test
// stops half-way.
class InFolder {
public:
    explicit InFolder(const std::string& folder) : m_previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(m_previous); }

    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::filesystem::path m_previous;
};

Bytes png()
{
    PngImage image; // 1 x 1, RGB
    image.rows = {1, 2, 3};
    return writePng(image);
}

Bytes referenceObject(const std::string& uri)
{
    return m3gObject(kExternalReferenceType, M3GRecord().text(uri));
}

// A file naming `uri` `count` times.
Bytes referring(const std::string& uri, int count = 1)
{
    return m3gFileWithReferences(std::vector<std::string>(static_cast<std::size_t>(count), uri));
}

} // namespace

// ---- found ------------------------------------------------------------------------------------

TEST_F(M3G_ExternalReferenceTest, ReferencesAreFoundAsWrittenOrBesideTheReferencingFile)
{
    putFile("b.m3g", m3gFile(groupObject({}, 7)));
    putFile("two roots.m3g", m3gFile(joined({groupObject({}, 8), groupObject({}, 9)})));
    putFile("image.png", png());
    const struct {
        const char* name;
        Bytes file;
        std::string root;
        int loads; // of the referenced file, attempts included
    } cases[] = {
        {"beside it", referring("b.m3g"), "group 7", 2},
        {"as written", referring(at("b.m3g")), "group 7", 1},
        {"a PNG image", referring("image.png"), "image", 2},
        {"only the first of several roots", referring("two roots.m3g"), "group 8", 2},
        {"a group holding it", m3gFileWithReferences({"b.m3g"}, {m3gSection(groupObject({2}, 3))}), "group 3", 2},
        {"a compressed reference section", m3gFile(kWithReferences, {m3gSection(referenceObject("b.m3g"), 1)}),
         "group 7", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        putFile("top.m3g", c.file);
        clearLog();
        const Objects out = loadPath(at("top.m3g"));
        ASSERT_EQ(out.m_size, 1);
        const bool isImage = dynamic_cast<render::Image2D*>(out[0].get()) != nullptr;
        EXPECT_EQ(isImage ? "image" : "group " + std::to_string(out[0]->getUserID()), c.root);
        EXPECT_EQ(loadsLogged(), 1 + c.loads);
    }
}

// ---- refused ----------------------------------------------------------------------------------

TEST_F(M3G_ExternalReferenceTest, BadReferenceSectionsAndReferencesAreRefused)
{
    putFile("image.png", png());
    putFile("header only.m3g", m3gFile(M3GHeader(), {}));
    const Bytes reference = referenceObject("image.png");
    const Bytes record(reference.begin() + 5, reference.end());
    const auto tooLong = M3GRecord().u8(255).u32(static_cast<std::uint32_t>(record.size() + 1)).bytes(record);
    const auto referencesIn = [&](const Bytes& objects) { return m3gFile(kWithReferences, {m3gSection(objects)}); };
    M3GSection badChecksum(reference);
    badChecksum.checksum = 0;

    expectRefusedByPath({
        {"a group in the reference section", referencesIn(groupObject()),
         "Object type is not \"external reference\" in the object chunk of external references section."},
        {"longer than its section", referencesIn(tooLong), "\"External reference\" object size too big."},
        {"longer than its URI", referencesIn(M3GRecord(tooLong).u8(0)), "\"External reference\" object size mismatch."},
        {"a URI without its NUL", referencesIn(m3gObject(255, {'a', 'b'})), "Small stream buffer", kOuter},
        {"checksum", m3gFile(kWithReferences, {m3gSection(badChecksum)}),
         "CRC did not matched in the external references section."},
        {"a file without objects", referring("header only.m3g"), "External reference loaded no object."},
        {"a group naming an image as child", m3gFileWithReferences({"image.png"}, {m3gSection(groupObject({2}))}),
         "Referenced object is not correct type."},
        {"an empty URI", referring(""), kNoFile},
        {"a folder", referring("sub/"), kNoFile},
        {"a folder by backslash", referring("sub\\"), kNoFile},
    });
}

TEST_F(M3G_ExternalReferenceTest, FromMemoryAReferenceIsTriedOnlyAsWritten)
{
    putFile("b.m3g", m3gFile(groupObject({}, 7)));
    // Absolute, or relative to the working directory.
    for (const std::string& uri : {at("b.m3g"), std::string("b.m3g")}) {
        SCOPED_TRACE(uri);
        const InFolder inFolder(folder());
        const Objects out = load(referring(uri));
        ASSERT_EQ(out.m_size, 1);
        EXPECT_EQ(out[0]->getUserID(), 7);
    }

    // Not found there, it has no folder to be retried in.
    clearLog();
    expectRefusals({{"not found as written", referring("b.m3g"),
                     "External reference not found; a file loaded from memory has no folder to look in."}});
    EXPECT_EQ(countOf(log(), "GeneralFile::fopen : b.m3g failed."), 2) << "one attempt in each of the two runs";
}

TEST_F(M3G_ExternalReferenceTest, SwitchedOffNoReferenceReachesTheFileSystem)
{
    putFile("b.m3g", m3gFile(groupObject({}, 7)));
    const char* off = "External references are switched off.";
    clearLog();
    render::M3G_Loader::setExternalReferencesEnabled(false);
    expectRefusals({{"from memory", referring(at("b.m3g")), off}});
    expectRefusedByPath({{"from a file", referring("b.m3g"), off}});
    EXPECT_EQ(loadsLogged(), 2) << "only the top file, in each of the two runs";
}

TEST_F(M3G_ExternalReferenceTest, AMissingReferenceFailsAfterItsRetry)
{
    const std::string name = "missing.m3g";
    clearLog();
    putFile("top.m3g", referring(name));
    EXPECT_EQ(messageOf<HAL::HALException>([&] { loadPath(at("top.m3g")); }), "GeneralFile: can not open the file");
    EXPECT_EQ(countOf(log(), "GeneralFile::fopen : " + name + " failed."), 1);
    EXPECT_EQ(countOf(log(), "GeneralFile::fopen : " + at(name) + " failed."), 1);
    EXPECT_EQ(countOf(log(), "  Error!\n"), 1);
}

// ---- loads that could run away ----------------------------------------------------------------

TEST_F(M3G_ExternalReferenceTest, LoopsDeepChainsAndFanOutsEndQuickly)
{
    const char* loop = "External reference to a file that is being loaded.";
    putFile("back.m3g", referring("top.m3g"));
    // <name>0 .. <name><n - 1>, each naming the next `count` times, then `last`.
    const auto chain = [&](const std::string& name, int n, int count, const Bytes& last) {
        for (int i = 0; i < n; ++i)
            putFile(name + std::to_string(i) + ".m3g", referring(name + std::to_string(i + 1) + ".m3g", count));
        putFile(name + std::to_string(n) + ".m3g", last);
    };
    chain("deep", 20, 1, m3gFile(groupObject()));
    chain("fan", 8, 4, m3gFile(groupObject()));
    chain("failing", 12, 1, referring("missing.m3g"));
    // From the files' own folder both attempts find each file, so every
    // level loads the failing level below it twice: 2^12 loads unbounded.
    std::optional<InFolder> inFolder(folder());

    const struct {
        const char* name;
        Bytes file;
        std::string message;
    } cases[] = {
        {"itself", referring("top.m3g"), loop},
        {"a file that refers back", referring("back.m3g"), loop},
        {"a chain 21 files deep", referring("deep0.m3g"), "External references nested too deeply."},
        {"four references a level", referring("fan0.m3g"), kTooMany},
        {"a chain that fails at its end", referring("failing0.m3g"), kTooMany},
    };
    for (const auto& c : cases) {
        expectRefusedByPath({{c.name, c.file, c.message}});
        // The bound counts attempts; the log shows each file loaded, warm-up run included.
        EXPECT_LE(loadsLogged(), 2 * (1 + 256)) << c.name;
        clearLog();
    }
    inFolder.reset();

    // Sixteen files below the top one still load.
    putFile("deep15.m3g", m3gFile(groupObject({}, 15)));
    putFile("top.m3g", referring("deep0.m3g"));
    const Objects out = loadPath(at("top.m3g"));
    ASSERT_EQ(out.m_size, 1);
    EXPECT_EQ(out[0]->getUserID(), 15);
}
