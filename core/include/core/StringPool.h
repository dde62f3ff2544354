#pragma once

#include "core/Vector.h"

#include <cstdint>

namespace core {

// The store of every core::String's text: a table of counted records, each
// holding bytes from the string-pool memory manager; a handle is an index into
// the table. Copies of a string share one record instead of copying its text.
// Contract: one pool, a plain object in the m_stringPool slot of
// core::Globals, made after both memory managers and deleted before them.
// The pool knows nothing of the bytes' meaning (core::String owns that). A
// freed slot is reused by the next allocation (always the lowest free slot);
// the table never shrinks. Every handle given to an operation but isValid
// must name a live record, else the engine assertion fails.
class StringPool {
public:
    // One text. Plain new on the system heap, so that the record table does
    // not compete with the texts for the small string pool.
    struct Strings {
        std::int32_t refCount;
        std::int32_t size;
        unsigned char* data; // from the string-pool memory manager; null once freed
    };

    StringPool();
    // Deletes the remaining records but not their texts: text still allocated
    // here is a leak that the string-pool memory manager reports.
    ~StringPool();

    StringPool(const StringPool&) = delete;
    StringPool& operator=(const StringPool&) = delete;

    // ---- records ----
    // A new record of `size` zero bytes with one reference; returns its handle.
    int allocString(int size);
    // Moves the record to new memory of `newSize` bytes holding the old content
    // (cut, or followed by undefined bytes); null when the memory manager gave
    // none, the record then unchanged. The handle stays the same.
    unsigned char* reallocString(int handle, int newSize);
    // Drops one reference; the last one frees the text and the slot.
    void freeString(int handle);
    void addRef(int handle);

    // ---- access ----
    int getSize(int handle) const;
    unsigned short* getData(int handle) const;
    // True for a handle of a live record; never fails.
    bool isValid(int handle) const;

private:
    Strings* recordOf(int handle) const;

    Vector<Strings*> m_strings;
};

} // namespace core
