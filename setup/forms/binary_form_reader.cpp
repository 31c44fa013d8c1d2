#include <cstring>

#include "setup/forms/binary_form.h"
#include "setup/forms/form_errors.h"

namespace setup::forms {
namespace {

class BinaryReader
{
public:
    explicit BinaryReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    FormObject ReadObject(int depth)
    {
        Nest(depth);
        FormObject object;
        const std::uint8_t first = PeekByte();
        if ((first & 0xF0) == 0xF0) {
            Skip(1);
            object.flags = first & 0x0F;
            if (object.flags & kChildPos)
                object.position = ReadOptionalInteger();
        }
        object.className = ReadShortString();
        object.name = ReadShortString();
        object.properties = ReadProperties(depth);
        while (PeekByte() != 0)
            object.children.push_back(ReadObject(depth + 1));
        Skip(1);
        return object;
    }

    std::size_t Remaining() const { return m_bytes.size() - m_offset; }

private:
    static void Nest(int depth)
    {
        if (depth > kMaxFormNesting)
            throw EInvalidStreamFormat();
    }

    void Need(std::uint64_t count) const
    {
        if (count > Remaining())
            throw EInvalidStreamFormat();
    }
    void Skip(std::size_t count)
    {
        Need(count);
        m_offset += count;
    }
    std::uint8_t PeekByte() const
    {
        Need(1);
        return m_bytes[m_offset];
    }
    std::uint8_t ReadByte()
    {
        const std::uint8_t value = PeekByte();
        ++m_offset;
        return value;
    }
    std::uint64_t ReadUnsigned(int size)
    {
        Need(size);
        std::uint64_t value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = (value << 8) | m_bytes[m_offset + i];
        m_offset += size;
        return value;
    }
    std::string ReadBytes(std::size_t count)
    {
        Need(count);
        std::string text(reinterpret_cast<const char*>(m_bytes.data() + m_offset), count);
        m_offset += count;
        return text;
    }
    std::string ReadShortString() { return ReadBytes(ReadByte()); }
    std::string ReadLongBytes() { return ReadBytes(ReadUnsigned(4)); }

    OptionalInteger ReadOptionalInteger()
    {
        OptionalInteger result;
        result.type = static_cast<ValueType>(ReadByte());
        switch (result.type) {
            case ValueType::Int8:
                result.value = static_cast<std::int8_t>(ReadUnsigned(1));
                break;
            case ValueType::Int16:
                result.value = static_cast<std::int16_t>(ReadUnsigned(2));
                break;
            case ValueType::Int32:
                result.value = static_cast<std::int32_t>(ReadUnsigned(4));
                break;
            default:
                throw EInvalidStreamFormat();
        }
        return result;
    }

    std::vector<FormProperty> ReadProperties(int depth)
    {
        std::vector<FormProperty> properties;
        while (PeekByte() != 0) {
            FormProperty property;
            property.name = ReadShortString();
            property.value = ReadValue(depth + 1);
            properties.push_back(std::move(property));
        }
        Skip(1);
        return properties;
    }

    FormValue ReadValue(int depth)
    {
        Nest(depth);
        const std::uint8_t typeByte = ReadByte();
        if (typeByte > kLastValueType)
            throw EInvalidStreamFormat();
        FormValue value;
        value.type = static_cast<ValueType>(typeByte);
        switch (value.type) {
            case ValueType::Null:
            case ValueType::False:
            case ValueType::True:
            case ValueType::Nil:
                break;
            case ValueType::List:
                while (PeekByte() != static_cast<std::uint8_t>(ValueType::Null))
                    value.list.push_back(ReadValue(depth + 1));
                Skip(1);
                break;
            case ValueType::Int8:
                value.integer = static_cast<std::int8_t>(ReadUnsigned(1));
                break;
            case ValueType::Int16:
                value.integer = static_cast<std::int16_t>(ReadUnsigned(2));
                break;
            case ValueType::Int32:
                value.integer = static_cast<std::int32_t>(ReadUnsigned(4));
                break;
            case ValueType::Single:
                value.integer = static_cast<std::int64_t>(ReadUnsigned(4));
                break;
            case ValueType::Int64:
            case ValueType::Currency:
            case ValueType::Date:
            case ValueType::Double:
                value.integer = static_cast<std::int64_t>(ReadUnsigned(8));
                break;
            case ValueType::Extended:
                Need(value.extended.size());
                std::memcpy(value.extended.data(), m_bytes.data() + m_offset,
                            value.extended.size());
                m_offset += value.extended.size();
                break;
            case ValueType::String:
            case ValueType::Ident:
                value.bytes = ReadShortString();
                break;
            case ValueType::Binary:
            case ValueType::LString:
            case ValueType::UTF8String:
                value.bytes = ReadLongBytes();
                break;
            case ValueType::WString: {
                const std::uint64_t units = ReadUnsigned(4);
                Need(units * 2);
                value.wide.reserve(units);
                for (std::uint64_t i = 0; i < units; ++i)
                    value.wide.push_back(static_cast<char16_t>(ReadUnsigned(2)));
                break;
            }
            case ValueType::Set:
                for (std::string member = ReadShortString(); !member.empty();
                     member = ReadShortString())
                    value.set.push_back(std::move(member));
                break;
            case ValueType::Collection:
                while (PeekByte() != 0) {
                    FormCollectionItem item;
                    if (PeekByte() != 1)
                        item.order = ReadOptionalInteger();
                    if (ReadByte() != 1)
                        throw EInvalidStreamFormat();
                    item.properties = ReadProperties(depth + 1);
                    value.items.push_back(std::move(item));
                }
                Skip(1);
                break;
        }
        return value;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
};

constexpr std::uint8_t kSignature[4] = {'T', 'P', 'F', '0'};

}  // namespace

FormObject ReadBinaryForm(std::span<const std::uint8_t> stream)
{
    if (stream.size() < sizeof kSignature ||
        std::memcmp(stream.data(), kSignature, sizeof kSignature) != 0)
        throw EInvalidStreamFormat();
    BinaryReader reader(stream.subspan(sizeof kSignature));
    return reader.ReadObject(0);
}

std::span<const std::uint8_t> SkipFormResourceHeader(std::span<const std::uint8_t> file)
{
    // 0xFF, the type word 10, the zero-terminated name, memory flags (2) and data size (4).
    if (file.size() < 3 || file[0] != 0xFF || file[1] != 10 || file[2] != 0)
        throw EInvalidStreamFormat();
    std::size_t offset = 3;
    while (offset < file.size() && file[offset] != 0)
        ++offset;
    offset += 1 + 2 + 4;
    if (offset > file.size())
        throw EInvalidStreamFormat();
    return file.subspan(offset);
}

}  // namespace setup::forms
