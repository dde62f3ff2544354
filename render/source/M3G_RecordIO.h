#pragma once

#include "render/Loader_helpers.h"
#include "render/M3G_Loader.h"
#include "render/M3G_Records.h"

#include <cstddef>
#include <cstdint>

namespace render {

// How a record is read and how it is written: each record's one field list
// (render/M3G_Records.h) run by the reading or the writing cursor. What the
// two directions do differently stands here, the two cursors side by side
// and then the two skeletons. Within a record only the cursors differ: a
// count read from a file is checked against the bytes left before anything
// is sized for it, a count written is its vector's size. A reader checks a
// record once it has read all of it, and applies it to its object before it
// reads the next record; a writer fills a record from its object and checks
// it before it writes the first field, so a refused record writes nothing of
// its own.

// ---- the cursors -----------------------------------------------------------------------

// The reading cursor: each field a list names is read from the stream, in
// the order named.
// Contract: the stream outlives the cursor. Counts come from the file, so a
// count of elements is refused (the stream's "Small stream buffer") before
// anything is sized for it when the bytes left cannot hold that many of the
// smallest element; a boolean other than 0 or 1 and a float that is not
// finite are the stream's errors as well.
class M3G_Loader::FieldReader {
public:
    explicit FieldReader(core::DataIO& stream) : m_stream(stream) {}

    // Integers, booleans, floats, fixed arrays of them, and counted arrays
    // of integers (a 32-bit count, then the values).
    template <typename... Fields>
    void operator()(Fields&... fields)
    {
        (read(fields), ...);
    }

    // A 32-bit count, then that many elements, each by `elementFields`.
    template <typename Element, typename ElementFields>
    void counted(core::Vector<Element>& elements, ElementFields elementFields)
    {
        std::uint32_t count = 0;
        read(count);
        require(count, Element::kSmallestLength);
        sized(count, elements, elementFields);
    }

    // `count` elements, the count being a field read before: each a value,
    // or by `elementFields`.
    template <typename Element>
    void sized(std::uint32_t count, core::Vector<Element>& elements)
    {
        sized(count, elements, [this](Element& element) { read(element); });
    }
    template <typename Element, typename ElementFields>
    void sized(std::uint32_t count, core::Vector<Element>& elements, ElementFields elementFields)
    {
        elements.setSize(static_cast<int>(count));
        for (int i = 0; i < elements.m_size; ++i)
            elementFields(elements[i]);
    }

    // A vertex array's `count` values of one width, in one pass over the
    // bytes: vertex data is most of a scene file.
    void values(std::uint32_t count, core::Vector<signed char>& values);
    void values(std::uint32_t count, core::Vector<short>& values);

    // A 32-bit field stored as the narrower `Stored`.
    template <typename Stored>
    void narrowed(std::uint32_t& value, Stored)
    {
        Stored stored = 0;
        read(stored);
        value = stored;
    }

    // Refuses `count` elements of at least `smallest` bytes that the bytes
    // left cannot hold.
    void require(std::uint32_t count, int smallest);

private:
    template <typename Value>
    void read(Value& value)
    {
        m_stream.getStreamData(value);
    }
    void read(bool& value);
    // A signed byte, stored as its two's complement.
    void read(signed char& value);
    template <typename Value, std::size_t N>
    void read(Value (&values)[N])
    {
        for (Value& value : values)
            read(value);
    }

    core::DataIO& m_stream;
};

// The writing cursor: each field a list names is written to the stream, in
// the order named.
// Contract: the stream outlives the cursor, and the cursor never changes
// the record. Each value is stored at the stream's position, which checks
// the bytes left (and a float's finiteness) first: too few is the stream's
// "Small stream buffer", and what was written before it stays. A counted
// array is written as its vector holds it, its size the count: the record
// was checked before its first field was written.
class M3G_Loader::FieldWriter {
public:
    explicit FieldWriter(core::DataIO& stream) : m_stream(stream) {}

    // Integers, booleans, floats, fixed arrays of them, and counted arrays
    // of integers (a 32-bit count, then the values).
    template <typename... Fields>
    void operator()(const Fields&... fields)
    {
        (write(fields), ...);
    }

    // The count, then each element by `elementFields`.
    template <typename Element, typename ElementFields>
    void counted(const core::Vector<Element>& elements, ElementFields elementFields)
    {
        write(static_cast<std::uint32_t>(elements.m_size));
        for (int i = 0; i < elements.m_size; ++i)
            elementFields(elements[i]);
    }

    // A vertex array's values, one by one.
    template <typename Value>
    void values(std::uint32_t, const core::Vector<Value>& values)
    {
        for (int i = 0; i < values.m_size; ++i)
            write(values.m_data[i]);
    }

    // A 32-bit field stored as the narrower `Stored`.
    template <typename Stored>
    void narrowed(std::uint32_t value, Stored)
    {
        write(static_cast<Stored>(value));
    }

private:
    template <typename Value>
    void write(const Value& value)
    {
        m_stream.setStreamData(value);
    }
    void write(bool value);
    // A signed byte, stored as its two's complement.
    void write(signed char value);
    template <typename Value, std::size_t N>
    void write(const Value (&values)[N])
    {
        for (const Value& value : values)
            write(value);
    }
    template <typename Value>
    void write(const core::Vector<Value>& values)
    {
        write(static_cast<std::uint32_t>(values.m_size));
        for (int i = 0; i < values.m_size; ++i)
            write(values.m_data[i]);
    }

    core::DataIO& m_stream;
};

// ---- the skeletons ---------------------------------------------------------------------

template <typename Record>
void M3G_Loader::readRecord(Record& record)
{
    FieldReader reader(*m_sectionStream);
    fields(reader, record);
    check(record);
}

template <typename Record, typename Target>
void M3G_Loader::parseRecord(Target* object)
{
    Record record;
    readRecord(record);
    setToClass(object, record);
}

template <typename... Records, typename Target>
core::Ref<Object3D> M3G_Loader::parseRecords(Target* made)
{
    core::Ref<Target> object(made);
    (parseRecord<Records>(object.get()), ...);
    return core::Ref<Object3D>(object);
}

template <typename Record, typename Target>
void M3G_Loader::saveRecord(Target* object)
{
    Record record;
    setToStruct(record, object);
    check(record);
    FieldWriter writer(*m_sectionStream);
    fields(writer, record);
}

template <typename... Records, typename Target>
void M3G_Loader::saveRecords(Target* object)
{
    (saveRecord<Records>(object), ...);
}

template <typename Record, typename... BaseRecords, typename Target>
void M3G_Loader::refuseRecord(Target* object, const char* refusal)
{
    saveRecords<BaseRecords...>(object);
    Record record;
    setToStruct(record, object);
    parseError(refusal);
}

} // namespace render
