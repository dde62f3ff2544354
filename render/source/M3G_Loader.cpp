#include "render/M3G_Loader.h"

#include "File.h"
#include "core/Assert.h"
#include "render/Loader_helpers.h"

#include <cstring>

namespace render {

namespace {

constexpr int kIdentifierLength = 12;
constexpr unsigned char kIdentifier[kIdentifierLength] = {0xAB, 0x4A, 0x53, 0x52, 0x31, 0x38,
                                                           0x34, 0xBB, 0x0D, 0x0A, 0x1A, 0x0A};

} // namespace

// ---- life cycle -----------------------------------------------------------------

M3G_Loader::M3G_Loader() = default;

M3G_Loader::M3G_Loader(HAL::File* file) : m_file(file) {}

M3G_Loader::~M3G_Loader() noexcept(false) = default;

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
    static_cast<void>(length);
    static_cast<void>(out);
    parseError("M3G scene files cannot be read");
}

} // namespace render
