#include "hal/File.h"

#include "hal/General/GeneralFile.h"

namespace HAL {

// ---- creation -------------------------------------------------------------------

File* File::createFileHandle(const core::String& path)
{
    return VORNIC3D_NEW GeneralFile(path);
}

File::File() : m_name(""), m_path("") {}

// ---- path -----------------------------------------------------------------------

void File::setPathAndName(const core::String& path, const core::String& name)
{
    m_path = path;
    m_name = name;
}

} // namespace HAL
