#include "OGLESTest.h"
#include "SceneGraphTest.h"

#include "OGLES2/OGLES2_Texture2D.h"

#include "render/Appearance.h"
#include "render/Image2D.h"

#include "core/Debug.h"

#include <GLES/gl.h>

#include <array>
#include <vector>

namespace {

using render::Image2D;
using render::Texture2D;
using testsupport::accepted;
using testsupport::hexColor;
using testsupport::outcomeOf;
using testsupport::refused;

class OGLESTexture2DTest : public testsupport::OGLESTest {
protected:
    core::Ref<render::OGLES2_Texture2D> makeTexture()
    {
        return static_cast<render::OGLES2_Texture2D*>(g3d().createNewTexture());
    }
    static core::Ref<Image2D> image(int format, int width, int height)
    {
        return VORNIC3D_NEW Image2D(format, width, height);
    }
    static GLint parameter(GLuint name, GLenum which)
    {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, name);
        glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
        glBindTexture(GL_TEXTURE_2D, 0);
        return value;
    }
    // The texels of a 2 x 2 texture drawn pixel for pixel, replacing the
    // fragment's colour (opaque white), through an appearance of the
    // application's, which culls back faces and gets its texture back: row 0
    // left, row 0 right, row 1 left, row 1 right.
    std::array<std::string, 4> texels(Texture2D* texture)
    {
        texture->setBlending(Texture2D::FUNC_REPLACE);
        clearTo(kClear);
        core::Ref<render::Appearance> plain = VORNIC3D_NEW render::Appearance();
        g3d().render(texture, translation(32.0f, 24.0f, 0.0f), plain.get());
        EXPECT_EQ(plain->getTexture(0), nullptr);
        return {hexColor(pixelAt(31, 24)), hexColor(pixelAt(32, 24)), hexColor(pixelAt(31, 23)),
                hexColor(pixelAt(32, 23))};
    }
};

} // namespace

// ---- sizes ---------------------------------------------------------------------------------

TEST_F(OGLESTexture2DTest, SidesMustBePowersOfTwo)
{
    const struct {
        int width, height;
        testsupport::Outcome outcome;
    } cases[] = {
        {1, 128, accepted()},
        {48, 32, refused("setImage failed because image width is illegal")},
        {64, 48, refused("setImage failed because image height is illegal")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        core::Ref<render::OGLES2_Texture2D> texture = makeTexture();
        core::Ref<Image2D> first = image(Image2D::RGBA, 2, 2);
        texture->setImage(first.get());
        const GLuint before = texture->getGLTexture();
        core::Ref<Image2D> second = image(Image2D::RGBA, c.width, c.height);
        EXPECT_EQ(outcomeOf([&] { texture->setImage(second.get()); }), c.outcome);
        if (c.outcome == accepted()) {
            EXPECT_EQ(texture->getImage(), second.get());
            EXPECT_FALSE(glIsTexture(before)); // the old name is given back
            EXPECT_EQ(parameter(texture->getGLTexture(), GL_GENERATE_MIPMAP), 1);
        } else {
            EXPECT_EQ(texture->getImage(), first.get());
            EXPECT_EQ(texture->getGLTexture(), before);
        }
    }
    EXPECT_EQ(outcomeOf([&] { makeTexture()->setImage(nullptr); }), testsupport::bare());
}

// ---- sampling ------------------------------------------------------------------------------

TEST_F(OGLESTexture2DTest, EachSamplingChangeUploadsAnewWithTheMappedValues)
{
    core::Ref<render::OGLES2_Texture2D> texture = makeTexture();
    core::Ref<Image2D> picture = image(Image2D::RGB, 4, 4);
    texture->setImage(picture.get());

    const struct {
        int level, image;
        GLint minification, magnification;
    } filters[] = {
        {Texture2D::FILTER_BASE_LEVEL, Texture2D::FILTER_LINEAR, GL_LINEAR, GL_LINEAR},
        {Texture2D::FILTER_LINEAR, Texture2D::FILTER_NEAREST, GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR},
        {Texture2D::FILTER_NEAREST, Texture2D::FILTER_LINEAR, GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST},
    };
    for (const auto& f : filters) {
        SCOPED_TRACE(testing::Message() << f.level << " " << f.image);
        const GLuint before = texture->getGLTexture();
        texture->setFiltering(f.level, f.image);
        EXPECT_FALSE(glIsTexture(before)); // uploaded anew, the old name given back
        EXPECT_EQ(parameter(texture->getGLTexture(), GL_TEXTURE_MIN_FILTER), f.minification);
        EXPECT_EQ(parameter(texture->getGLTexture(), GL_TEXTURE_MAG_FILTER), f.magnification);
    }

    const struct {
        int s, t;
        GLint wrapS, wrapT;
    } wrappings[] = {
        {Texture2D::WRAP_CLAMP, Texture2D::WRAP_REPEAT, GL_CLAMP_TO_EDGE, GL_REPEAT},
        {Texture2D::WRAP_REPEAT, 7, GL_REPEAT, GL_CLAMP_TO_EDGE},
    };
    for (const auto& w : wrappings) {
        SCOPED_TRACE(testing::Message() << w.s << " " << w.t);
        texture->setWrapping(w.s, w.t);
        EXPECT_EQ(parameter(texture->getGLTexture(), GL_TEXTURE_WRAP_S), w.wrapS);
        EXPECT_EQ(parameter(texture->getGLTexture(), GL_TEXTURE_WRAP_T), w.wrapT);
    }
}

TEST_F(OGLESTexture2DTest, UnknownSamplingValuesFailPlainlyAndKeepTheLastUpload)
{
    const struct {
        const char* what;
        std::function<void(Texture2D&)> set;
        const char* message;
    } cases[] = {
        {"level filter", [](Texture2D& t) { t.setFiltering(211, Texture2D::FILTER_NEAREST); },
         "You sure have some weird Filtering modes..."},
        {"blending", [](Texture2D& t) { t.setBlending(229); }, "Unknown Blending mode used."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        core::Ref<render::OGLES2_Texture2D> texture = makeTexture();
        core::Ref<Image2D> first = image(Image2D::RGBA, 2, 2);
        texture->setImage(first.get());
        const GLuint name = texture->getGLTexture();
        const int errors = core::Debug::getErrorCount();
        EXPECT_EQ(testsupport::messageOf<Vornic3DException>([&] { c.set(*texture); }), c.message);
        EXPECT_EQ(texture->getGLTexture(), name);
        EXPECT_TRUE(glIsTexture(name));

        // A new image is taken before the value is refused.
        core::Ref<Image2D> second = image(Image2D::RGBA, 4, 4);
        EXPECT_EQ(testsupport::messageOf<Vornic3DException>([&] { texture->setImage(second.get()); }), c.message);
        EXPECT_EQ(texture->getImage(), second.get());
        EXPECT_EQ(texture->getGLTexture(), name);
        EXPECT_EQ(core::Debug::getErrorCount(), errors); // nothing logged: no engine assertion
    }
}

// ---- formats -------------------------------------------------------------------------------

// The image keeps every format but RGB at four bytes a pixel: the device
// takes only the format's channels, luminance from byte 0 and alpha from
// byte 3. Bytes the format does not use hold values that would show if read.
TEST_F(OGLESTexture2DTest, EveryFormatUploadsItsOwnChannels)
{
    g3d().bindTarget(nullptr);
    const std::vector<unsigned char> four = {
        0x10, 0x77, 0x77, 0x20, 0x30, 0x77, 0x77, 0x40, // row 0
        0x50, 0x77, 0x77, 0x60, 0x70, 0x77, 0x77, 0x80, // row 1
    };
    // Two pixels a row: six bytes, not a whole number of 4-byte words.
    const std::vector<unsigned char> three = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0};
    const struct {
        const char* what;
        int format;
        const std::vector<unsigned char>* pixels;
        std::array<std::string, 4> expected;
    } cases[] = {
        {"RGBA", Image2D::RGBA, &four, {"0x20107777", "0x40307777", "0x60507777", "0x80707777"}},
        {"RGB", Image2D::RGB, &three, {"0xFFFF0000", "0xFF00FF00", "0xFF0000FF", "0xFFFFFF00"}},
        {"LUMINANCE", Image2D::LUMINANCE, &four, {"0xFF101010", "0xFF303030", "0xFF505050", "0xFF707070"}},
        {"ALPHA", Image2D::ALPHA, &four, {"0x20FFFFFF", "0x40FFFFFF", "0x60FFFFFF", "0x80FFFFFF"}},
        {"LUMINANCE_ALPHA", Image2D::LUMINANCE_ALPHA, &four, {"0x20101010", "0x40303030", "0x60505050", "0x80707070"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        core::Ref<render::OGLES2_Texture2D> texture = makeTexture();
        core::Ref<Image2D> picture = VORNIC3D_NEW Image2D(c.format, 2, 2, c.pixels->data());
        texture->setImage(picture.get());
        EXPECT_EQ(texels(texture.get()), c.expected);

        // The same pixels through a palette: entry i of the image above at
        // index 255 - i, all other entries black.
        const int bpp = Image2D::getBpp(c.format);
        std::vector<unsigned char> palette(256 * static_cast<std::size_t>(bpp), 0);
        for (std::size_t i = 0; i < 4; ++i)
            for (std::size_t b = 0; b < static_cast<std::size_t>(bpp); ++b)
                palette[(255 - i) * bpp + b] = (*c.pixels)[i * bpp + b];
        const unsigned char indices[] = {255, 254, 253, 252};
        core::Ref<Image2D> indexed = VORNIC3D_NEW Image2D(c.format, 2, 2, indices, palette.data());
        texture->setImage(indexed.get());
        EXPECT_EQ(texels(texture.get()), c.expected);
    }
}
