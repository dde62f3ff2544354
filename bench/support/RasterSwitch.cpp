// The draws and clears of the benchmark program, in front of the OpenGL ES
// library's: see RasterSwitch.h.
#include "support/RasterSwitch.h"

#include <GLES/gl.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool g_rasterization = true;

// The library's own entry point of that name, the next one behind ours.
template <typename Function>
Function library(const char* name)
{
    void* found = dlsym(RTLD_NEXT, name);
    if (found == nullptr) {
        std::fprintf(stderr, "RasterSwitch: no %s behind the benchmark's own\n", name);
        std::abort();
    }
    return reinterpret_cast<Function>(found);
}

} // namespace

namespace benchsupport {

void setRasterization(bool on)
{
    g_rasterization = on;
}

} // namespace benchsupport

GL_API void GL_APIENTRY glClear(GLbitfield mask)
{
    static const auto clear = library<void(GL_APIENTRY*)(GLbitfield)>("glClear");
    if (g_rasterization)
        clear(mask);
}

GL_API void GL_APIENTRY glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices)
{
    static const auto draw = library<void(GL_APIENTRY*)(GLenum, GLsizei, GLenum, const void*)>("glDrawElements");
    if (g_rasterization)
        draw(mode, count, type, indices);
}

GL_API void GL_APIENTRY glDrawArrays(GLenum mode, GLint first, GLsizei count)
{
    static const auto draw = library<void(GL_APIENTRY*)(GLenum, GLint, GLsizei)>("glDrawArrays");
    if (g_rasterization)
        draw(mode, first, count);
}
