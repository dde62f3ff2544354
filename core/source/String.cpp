#include "core/String.h"

#include "core/Assert.h"
#include "core/Globals.h"
#include "core/MemoryManager.h"
#include "core/StringPool.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

// Records are read and written as native 16-bit units.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "core::String expects a little-endian host");

namespace core {

namespace {

constexpr unsigned short kByteOrderMark = 0xFEFF;
// Mark and terminator.
constexpr int kFrameUnits = 2;
// The most characters a record can hold with its byte size in 32 bits.
constexpr std::int64_t kMaxLength = INT32_MAX / 2 - kFrameUnits;

StringPool& pool()
{
    StringPool* strings = Globals::get()->m_stringPool;
    VORNIC3D_CHECK(strings != nullptr);
    return *strings;
}

int lengthOfSize(int size)
{
    return size < kFrameUnits * 2 ? 0 : (size - kFrameUnits * 2) / 2;
}

int signOf(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// Characters U+0001..U+00FF up to the end or the first zero unit, where
// both comparisons stop: the texts whose 8-bit copies order the same.
bool isNarrow(const unsigned short* units, int length)
{
    for (int i = 0; i < length && units[i] != 0; ++i)
        if (units[i] > 0xFF)
            return false;
    return true;
}

} // namespace

// ---- construction and assignment ----------------------------------------------

String::String(const char* text) : m_handle(-1), m_ascii(nullptr)
{
    VORNIC3D_CHECK(text != nullptr);
    const std::size_t count = std::strlen(text);
    VORNIC3D_CHECK(static_cast<std::int64_t>(count) <= kMaxLength);
    const int length = static_cast<int>(count);
    StringPool& strings = pool();
    m_handle = strings.allocString((length + kFrameUnits) * 2);
    VORNIC3D_CHECK(strings.isValid(m_handle));
    unsigned short* out = strings.getData(m_handle);
    out[0] = kByteOrderMark;
    // Bytes 0x80..0xFF become U+0080..U+00FF.
    for (int i = 0; i < length; ++i)
        out[i + 1] = static_cast<unsigned char>(text[i]);
    out[length + 1] = 0;
}

String::String(const String& other) : Object(), m_handle(-1), m_ascii(nullptr)
{
    if (other.m_handle < 0)
        return;
    StringPool& strings = pool();
    if (strings.isValid(other.m_handle)) {
        strings.addRef(other.m_handle);
        m_handle = other.m_handle;
    }
}

String::~String()
{
    dropASCII();
    try {
        if (m_handle >= 0) {
            StringPool& strings = pool();
            if (strings.isValid(m_handle))
                strings.freeString(m_handle);
        }
    } catch (...) {
        // A destructor must not throw; without a pool there is nothing to free.
    }
    m_handle = -1;
}

String& String::operator=(const String& other)
{
    if (&other == this || other.m_handle == m_handle)
        return *this;
    dropASCII();
    const int old = m_handle;
    m_handle = -1;
    StringPool& strings = pool();
    if (strings.isValid(other.m_handle)) {
        strings.addRef(other.m_handle);
        m_handle = other.m_handle;
    }
    if (strings.isValid(old))
        strings.freeString(old);
    return *this;
}

String& String::operator=(const char* text)
{
    VORNIC3D_CHECK(text != nullptr);
    // The new text is made before the old one and its 8-bit copy go: `text`
    // may be this string's own c_str().
    const String fresh(text);
    return *this = fresh;
}

void String::setData(const unsigned char* data, int bytes)
{
    VORNIC3D_CHECK(data != nullptr);
    if (bytes < 5)
        throw new UnsupportedCharacterSetException();
    StringPool& strings = pool();
    // The new record is filled before the old one goes, so that `data` may
    // point into it and a failure keeps the old text.
    int handle = -1;
    if (data[0] == 0xFF && data[1] == 0xFE) {
        handle = strings.allocString(bytes);
        std::memcpy(strings.getData(handle), data, static_cast<std::size_t>(bytes));
    } else if (data[0] == 0xFE && data[1] == 0xFF) {
        VORNIC3D_ASSERT(false, "No implementation");
    } else {
        VORNIC3D_CHECK(bytes <= INT32_MAX - 2);
        handle = strings.allocString(bytes + 2);
        auto* out = reinterpret_cast<unsigned char*>(strings.getData(handle));
        out[0] = 0xFF;
        out[1] = 0xFE;
        std::memcpy(out + 2, data, static_cast<std::size_t>(bytes));
    }
    dropASCII();
    const int old = m_handle;
    m_handle = handle;
    if (strings.isValid(old))
        strings.freeString(old);
}

void String::setData(const unsigned short* text)
{
    VORNIC3D_CHECK(text != nullptr);
    std::int64_t count = 0;
    while (text[count] != 0) {
        ++count;
        VORNIC3D_CHECK(count <= kMaxLength);
    }
    setData(reinterpret_cast<const unsigned char*>(text), static_cast<int>((count + 1) * 2));
}

// ---- reading ------------------------------------------------------------------

int String::length() const
{
    return lengthOfSize(pool().getSize(m_handle));
}

int String::getDataSize() const
{
    return pool().getSize(m_handle);
}

unsigned short String::charAt(int index) const
{
    if (index < 0 || index >= length())
        throw new StringIndexOutOfBoundsException();
    return units()[index];
}

void String::getData(unsigned short* buffer, int bufferBytes, int startIndex) const
{
    VORNIC3D_CHECK(buffer != nullptr);
    const unsigned short* record = pool().getData(m_handle);
    VORNIC3D_CHECK(record != nullptr);
    VORNIC3D_ASSERT(bufferBytes > 2, "Too small buffer");
    const int count = length();
    VORNIC3D_CHECK(startIndex >= 0 && startIndex <= count);
    buffer[0] = record[0];
    const int room = (bufferBytes - 2) / 2;
    const int characters = count - startIndex;
    const int copied = characters < room ? characters : room;
    std::memcpy(buffer + 1, record + 1 + startIndex, static_cast<std::size_t>(copied) * 2);
    // The terminator is written, not copied: a record set from raw bytes
    // need not carry one.
    if (characters < room)
        buffer[1 + characters] = 0;
}

void String::toASCII(char* buffer, int bufferSize) const
{
    VORNIC3D_CHECK(buffer != nullptr);
    const int count = length();
    if (bufferSize < count + 1)
        throw new StringIndexOutOfBoundsException();
    const unsigned short* text = units();
    for (int i = 0; i < count; ++i)
        buffer[i] = static_cast<char>(text[i] & 0xFF);
    buffer[count] = '\0';
}

const char* String::c_str() const
{
    if (m_ascii == nullptr) {
        const int count = length();
        char* copy = new char[static_cast<std::size_t>(count) + 1];
        try {
            toASCII(copy, count + 1);
        } catch (...) {
            delete[] copy;
            throw;
        }
        m_ascii = copy;
    }
    return m_ascii;
}

int String::compareTo(const String& other) const
{
    if (&other == this || other.m_handle == m_handle)
        return 0;
    StringPool& strings = pool();
    if (!strings.isValid(m_handle))
        return -1;
    if (!strings.isValid(other.m_handle))
        return 1;

    const int count = length();
    const int otherCount = other.length();
    const unsigned short* text = units();
    const unsigned short* otherText = other.units();
    // Up to the first difference or the terminator: a zero unit inside a
    // text ends it as the end of its record does.
    int result = 0;
    for (int i = 0; result == 0; ++i) {
        const unsigned short unit = i < count ? text[i] : 0;
        const unsigned short otherUnit = i < otherCount ? otherText[i] : 0;
        if (unit != otherUnit)
            result = unit < otherUnit ? -1 : 1;
        else if (unit == 0)
            break;
    }

    // Cross-check against the 8-bit copies, where they can agree at all.
    if (isNarrow(text, count) && isNarrow(otherText, otherCount)) {
        const int asciiResult = signOf(std::strcmp(c_str(), other.c_str()));
        VORNIC3D_ASSERT(asciiResult == result, "Bug in String::compareTo!");
    }
    return result;
}

// ---- search -------------------------------------------------------------------

int String::indexOf(unsigned short c, int fromIndex) const
{
    const int count = length();
    VORNIC3D_CHECK(fromIndex >= 0 && fromIndex < count);
    const unsigned short* text = units();
    for (int i = fromIndex; i < count; ++i)
        if (text[i] == c)
            return i;
    return -1;
}

int String::indexOf(unsigned short c) const
{
    VORNIC3D_CHECK(length() > 0);
    return indexOf(c, 0);
}

int String::lastIndexOf(unsigned short c, int fromIndex) const
{
    VORNIC3D_CHECK(fromIndex >= 0 && fromIndex < length());
    const unsigned short* text = units();
    for (int i = fromIndex; i >= 0; --i)
        if (text[i] == c)
            return i;
    return -1;
}

int String::lastIndexOf(unsigned short c) const
{
    return lastIndexOf(c, length() - 1);
}

// ---- new strings --------------------------------------------------------------

String String::substring(int beginIndex, int endIndex) const
{
    VORNIC3D_CHECK(endIndex >= beginIndex);
    const int count = length();
    VORNIC3D_CHECK(endIndex >= 0 && endIndex < count);
    VORNIC3D_CHECK(beginIndex >= 0 && beginIndex < count);
    const int characters = endIndex - beginIndex + 1;
    const int bytes = (characters + kFrameUnits) * 2;
    auto* buffer = new unsigned short[static_cast<std::size_t>(characters) + kFrameUnits];
    try {
        getData(buffer, bytes, beginIndex);
        buffer[characters + 1] = 0;
        String result("");
        // Up to the first zero unit: a U+0000 inside the range ends the copy.
        result.setData(buffer);
        delete[] buffer;
        return result;
    } catch (...) {
        delete[] buffer;
        throw;
    }
}

String String::substring(int beginIndex) const
{
    return substring(beginIndex, length() - 1);
}

String String::operator+(const String& other) const
{
    String result("");
    result += *this;
    result += other;
    return result;
}

String String::operator+(const char* text) const
{
    VORNIC3D_CHECK(text != nullptr);
    const String tail(text);
    return *this + tail;
}

String String::replace(unsigned short oldChar, unsigned short newChar) const
{
    String result = String("") + *this;
    int i = result.indexOf(oldChar);
    while (i >= 0) {
        result.setCharAt(newChar, i);
        if (i + 1 >= result.length())
            break;
        i = result.indexOf(oldChar, i + 1);
    }
    return result;
}

void String::format(const char* format, ...)
{
    VORNIC3D_CHECK(format != nullptr);
    const std::size_t formatLength = std::strlen(format);
    VORNIC3D_CHECK(formatLength <= static_cast<std::size_t>((INT32_MAX - 1) / 4));
    const int capacity = 4 * static_cast<int>(formatLength);
    char* buffer = static_cast<char*>(VORNIC3D_ALLOC(capacity + 1));
    try {
        va_list args;
        va_start(args, format);
        // Bounded: a longer result is cut here and refused below.
        const int written = std::vsnprintf(buffer, static_cast<std::size_t>(capacity) + 1, format, args);
        va_end(args);
        VORNIC3D_CHECK(written >= 1 && written <= capacity);
        *this = buffer;
    } catch (...) {
        VORNIC3D_FREE(buffer);
        throw;
    }
    VORNIC3D_FREE(buffer);
}

// ---- changes in place -----------------------------------------------------------

String& String::operator+=(const String& other)
{
    // Appending a record to itself would read it while it moves.
    VORNIC3D_CHECK(&other != this);
    VORNIC3D_CHECK(other.m_handle != m_handle);
    StringPool& strings = pool();
    if (!strings.isValid(m_handle))
        return *this = other;
    if (!strings.isValid(other.m_handle))
        return *this;

    const int otherCount = other.length();
    if (otherCount > 0) {
        const int count = length();
        VORNIC3D_CHECK(static_cast<std::int64_t>(count) + otherCount <= kMaxLength);
        const int newSize = (count + otherCount + kFrameUnits) * 2;
        const unsigned char* grown = strings.reallocString(m_handle, newSize);
        VORNIC3D_CHECK(grown != nullptr && strings.getSize(m_handle) == newSize);
        unsigned short* end = strings.getData(m_handle) + 1 + count;
        std::memcpy(end, other.units(), static_cast<std::size_t>(otherCount) * 2);
        end[otherCount] = 0;
    }
    dropASCII();
    return *this;
}

String& String::operator+=(const char* text)
{
    VORNIC3D_CHECK(text != nullptr);
    // Made before this string's 8-bit copy goes: `text` may be that copy.
    const String tail(text);
    return *this += tail;
}

String& String::operator+=(char c)
{
    const char text[2] = {c, '\0'};
    return *this += text;
}

void String::setCharAt(unsigned short c, int index)
{
    if (index < 0 || index >= length())
        throw new StringIndexOutOfBoundsException();
    pool().getData(m_handle)[1 + index] = c;
    dropASCII();
}

// ---- helpers --------------------------------------------------------------------

void String::dropASCII() const
{
    delete[] m_ascii;
    m_ascii = nullptr;
}

const unsigned short* String::units() const
{
    return pool().getData(m_handle) + 1;
}

} // namespace core
