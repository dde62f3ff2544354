#pragma once

#include "M3GFrame.h"
#include "SceneGraphTest.h"

#include "core/AssertationFailedException.h"
#include "core/IOException.h"
#include "render/ArithmeticException.h"
#include "render/Group.h"
#include "render/M3G_Loader.h"

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

using Objects = core::Vector<core::Ref<render::Object3D>>;

constexpr char kOuter[] = "Unknown data source"; // the name of the stream over the whole file
constexpr char kNil[] = "Reference to unloaded object detected. Reference is nil.";

// A file of one section holding `objects`.
inline Bytes fileOf(const std::vector<Bytes>& objects, int scheme = 0)
{
    return m3gFile(joined(objects), scheme);
}

// The scene-graph fixture for the scene-file reader: loads built files and
// runs tables of refused files.
class M3G_LoaderTest : public SceneGraphTest {
protected:
    // A file the load must refuse. The reader refuses with core::IOException
    // carrying `message` and the name of the stream it failed in: none for
    // the parse errors and for the reads in a compressed section. A value
    // that passes the reader's checks ends the load with the exception of
    // the scene-graph setter that refused it, carrying `message`.
    struct Refusal {
        enum Thrown { kByTheReader, kSetterAssertion, kArithmeticException };

        const char* name;
        Bytes file;
        std::string message;
        std::string stream = "";
        Thrown thrown = kByTheReader;
    };

    // For each row: the load throws the row's exception (the reader's logged
    // as a parse error or as the stream's I/O error), leaves the caller's
    // vector as it was and gives back every block it took from both pools.
    void expectRefusals(const std::vector<Refusal>& rows)
    {
        for (const Refusal& row : rows) {
            SCOPED_TRACE(row.name);
            expectRefused(row, [&](Objects& out) {
                render::M3G_Loader reader;
                reader.load(row.file.data(), static_cast<int>(row.file.size()), out);
            });
        }
    }

    void expectRefused(const Refusal& row, const std::function<void(Objects&)>& load)
    {
        Objects out;
        out.pushBack(core::Ref<render::Object3D>(VORNIC3D_NEW render::Group()));
        render::Object3D* before = out[0].get();
        // A first run lets the string pool's table grow to what the load
        // needs; it only grows, so the second run must give back all it takes.
        try {
            load(out);
        } catch (...) {
        }
        const int blocks = mainPool()->getAllocatedBlocks();
        const int used = mainPool()->getUsedMem();
        const int strings = stringPool()->getAllocatedBlocks();
        // Not cleared: the log also holds the failures of the rows before.
        const std::size_t logStart = log().size();
        try {
            load(out);
            ADD_FAILURE() << "loaded";
        } catch (const core::IOException& e) {
            EXPECT_EQ(row.thrown, Refusal::kByTheReader) << e.message;
            EXPECT_EQ(std::string(e.message), "IO Name: " + row.stream + ". Message: " + row.message);
            const std::string written = log().substr(logStart);
            const bool ioError = countOf(written, "IO error (" + row.stream + "): \"" + row.message + "\"\n") > 0;
            const bool parseError = countOf(written, "Parse error: \"" + row.message + "\"\n") > 0;
            EXPECT_TRUE(ioError || (row.stream.empty() && parseError)) << written;
        } catch (const AssertationFailedException& e) {
            EXPECT_EQ(row.thrown, Refusal::kSetterAssertion);
            EXPECT_EQ(std::string(e.message), row.message);
        } catch (const render::ArithmeticException& e) {
            EXPECT_EQ(row.thrown, Refusal::kArithmeticException);
            EXPECT_EQ(std::string(e.message), row.message);
        }
        ASSERT_EQ(out.m_size, 1);
        EXPECT_EQ(out[0].get(), before);
        EXPECT_EQ(mainPool()->getAllocatedBlocks(), blocks);
        EXPECT_EQ(mainPool()->getUsedMem(), used);
        EXPECT_EQ(stringPool()->getAllocatedBlocks(), strings);
    }

    // Loads `file` from memory; a refusal fails the test.
    static Objects load(const Bytes& file)
    {
        Objects out;
        render::M3G_Loader reader;
        reader.load(file.data(), static_cast<int>(file.size()), out);
        return out;
    }

    // The user ids of the loaded roots, which the tests' groups set to
    // their own positions in the file.
    static std::vector<int> userIDs(const Objects& out)
    {
        std::vector<int> ids;
        for (int i = 0; i < out.m_size; ++i)
            ids.push_back(out[i]->getUserID());
        return ids;
    }

    static render::Group* groupAt(const Objects& out, int index)
    {
        return index < out.m_size ? dynamic_cast<render::Group*>(out[index].get()) : nullptr;
    }
};

} // namespace testsupport

using M3G_LoaderTest = testsupport::M3G_LoaderTest;
