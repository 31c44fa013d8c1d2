#include "setup/engine/script/string_hash_table.h"

#include <limits>

#include "setup/engine/rtl/exceptions.h"

namespace setup::engine {
namespace {

void WriteText(rtl::TStream& stream, const std::string& text)
{
    if (text.size() > std::numeric_limits<std::uint32_t>::max())
        throw rtl::EWriteError();
    const auto length = static_cast<std::uint32_t>(text.size());
    const std::uint8_t prefix[4] = {
        static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
        static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 24)};
    stream.WriteBuffer(prefix, sizeof prefix);
    stream.WriteBuffer(text.data(), text.size());
}

std::string ReadText(rtl::TStream& stream)
{
    std::uint8_t prefix[4];
    stream.ReadBuffer(prefix, sizeof prefix);
    const std::uint32_t length = prefix[0] | (prefix[1] << 8) | (prefix[2] << 16) |
                                 (static_cast<std::uint32_t>(prefix[3]) << 24);
    // A length beyond the stream's end is a damaged stream, not a request for memory.
    if (length > stream.Size() - stream.Position())
        throw rtl::EReadError();
    std::string text(length, '\0');
    stream.ReadBuffer(text.data(), length);
    return text;
}

}  // namespace

void TStringHashTable::AssignTo(TCustomHashTable& target) const
{
    auto* strings = dynamic_cast<TStringHashTable*>(&target);
    if (strings == nullptr)
        throw rtl::AssignError(ClassName(), target.ClassName());
    if (strings == this)
        return;
    strings->Clear();
    for (const TPair& pair : Pairs())
        strings->Put(pair.Key, pair.Value);
}

void TStringHashTable::Put(std::string_view key, std::string_view value)
{
    if (key.empty())
        return;
    InsertNode(key, value, Hash(key));
}

bool TStringHashTable::TryGetValue(std::string_view key, std::string& value) const
{
    if (const std::string* found = Find(key, Hash(key))) {
        value = *found;
        return true;
    }
    value.clear();
    return false;
}

bool TStringHashTable::ContainsKey(std::string_view key) const
{
    return !key.empty() && Find(key, Hash(key)) != nullptr;
}

const std::string* TStringHashTable::Find(std::string_view key, std::uint32_t hash) const
{
    const THashNode* node = FindNode(key, hash);
    return node != nullptr ? &node->value : nullptr;
}

std::vector<TPair> TStringHashTable::Pairs() const
{
    std::vector<TPair> pairs;
    pairs.reserve(static_cast<std::size_t>(Count()));
    auto enumerator = GetEnumerator();
    while (enumerator.MoveNext())
        pairs.push_back(enumerator.Current());
    return pairs;
}

void TStringHashTable::SaveToStream(rtl::TStream& stream) const
{
    for (const TPair& pair : Pairs()) {
        WriteText(stream, pair.Key);
        WriteText(stream, pair.Value);
    }
}

void TStringHashTable::LoadFromStream(rtl::TStream& stream)
{
    Clear();
    while (stream.Position() < stream.Size()) {
        std::string key = ReadText(stream);
        std::string value = ReadText(stream);
        Put(key, value);
    }
}

}  // namespace setup::engine
