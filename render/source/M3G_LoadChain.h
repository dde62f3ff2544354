#pragma once

namespace render {

// The scene files being loaded on this thread, outermost first: an external
// reference loads its file through render::Loader, which makes a reader of
// its own, so only the thread knows how deep a load is nested and what lies
// above it. Bounds every top-level load: at most kMaxDepth files below it,
// kMaxNestedLoads nested load attempts in all (retries included), and no
// file whose content is already being loaded further up (that would never
// end). Once one of these refuses, the whole top-level load fails: nothing
// further up may retry.
// Contract: every M3G_Loader::load holds an Entry for its whole run; the
// data each entry names stays alive while the entry does, as the callers of
// load guarantee.
class M3G_LoadChain {
public:
    static constexpr int kMaxDepth = 16;
    static constexpr int kMaxNestedLoads = 256;

    // Joins the chain; a nested load whose content repeats an outer one, or
    // lies too deep, is refused with a parse error.
    class Entry {
    public:
        Entry(const unsigned char* data, int length);
        ~Entry();

        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;
    };

    // Counts one nested load attempt of the load in hand; refuses it with a
    // parse error beyond the bound.
    static void countNestedLoad();
    // True once a bound refused a load of the current top-level load.
    static bool refused();

    M3G_LoadChain() = delete;

private:
    [[noreturn]] static void refuse(const char* message);
};

} // namespace render
