// The guard that bounds nested scene-file loads.
#include "M3G_LoadChain.h"

#include "render/Loader_helpers.h"

#include <cstring>

namespace render {

namespace {

struct Chain {
    // The content of each load in hand, outermost first.
    const unsigned char* data[M3G_LoadChain::kMaxDepth + 1];
    int length[M3G_LoadChain::kMaxDepth + 1];
    int depth;
    int nestedLoads;
    bool refused;
};

thread_local Chain t_chain = {};

} // namespace

// ---- entries ------------------------------------------------------------------------

M3G_LoadChain::Entry::Entry(const unsigned char* data, int length)
{
    Chain& chain = t_chain;
    if (chain.depth == 0) {
        chain.nestedLoads = 0;
        chain.refused = false;
    }
    if (chain.depth > kMaxDepth)
        refuse("External references nested too deeply.");
    // Compared by content, so that no spelling of a path (relative, through
    // a link, beside the referencing file) can hide a loop.
    for (int i = 0; i < chain.depth; ++i) {
        if (chain.length[i] == length && std::memcmp(chain.data[i], data, static_cast<std::size_t>(length)) == 0)
            refuse("External reference to a file that is being loaded.");
    }
    chain.data[chain.depth] = data;
    chain.length[chain.depth] = length;
    ++chain.depth;
}

M3G_LoadChain::Entry::~Entry()
{
    --t_chain.depth;
}

// ---- bounds ---------------------------------------------------------------------------

void M3G_LoadChain::countNestedLoad()
{
    if (++t_chain.nestedLoads > kMaxNestedLoads)
        refuse("Too many external references.");
}

bool M3G_LoadChain::refused()
{
    return t_chain.refused;
}

void M3G_LoadChain::refuse(const char* message)
{
    t_chain.refused = true;
    parseError(message);
}

} // namespace render
