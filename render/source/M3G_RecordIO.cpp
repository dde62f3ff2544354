// The cursors' values that core::DataIO does not read or store as they are.
#include "M3G_RecordIO.h"

#include <cstring>

namespace render {

// ---- reading ---------------------------------------------------------------------------

void M3G_Loader::FieldReader::values(std::uint32_t count, core::Vector<signed char>& values)
{
    require(count, 1);
    values.setSize(static_cast<int>(count));
    if (count > 0)
        std::memcpy(values.m_data, m_stream.data, count);
    m_stream.advance(static_cast<int>(count));
}

void M3G_Loader::FieldReader::values(std::uint32_t count, core::Vector<short>& values)
{
    require(count, 2);
    values.setSize(static_cast<int>(count));
    const unsigned char* bytes = m_stream.data;
    for (std::uint32_t i = 0; i < count; ++i)
        values.m_data[i] = static_cast<short>(static_cast<std::uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8));
    m_stream.advance(static_cast<int>(2 * count));
}

void M3G_Loader::FieldReader::require(std::uint32_t count, int smallest)
{
    m_stream.require(static_cast<std::int64_t>(count) * smallest);
}

void M3G_Loader::FieldReader::read(bool& value)
{
    value = readBoolean(m_stream);
}

void M3G_Loader::FieldReader::read(signed char& value)
{
    unsigned char stored = 0;
    m_stream.getStreamData(stored);
    value = static_cast<signed char>(stored);
}

// ---- writing ---------------------------------------------------------------------------

void M3G_Loader::FieldWriter::write(bool value)
{
    write(static_cast<unsigned char>(value ? 1 : 0));
}

void M3G_Loader::FieldWriter::write(signed char value)
{
    write(static_cast<unsigned char>(value));
}

} // namespace render
