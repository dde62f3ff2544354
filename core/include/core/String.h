#pragma once

#include "core/Object.h"

#include <cstdint>

namespace core {

// The engine's text: UTF-16 little-endian in a core::StringPool record (byte
// order mark, one unit per character, zero unit), held by handle. Copies share
// the record; `+=` and `setCharAt` change it in place, so every string that
// shares it sees the change, while assignment, setData and format move this
// string to a new record. c_str keeps an 8-bit copy until this string's text
// changes (sharers keep theirs).
// Contract: the string pool must exist in core::Globals while a string is
// made, changed or read; the destructor alone tolerates its absence. Index
// errors and too-small buffers throw a new StringIndexOutOfBoundsException,
// text of fewer than 5 bytes a new UnsupportedCharacterSetException (both by
// pointer, owned by the catcher); every other misuse fails the engine
// assertion. Every scan is bounded by the record's length, so a record set
// from raw bytes without a terminator is still safe to read.
class String : public virtual Object {
public:
    class StringIndexOutOfBoundsException {};
    class UnsupportedCharacterSetException {};

    // ---- construction and assignment ----
    String(const char* text);
    String(const String& other);
    ~String() override;
    String& operator=(const String& other);
    String& operator=(const char* text);
    // Raw UTF-16 LE bytes, with or without the byte order mark; the bytes must
    // carry their terminator, as exactly `bytes` bytes are copied.
    void setData(const unsigned char* data, int bytes);
    // Zero-terminated 16-bit units, with or without the mark.
    void setData(const unsigned short* text);

    // ---- reading ----
    int length() const;
    // The record's size in bytes (mark, characters and terminator).
    int getDataSize() const;
    unsigned short charAt(int index) const;
    // Copies the mark and the characters from startIndex on, and a zero unit
    // when there is room for it; a short buffer cuts the copy.
    void getData(unsigned short* buffer, int bufferBytes, int startIndex = 0) const;
    // The low byte of each character and a zero byte.
    void toASCII(char* buffer, int bufferSize) const;
    // Valid until this string's text changes or the string goes.
    const char* c_str() const;
    // -1, 0 or 1, by the UTF-16 units; a string without a record is smallest.
    int compareTo(const String& other) const;

    // ---- search ----
    int indexOf(unsigned short c, int fromIndex) const;
    int indexOf(unsigned short c) const;
    int lastIndexOf(unsigned short c, int fromIndex) const;
    int lastIndexOf(unsigned short c) const;

    // ---- new strings ----
    // Characters beginIndex .. endIndex, both included.
    String substring(int beginIndex, int endIndex) const;
    String substring(int beginIndex) const;
    String operator+(const String& other) const;
    String operator+(const char* text) const;
    String replace(unsigned short oldChar, unsigned short newChar) const;
    // Sets this string to the formatted text, which may be 1 .. 4 x
    // strlen(format) characters long.
    void format(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // ---- changes in place (seen by every sharer) ----
    String& operator+=(const String& other);
    String& operator+=(const char* text);
    String& operator+=(char c);
    void setCharAt(unsigned short c, int index);

private:
    void dropASCII() const;
    // The characters of the record (behind the mark).
    const unsigned short* units() const;

    std::int32_t m_handle;
    mutable char* m_ascii;
};

} // namespace core
