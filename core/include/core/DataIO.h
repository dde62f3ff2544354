#pragma once

#include "core/Object.h"
#include "core/String.h"
#include "core/Vector.h"

#include <cstdint>

namespace core {

// A cursor over a block of bytes already in memory: the current position,
// the bytes left and a name for messages. Reads and writes are little-endian,
// byte by byte (no alignment needed), check the bytes left first and advance.
// Contract: the owner keeps the block alive and readable (writable, for the
// writes) for the cursor's life; the cursor never owns it. No read or write
// passes the end of the block, whatever the data says: a short block fails
// with "Small stream buffer" (position unchanged), a non-finite float with
// "Invalid floating point number", both logged at level 1 and thrown as
// core::IOException with the cursor's name. A null position is the engine
// assertion. The owner may move `data` and `bytesLeft` itself to skip data;
// a negative `bytesLeft` counts as no bytes.
class DataIO : public Object {
public:
    DataIO(const unsigned char* block, int size);
    // A view of the next `size` bytes of `other`, with its name; `other` does
    // not move. `size` must lie within other's bytes left.
    DataIO(const DataIO& other, int size);
    ~DataIO() override;

    DataIO(const DataIO&) = delete;
    DataIO& operator=(const DataIO&) = delete;

    unsigned char* getCurrentPointer() const;

    // ---- reads ----
    // 8-bit unsigned, 16-bit and 32-bit integers.
    template <typename T>
    void getStreamData(T& value);
    void getStreamData(float& value);
    // Bytes up to a zero byte, each widened to one character; the cursor moves
    // past the zero byte.
    void getStreamData(String& value);
    // A 32-bit count, then that many bytes.
    void getStreamData(Vector<unsigned char>& values);
    // A 32-bit count, then that many 16-bit or 32-bit values.
    template <typename T>
    void getStreamData(Vector<T>& values);

    // ---- writes ----
    // 8-bit unsigned, 16-bit and 32-bit integers.
    template <typename T>
    void setStreamData(T value);
    // Both zeros are written as +0.
    void setStreamData(float value);

    // ---- for readers of their own formats ----
    // Bytes the cursor may still touch.
    std::int64_t available() const { return bytesLeft < 0 ? 0 : bytesLeft; }
    // Fails with "Small stream buffer" unless `bytes` are left.
    void require(std::int64_t bytes) const;
    // Moves past `bytes` that require() has granted.
    void advance(int bytes);
    // The failure of a stream named `name`: logs "IO error (<name>):
    // \"<message>\"\n" at level 1 and throws core::IOException. Readers
    // report the invalid values of their own primitives through it too.
    [[noreturn]] static void ioError(const String& name, const char* message);

    unsigned char* data;
    std::int32_t bytesLeft;
    String name;

private:
    // Decodes the value at the position and moves past it; require() first.
    template <typename T>
    T readLittleEndian();
    void writeBits(std::uint32_t bits, int bytes);
};

} // namespace core

#include "core/DataIO.inl"
