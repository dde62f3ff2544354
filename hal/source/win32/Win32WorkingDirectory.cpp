#include "hal/win32/Win32WorkingDirectory.h"

#include "core/Assert.h"
#include "hal/File.h"

#include "wince/Module.h"

#include <memory>

namespace HAL {

// ---- the executable's folder ------------------------------------------------------

core::String File::getWorkingDirectory()
{
    constexpr DWORD kBufferLength = 4096;
    const std::unique_ptr<WCHAR[]> buffer(new WCHAR[kBufferLength]);
    const DWORD length = GetModuleFileNameW(nullptr, buffer.get(), kBufferLength);
    // A path cut at the buffer's end would name another folder.
    if (length == 0 || length >= kBufferLength)
        return core::String("/");
    return executableFolder(buffer.get());
}

core::String executableFolder(const WCHAR* path)
{
    VORNIC3D_CHECK(path != nullptr);
    int length = 0;
    while (path[length] != 0)
        ++length;
    int cut = length - 1;
    while (cut >= 0 && path[cut] != u'\\' && path[cut] != u'/')
        --cut;
    VORNIC3D_CHECK(cut >= 0);
    if (cut == 0)
        return core::String("/");

    // The separator at `cut` becomes the one trailing '/'.
    const std::unique_ptr<unsigned short[]> folder(new unsigned short[static_cast<std::size_t>(cut) + 2]);
    for (int i = 0; i < cut; ++i)
        folder[i] = path[i] == u'\\' ? u'/' : static_cast<unsigned short>(path[i]);
    folder[cut] = u'/';
    folder[cut + 1] = 0;
    core::String result("");
    result.setData(folder.get());
    return result;
}

} // namespace HAL
