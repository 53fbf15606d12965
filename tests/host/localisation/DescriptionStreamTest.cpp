// The description stream codec: what is written reads back the same, through the 4096-byte buffer
// and short reads; every malformed stream raises EReadError without reading outside the data.
#include "DescriptionTree.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace attente;

namespace {

// Hands out at most `chunk` bytes per call, as a source over a slow medium may.
class TTrickleSource : public TByteSource {
  public:
    TTrickleSource(const std::vector<std::uint8_t>& data, std::size_t chunk) : data_(data), chunk_(chunk) {}
    std::size_t Read(std::uint8_t* into, std::size_t count) override {
        const std::size_t n = std::min({count, chunk_, data_.size() - position_});
        std::memcpy(into, data_.data() + position_, n);
        position_ += n;
        return n;
    }
    std::uint64_t Remaining() const override { return data_.size() - position_; }

  private:
    const std::vector<std::uint8_t>& data_;
    std::size_t chunk_;
    std::size_t position_ = 0;
};

TDescriptionRecord SampleTree(std::size_t blobSize) {
    TDescriptionRecord root{0, "TForm1", "Form1", {}, {}};
    std::vector<std::uint8_t> blob(blobSize);
    for (std::size_t i = 0; i < blob.size(); ++i)
        blob[i] = static_cast<std::uint8_t>(i * 7 + 3);
    root.Properties = {
        {"ClientWidth", TValue::OfInteger(230)},
        {"Font.Height", TValue::OfInteger(-13)},
        {"Color", TValue::OfInteger(static_cast<std::int32_t>(0x80000000u))},
        {"Caption", TValue::OfString("Mise à jour\r\n\r\nΕλληνικά")},
        {"Position", TValue::OfIdentifier("screenCenter")},
        {"BorderIcons", TValue::OfSet({})},
        {"Anchors", TValue::OfSet({"left", "top"})},
        {"Empty", TValue::OfString("")},
        {"Visible", TValue::OfBoolean(false)},
        {"AutoSize", TValue::OfBoolean(true)},
    };
    TDescriptionRecord label{0, "TLabel", "LabWait", {{"Caption", TValue::OfString("Label")}}, {}};
    TDescriptionRecord image{kRecordInherited, "TImage", "clock", {{"Picture", TValue::OfBinary(blob)}}, {}};
    TDescriptionRecord inner{0, "TLabel", "Inner", {}, {}};
    image.Children.push_back(inner);
    root.Children = {label, image};
    return root;
}

// A stream written byte by byte, for the cases the writer refuses to produce.
class TBytes {
  public:
    TBytes& Header(std::uint16_t version = kDescriptionVersion) {
        Raw({'A', 'T', 'W', 'D'});
        return U16(version);
    }
    TBytes& Raw(std::initializer_list<int> bytes) {
        for (int b : bytes)
            out.push_back(static_cast<std::uint8_t>(b));
        return *this;
    }
    TBytes& U16(std::uint32_t v) { return Raw({int(v & 0xFF), int((v >> 8) & 0xFF)}); }
    TBytes& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    TBytes& Name(const std::string& name) {
        out.push_back(static_cast<std::uint8_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
        return *this;
    }
    TBytes& Prefix(const std::string& cls, const std::string& name, int flags = 0) {
        return Raw({flags}).Name(cls).Name(name);
    }
    std::vector<std::uint8_t> out;
};

void ExpectReadError(const std::vector<std::uint8_t>& stream, const std::string& fragment) {
    try {
        ReadDescriptionTree(stream);
        ADD_FAILURE() << "no EReadError";
    } catch (const EReadError& e) {
        EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
    }
}

} // namespace

TEST(DescriptionStream, RoundTripsEveryValueTypeAndNesting) {
    for (const std::size_t blobSize :
         {std::size_t{0}, std::size_t{766}, kReadBufferSize - 50, 3 * kReadBufferSize + 1}) {
        SCOPED_TRACE(blobSize);
        const TDescriptionRecord tree = SampleTree(blobSize);
        const std::vector<std::uint8_t> stream = WriteDescription(tree);
        EXPECT_EQ(ReadDescriptionTree(stream), tree);
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{4095}}) {
            TTrickleSource trickle(stream, chunk);
            EXPECT_EQ(ReadDescriptionTree(trickle), tree) << "chunk " << chunk;
        }
    }
}

TEST(DescriptionStream, LaysOutARecordAsDocumented) {
    TDescriptionRecord root{
        kRecordInherited, "TF", "F", {{"W", TValue::OfInteger(-2)}, {"C", TValue::OfString("é")}}, {}};
    root.Children.push_back(
        {0, "TL", "L", {{"S", TValue::OfSet({"a"})}, {"V", TValue::OfBoolean(true)}}, {}});
    const std::vector<std::uint8_t> expected = TBytes()
                                                   .Header()
                                                   .Prefix("TF", "F", 1)
                                                   .U16(2)
                                                   .Name("W")
                                                   .Raw({1})
                                                   .U32(0xFFFFFFFE)
                                                   .Name("C")
                                                   .Raw({2})
                                                   .U32(2)
                                                   .Raw({0xC3, 0xA9})
                                                   .U16(1)
                                                   .Prefix("TL", "L")
                                                   .U16(2)
                                                   .Name("S")
                                                   .Raw({4})
                                                   .U16(1)
                                                   .Name("a")
                                                   .Name("V")
                                                   .Raw({7})
                                                   .U16(0)
                                                   .out;
    EXPECT_EQ(WriteDescription(root), expected);
}

TEST(DescriptionStream, EveryTruncationIsAReadError) {
    const std::vector<std::uint8_t> stream = WriteDescription(SampleTree(40));
    for (std::size_t size = 0; size < stream.size(); ++size) {
        const std::vector<std::uint8_t> cut(stream.begin(),
                                            stream.begin() + static_cast<std::ptrdiff_t>(size));
        EXPECT_THROW(ReadDescriptionTree(cut), EReadError) << "cut at " << size;
    }
}

TEST(DescriptionStream, MalformedStreamsRaiseReadErrors) {
    const auto root = [] { return TBytes().Header().Prefix("TForm1", "Form1"); };
    TBytes deep = TBytes().Header();
    for (int level = 1; level <= kMaxNesting + 1; ++level) {
        deep.Prefix("TC", "C" + std::to_string(level)).U16(0);
        if (level <= kMaxNesting) deep.U16(1);
    }
    deep.U16(0);
    for (int level = 1; level <= kMaxNesting; ++level)
        deep.U16(0);

    TBytes manyProperties = root().U16(kMaxProperties + 1);
    for (std::size_t i = 0; i <= kMaxProperties; ++i)
        manyProperties.Name("P" + std::to_string(i)).Raw({6});
    manyProperties.U16(0);
    TBytes manyRecords = root().U16(0).U16(kMaxRecords);
    for (std::size_t i = 0; i < kMaxRecords; ++i)
        manyRecords.Prefix("TL", "L" + std::to_string(i)).U16(0).U16(0);

    struct Case {
        const char* what;
        std::vector<std::uint8_t> stream;
        const char* fragment;
    };
    const Case cases[] = {
        {"empty", {}, "en-tête"},
        {"wrong magic", TBytes().Raw({'A', 'T', 'W', 'X'}).U16(1).out, "signature"},
        {"older version", TBytes().Header(0).out, "version 0"},
        {"newer version", TBytes().Header(2).Prefix("T", "F").U16(0).U16(0).out, "version 2"},
        {"unknown flag", TBytes().Header().Prefix("T", "F", 0x02).U16(0).U16(0).out, "indicateurs"},
        {"empty class name", TBytes().Header().Prefix("", "F").U16(0).U16(0).out, "nom de classe"},
        {"class name not a name", TBytes().Header().Prefix("T-1", "F").U16(0).U16(0).out, "nom de classe"},
        {"name with a digit first", TBytes().Header().Prefix("T", "1F").U16(0).U16(0).out,
         "nom de composant"},
        {"name longer than the data", TBytes().Header().Raw({0, 200, 'T'}).out, "dépasse"},
        {"absurd property count", root().U16(0xFFFF).out, "propriétés"},
        {"unknown value type", root().U16(1).Name("X").Raw({0x2A}).out, "type de valeur inconnu 42"},
        {"value type zero", root().U16(1).Name("X").Raw({0}).out, "type de valeur inconnu 0"},
        {"absurd string length", root().U16(1).Name("X").Raw({2}).U32(0xFFFFFFFF).Raw({'a'}).out, "texte"},
        {"absurd binary length", root().U16(1).Name("X").Raw({5}).U32(0x7FFFFFFF).out, "binaire"},
        {"absurd set count", root().U16(1).Name("X").Raw({4}).U16(0xFFFF).Name("a").out, "ensemble"},
        {"set member not a name", root().U16(1).Name("X").Raw({4}).U16(1).Name("a b").U16(0).out, "membre"},
        {"identifier not a name", root().U16(1).Name("X").Raw({3}).Name("").U16(0).out, "identificateur"},
        {"property name with empty part", root().U16(1).Name("Font..H").Raw({6}).U16(0).out, "propriété"},
        {"property repeated", root().U16(2).Name("W").Raw({6}).Name("w").Raw({7}).U16(0).out, "répétée"},
        {"absurd child count", root().U16(0).U16(0xFFFF).out, "composants"},
        {"component name repeated",
         root().U16(0).U16(2).Prefix("TLabel", "A").U16(0).U16(0).Prefix("TImage", "a").U16(0).U16(0).out,
         "répété"},
        {"component name repeated deeper",
         root()
             .U16(0)
             .U16(2)
             .Prefix("TL", "A")
             .U16(0)
             .U16(1)
             .Prefix("TL", "B")
             .U16(0)
             .U16(0)
             .Prefix("TL", "B")
             .U16(0)
             .U16(0)
             .out,
         "répété"},
        {"trailing bytes", root().U16(0).U16(0).Raw({0}).out, "en trop"},
        // Bounds that keep the checks for repeated names cheap.
        {"too many properties", manyProperties.out, "trop de propriétés"},
        {"too many components", manyRecords.out, "trop de composants"},
        {"nesting too deep", deep.out, "profondément"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectReadError(c.stream, c.fragment);
    }
}

TEST(DescriptionStream, CountsUpToTheirLimitsRead) {
    TDescriptionRecord root{0, "TC", "C", {}, {}};
    for (std::size_t i = 0; i < kMaxProperties; ++i)
        root.Properties.push_back({"P" + std::to_string(i), TValue::OfBoolean(true)});
    for (std::size_t i = 1; i < kMaxRecords; ++i)
        root.Children.push_back({0, "TL", "L" + std::to_string(i), {}, {}});
    EXPECT_EQ(ReadDescriptionTree(WriteDescription(root)), root);
    for (const bool property : {true, false}) {
        TDescriptionRecord over = root;
        if (property)
            over.Properties.push_back({"Over", TValue::OfBoolean(true)});
        else
            over.Children.push_back({0, "TL", "Over", {}, {}});
        EXPECT_THROW(WriteDescription(over), Exception) << (property ? "property" : "record");
    }
}

TEST(DescriptionStream, NestingUpToTheLimitReads) {
    TDescriptionRecord root{0, "TC", "C1", {}, {}};
    TDescriptionRecord* at = &root;
    for (int level = 2; level <= kMaxNesting; ++level) {
        at->Children.push_back({0, "TC", "C" + std::to_string(level), {}, {}});
        at = &at->Children.back();
    }
    EXPECT_EQ(ReadDescriptionTree(WriteDescription(root)), root);
    at->Children.push_back({0, "TC", "TooDeep", {}, {}});
    EXPECT_THROW(WriteDescription(root), Exception);
}

TEST(DescriptionStream, WriterRefusesWhatTheReaderWouldRefuse) {
    struct Case {
        const char* what;
        TDescriptionRecord tree;
    };
    TDescriptionRecord tooMany{0, "T", "F", {}, {}};
    for (std::size_t i = 0; i <= kMaxCount; ++i)
        tooMany.Properties.push_back({"P", TValue::OfInteger(0)});
    const Case cases[] = {
        {"empty class", {0, "", "F", {}, {}}},
        {"class with a space", {0, "T F", "F", {}, {}}},
        {"name too long", {0, "T", std::string(kMaxNameLength + 1, 'n'), {}, {}}},
        {"bad property name", {0, "T", "F", {{"Font.", TValue::OfInteger(1)}}, {}}},
        {"bad identifier", {0, "T", "F", {{"P", TValue::OfIdentifier("1x")}}, {}}},
        {"too many properties", tooMany},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_THROW(WriteDescription(c.tree), Exception);
    }
}
