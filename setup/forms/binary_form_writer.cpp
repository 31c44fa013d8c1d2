#include "setup/forms/binary_form.h"
#include "setup/forms/form_errors.h"

namespace setup::forms {
namespace {

class BinaryWriter
{
public:
    std::vector<std::uint8_t> bytes;

    void WriteObject(const FormObject& object)
    {
        // Without a prefix, an empty class name would read as the end of the children and a
        // name of 240 characters or more as a prefix.
        if (object.flags != 0 || object.className.empty() || object.className.size() >= 0xF0) {
            Byte(0xF0 | (object.flags & 0x0F));
            if (object.flags & kChildPos)
                Integer(object.position);
        }
        ShortString(object.className);
        ShortString(object.name);
        Properties(object.properties);
        for (const FormObject& child : object.children)
            WriteObject(child);
        Byte(0);
    }

private:
    void Byte(std::uint8_t value) { bytes.push_back(value); }
    void Unsigned(std::uint64_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void Raw(const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }
    void ShortString(const std::string& text)
    {
        if (text.size() > 255)
            throw EFilerError("A name or short string is longer than 255 characters");
        Byte(static_cast<std::uint8_t>(text.size()));
        Raw(text);
    }
    void LongBytes(const std::string& text)
    {
        Unsigned(text.size(), 4);
        Raw(text);
    }
    void Integer(const OptionalInteger& value)
    {
        Byte(static_cast<std::uint8_t>(value.type));
        Unsigned(static_cast<std::uint32_t>(value.value), value.type == ValueType::Int8    ? 1
                                                          : value.type == ValueType::Int16 ? 2
                                                                                           : 4);
    }

    void Properties(const std::vector<FormProperty>& properties)
    {
        for (const FormProperty& property : properties) {
            if (property.name.empty())
                throw EFilerError("A property without a name cannot be written");
            ShortString(property.name);
            Value(property.value);
        }
        Byte(0);
    }

    void Value(const FormValue& value)
    {
        Byte(static_cast<std::uint8_t>(value.type));
        switch (value.type) {
            case ValueType::Null:
            case ValueType::False:
            case ValueType::True:
            case ValueType::Nil:
                break;
            case ValueType::List:
                for (const FormValue& element : value.list)
                    Value(element);
                Byte(0);
                break;
            case ValueType::Int8:
                Unsigned(value.integer, 1);
                break;
            case ValueType::Int16:
                Unsigned(value.integer, 2);
                break;
            case ValueType::Int32:
            case ValueType::Single:
                Unsigned(value.integer, 4);
                break;
            case ValueType::Int64:
            case ValueType::Currency:
            case ValueType::Date:
            case ValueType::Double:
                Unsigned(value.integer, 8);
                break;
            case ValueType::Extended:
                bytes.insert(bytes.end(), value.extended.begin(), value.extended.end());
                break;
            case ValueType::String:
            case ValueType::Ident:
                ShortString(value.bytes);
                break;
            case ValueType::Binary:
            case ValueType::LString:
            case ValueType::UTF8String:
                LongBytes(value.bytes);
                break;
            case ValueType::WString:
                Unsigned(value.wide.size(), 4);
                for (const char16_t unit : value.wide)
                    Unsigned(unit, 2);
                break;
            case ValueType::Set:
                for (const std::string& member : value.set) {
                    if (member.empty())
                        throw EFilerError("A set member without a name cannot be written");
                    ShortString(member);
                }
                Byte(0);
                break;
            case ValueType::Collection:
                for (const FormCollectionItem& item : value.items) {
                    if (item.order.type != ValueType::Null)
                        Integer(item.order);
                    Byte(1);
                    Properties(item.properties);
                }
                Byte(0);
                break;
        }
    }
};

}  // namespace

std::vector<std::uint8_t> WriteBinaryForm(const FormObject& root)
{
    BinaryWriter writer;
    writer.bytes = {'T', 'P', 'F', '0'};
    writer.WriteObject(root);
    return std::move(writer.bytes);
}

std::vector<std::uint8_t> FormResourceHeader(const std::string& name, std::size_t size)
{
    std::vector<std::uint8_t> header = {0xFF, 10, 0};
    header.insert(header.end(), name.begin(), name.end());
    header.push_back(0);
    // Memory flags: movable, pure, discardable, as resource compilers set them for form data.
    header.push_back(0x30);
    header.push_back(0x10);
    for (int i = 0; i < 4; ++i)
        header.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
    return header;
}

}  // namespace setup::forms
