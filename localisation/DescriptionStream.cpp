// The bounds-checked, buffered stream reader shared by every window description reader.
#include "DescriptionStream.h"

#include "AsciiCase.h"

#include "Exceptions.h"
#include "TextFormat.h"

#include <algorithm>
#include <cstring>

namespace attente {

void RaiseStreamError(const std::string& what) {
    throw EReadError(Concat({"Description de fenêtre illisible : ", what}));
}

TMemorySource::TMemorySource(const void* data, std::size_t size)
    : data_(static_cast<const std::uint8_t*>(data)), size_(data ? size : 0) {}

std::size_t TMemorySource::Read(std::uint8_t* into, std::size_t count) {
    const std::size_t n = std::min(count, size_ - position_);
    if (n) std::memcpy(into, data_ + position_, n);
    position_ += n;
    return n;
}

TDescriptionReader::TDescriptionReader(TByteSource& source)
    : source_(source), buffer_(new std::uint8_t[kReadBufferSize]) {}

TDescriptionReader::~TDescriptionReader() = default;

std::uint64_t TDescriptionReader::Remaining() const {
    return (filled_ - position_) + source_.Remaining();
}

void TDescriptionReader::CheckAvailable(std::uint64_t count, const char* what) const {
    if (count > Remaining()) RaiseStreamError(Concat({what, " dépasse la fin des données"}));
}

void TDescriptionReader::ReadBytes(std::uint8_t* into, std::size_t count) {
    while (count > 0) {
        if (position_ == filled_) {
            position_ = 0;
            filled_ = source_.Read(buffer_.get(), kReadBufferSize);
            if (filled_ == 0) RaiseStreamError("données tronquées");
        }
        const std::size_t n = std::min(count, filled_ - position_);
        std::memcpy(into, buffer_.get() + position_, n);
        position_ += n;
        into += n;
        count -= n;
    }
}

std::uint8_t TDescriptionReader::ReadByte() {
    std::uint8_t b = 0;
    ReadBytes(&b, 1);
    return b;
}

std::uint16_t TDescriptionReader::ReadUInt16() {
    std::uint8_t b[2];
    ReadBytes(b, sizeof b);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t TDescriptionReader::ReadUInt32() {
    std::uint8_t b[4];
    ReadBytes(b, sizeof b);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

namespace {

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

} // namespace

bool IsDescriptionName(const std::string& name, bool dotted) {
    bool partStart = true;
    for (const char c : name) {
        if (partStart) {
            if (!IsNameStart(c)) return false;
            partStart = false;
        } else if (c == '.' && dotted) {
            partStart = true;
        } else if (!IsNameChar(c)) {
            return false;
        }
    }
    return !name.empty() && !partStart;
}

std::string TDescriptionReader::ReadName(const char* what, bool dotted) {
    const std::size_t length = ReadByte();
    CheckAvailable(length, what);
    std::string name(length, '\0');
    ReadBytes(reinterpret_cast<std::uint8_t*>(name.data()), length);
    if (!IsDescriptionName(name, dotted)) RaiseStreamError(Concat({what, " incorrect"}));
    return name;
}

TValue TDescriptionReader::ReadValue() {
    const std::uint8_t type = ReadByte();
    switch (static_cast<TValueType>(type)) {
    case TValueType::Integer:
        return TValue::OfInteger(static_cast<std::int32_t>(ReadUInt32()));
    case TValueType::String: {
        const std::uint32_t length = ReadUInt32();
        CheckAvailable(length, "un texte");
        std::string text(length, '\0');
        ReadBytes(reinterpret_cast<std::uint8_t*>(text.data()), length);
        return TValue::OfString(std::move(text));
    }
    case TValueType::Identifier:
        return TValue::OfIdentifier(ReadName("un identificateur"));
    case TValueType::Set: {
        const std::uint16_t count = ReadUInt16();
        // Each member takes at least its length byte and one character.
        CheckAvailable(std::uint64_t{count} * 2, "un ensemble");
        std::vector<std::string> items;
        items.reserve(count);
        for (std::uint16_t i = 0; i < count; ++i)
            items.push_back(ReadName("un membre d'ensemble"));
        return TValue::OfSet(std::move(items));
    }
    case TValueType::Binary: {
        const std::uint32_t length = ReadUInt32();
        CheckAvailable(length, "un bloc binaire");
        std::vector<std::uint8_t> bytes(length);
        if (length) ReadBytes(bytes.data(), length);
        return TValue::OfBinary(std::move(bytes));
    }
    case TValueType::False:
        return TValue::OfBoolean(false);
    case TValueType::True:
        return TValue::OfBoolean(true);
    }
    RaiseStreamError(Concat({"type de valeur inconnu ", std::to_string(type)}));
}

void TDescriptionReader::ReadHeader() {
    std::uint8_t magic[sizeof kDescriptionMagic];
    CheckAvailable(sizeof magic, "l'en-tête");
    ReadBytes(magic, sizeof magic);
    if (std::memcmp(magic, kDescriptionMagic, sizeof magic) != 0) RaiseStreamError("signature inconnue");
    const std::uint16_t version = ReadUInt16();
    if (version != kDescriptionVersion)
        RaiseStreamError(Concat({"version ", std::to_string(version), " inconnue"}));
}

void TDescriptionReader::ReadPrefix(TRecordPrefix& prefix) {
    prefix.Flags = ReadByte();
    if ((prefix.Flags & ~kKnownRecordFlags) != 0) RaiseStreamError("indicateurs de composant inconnus");
    prefix.ClassName = ReadName("un nom de classe");
    prefix.Name = ReadName("un nom de composant");
}

namespace {

// Adds `name` unless it is there already; the counts that bound the list keep the scan cheap.
bool AddIfNew(std::vector<std::string>& names, std::string name) {
    if (std::find(names.begin(), names.end(), name) != names.end()) return false;
    names.push_back(std::move(name));
    return true;
}

} // namespace

void TDescriptionReader::ReadRecord(int depth) {
    if (depth > kMaxNesting) RaiseStreamError("composants imbriqués trop profondément");
    TRecordPrefix prefix;
    ReadPrefix(prefix);
    if (names_.size() >= kMaxRecords) RaiseStreamError("trop de composants");
    // The root's name is no component's: it goes in as an empty name, which no component has.
    if (!AddIfNew(names_, depth > 1 ? UpperAscii(prefix.Name) : std::string()))
        RaiseStreamError(Concat({"composant ", prefix.Name, " répété"}));
    BeginRecord(prefix, depth);

    const std::uint16_t propertyCount = ReadUInt16();
    if (propertyCount > kMaxProperties) RaiseStreamError("trop de propriétés");
    // A property takes at least a name of one character, its length and a type byte.
    CheckAvailable(std::uint64_t{propertyCount} * 3, "la liste des propriétés");
    std::vector<std::string> seen;
    for (std::uint16_t i = 0; i < propertyCount; ++i) {
        const std::string name = ReadName("un nom de propriété", true);
        if (!AddIfNew(seen, UpperAscii(name))) RaiseStreamError(Concat({"propriété ", name, " répétée"}));
        const TValue value = ReadValue();
        ReadProperty(name, value);
    }

    const std::uint16_t childCount = ReadUInt16();
    // A record takes at least flags, two names of one character and two counts.
    CheckAvailable(std::uint64_t{childCount} * 9, "la liste des composants");
    for (std::uint16_t i = 0; i < childCount; ++i)
        ReadRecord(depth + 1);
    EndRecord();
}

void TDescriptionReader::ReadStream() {
    ReadHeader();
    ReadRecord(1);
    if (Remaining() != 0) RaiseStreamError("données en trop après le composant racine");
}

} // namespace attente
