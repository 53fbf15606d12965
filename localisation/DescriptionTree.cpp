// Writer of description streams and the reader that turns one back into a tree.
#include "DescriptionTree.h"

#include "Exceptions.h"

namespace attente {

namespace {

class TWriter {
  public:
    std::vector<std::uint8_t> Out;

    void Byte(std::uint8_t b) { Out.push_back(b); }
    void UInt16(std::size_t v, const char* what) {
        if (v > kMaxCount) throw Exception(std::string("trop de ") + what);
        Byte(static_cast<std::uint8_t>(v));
        Byte(static_cast<std::uint8_t>(v >> 8));
    }
    void UInt32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            Byte(static_cast<std::uint8_t>(v >> shift));
    }
    void Name(const std::string& name, bool dotted = false) {
        if (name.size() > kMaxNameLength || !IsDescriptionName(name, dotted))
            throw Exception("nom incorrect ou trop long : " + name);
        Byte(static_cast<std::uint8_t>(name.size()));
        Out.insert(Out.end(), name.begin(), name.end());
    }
    void Blob(const std::uint8_t* data, std::size_t size) {
        if (size > 0xFFFFFFFFu) throw Exception("bloc trop long");
        UInt32(static_cast<std::uint32_t>(size));
        Out.insert(Out.end(), data, data + size);
    }
    void Value(const TValue& value) {
        Byte(static_cast<std::uint8_t>(value.Type));
        switch (value.Type) {
        case TValueType::Integer:
            UInt32(static_cast<std::uint32_t>(value.Integer));
            break;
        case TValueType::String:
            Blob(reinterpret_cast<const std::uint8_t*>(value.Text.data()), value.Text.size());
            break;
        case TValueType::Identifier:
            Name(value.Text);
            break;
        case TValueType::Set:
            UInt16(value.Items.size(), "membres d'ensemble");
            for (const std::string& item : value.Items)
                Name(item);
            break;
        case TValueType::Binary:
            Blob(value.Bytes.data(), value.Bytes.size());
            break;
        case TValueType::False:
        case TValueType::True:
            break;
        }
    }
    void Record(const TDescriptionRecord& record, int depth) {
        if (depth > kMaxNesting) throw Exception("composants imbriqués trop profondément");
        if (++records_ > kMaxRecords) throw Exception("trop de composants");
        if (record.Properties.size() > kMaxProperties) throw Exception("trop de propriétés");
        Byte(record.Flags);
        Name(record.ClassName);
        Name(record.Name);
        UInt16(record.Properties.size(), "propriétés");
        for (const TDescriptionProperty& property : record.Properties) {
            Name(property.Name, true);
            Value(property.Value);
        }
        UInt16(record.Children.size(), "composants");
        for (const TDescriptionRecord& child : record.Children)
            Record(child, depth + 1);
    }

  private:
    std::size_t records_ = 0;
};

class TTreeReader : public TDescriptionReader {
  public:
    using TDescriptionReader::TDescriptionReader;
    TDescriptionRecord Root;

  protected:
    void BeginRecord(const TRecordPrefix& prefix, int depth) override {
        TDescriptionRecord* record = &Root;
        if (depth > 1) {
            stack_.back()->Children.emplace_back();
            record = &stack_.back()->Children.back();
        }
        record->Flags = prefix.Flags;
        record->ClassName = prefix.ClassName;
        record->Name = prefix.Name;
        stack_.push_back(record);
    }
    void ReadProperty(const std::string& name, const TValue& value) override {
        stack_.back()->Properties.push_back({name, value});
    }
    void EndRecord() override { stack_.pop_back(); }

  private:
    // Pointers into Root stay valid: a record's children vector only grows while it is on top.
    std::vector<TDescriptionRecord*> stack_;
};

} // namespace

std::vector<std::uint8_t> WriteDescription(const TDescriptionRecord& root) {
    TWriter writer;
    writer.Out.assign(std::begin(kDescriptionMagic), std::end(kDescriptionMagic));
    writer.UInt16(kDescriptionVersion, "versions");
    writer.Record(root, 1);
    return std::move(writer.Out);
}

TDescriptionRecord ReadDescriptionTree(TByteSource& source) {
    TTreeReader reader(source);
    reader.ReadStream();
    return std::move(reader.Root);
}

TDescriptionRecord ReadDescriptionTree(const std::vector<std::uint8_t>& stream) {
    TMemorySource source(stream.data(), stream.size());
    return ReadDescriptionTree(source);
}

} // namespace attente
