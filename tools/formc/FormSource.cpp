// Lexer and recursive-descent parser of .form sources.
#include "FormSource.h"

#include "TextFormat.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

namespace attente {

namespace {

enum class TTokenKind { Name, Integer, String, Punct, End };

struct TToken {
    TTokenKind Kind = TTokenKind::End;
    std::string Text; // Name, String (decoded), Punct (the character)
    std::int64_t Integer = 0;
    int Line = 1;
    int Column = 1;
};

constexpr std::int64_t kMinInteger = -2147483648LL;
constexpr std::int64_t kMaxInteger = 2147483647LL;
// Hexadecimal integers may spell the whole 32-bit pattern (colours: 0x00BBGGRR or higher).
constexpr std::int64_t kMaxHexInteger = 0xFFFFFFFFLL;
// Bases found through links or other spellings of a path escape the cycle check: this ends them.
constexpr std::size_t kMaxBaseChain = 16;

std::string Normalised(const std::filesystem::path& path) {
    return path.lexically_normal().generic_string();
}

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class TParser {
  public:
    // `chain` holds the sources being parsed, this one last: the descriptions it is based on must
    // not lead back to one of them.
    TParser(const std::string& text, const std::string& source, const TFileLoader& loadFile,
            std::vector<std::string>& chain)
        : text_(text), source_(source), loadFile_(loadFile), chain_(chain) {
        Advance();
    }

    TDescriptionRecord ParseFile() {
        TDescriptionRecord root = ParseRoot();
        if (token_.Kind != TTokenKind::End) Fail(token_, "une seule description racine par fichier");
        return root;
    }

  private:
    [[noreturn]] void Fail(int line, int column, const std::string& message) const {
        throw EFormSourceError(source_ + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " +
                               message);
    }
    [[noreturn]] void Fail(const TToken& at, const std::string& message) const {
        Fail(at.Line, at.Column, message);
    }

    char Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
    }
    void Step() {
        if (text_[pos_] == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
        ++pos_;
    }

    void SkipBlanks() {
        while (pos_ < text_.size()) {
            const char c = Peek();
            if (c == '#') {
                while (pos_ < text_.size() && Peek() != '\n')
                    Step();
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                Step();
            } else {
                break;
            }
        }
    }

    void Advance() {
        SkipBlanks();
        token_ = TToken{};
        token_.Line = line_;
        token_.Column = column_;
        if (pos_ >= text_.size()) return;
        const char c = Peek();
        if (IsNameStart(c)) {
            while (IsNameStart(Peek()) || IsDigit(Peek()) || Peek() == '.') {
                token_.Text += Peek();
                Step();
            }
            token_.Kind = TTokenKind::Name;
        } else if (IsDigit(c) || (c == '-' && IsDigit(Peek(1)))) {
            LexInteger();
        } else if (c == '"') {
            LexString();
        } else if (c == '{' || c == '}' || c == '=' || c == '[' || c == ']' || c == ',') {
            token_.Kind = TTokenKind::Punct;
            token_.Text = c;
            Step();
        } else {
            Fail(line_, column_, std::string("caractère inattendu '") + c + "'");
        }
    }

    void LexInteger() {
        token_.Kind = TTokenKind::Integer;
        const bool negative = Peek() == '-';
        if (negative) Step();
        std::int64_t value = 0;
        std::int64_t limit = negative ? -kMinInteger : kMaxInteger;
        int base = 10;
        if (Peek() == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
            base = 16;
            if (!negative) limit = kMaxHexInteger;
            Step();
            Step();
            if (HexDigit(Peek()) < 0) Fail(line_, column_, "chiffre hexadécimal attendu");
        }
        while (true) {
            const int digit = base == 16 ? HexDigit(Peek()) : (IsDigit(Peek()) ? Peek() - '0' : -1);
            if (digit < 0) break;
            value = value * base + digit;
            if (value > limit) Fail(token_, "entier hors limites");
            Step();
        }
        if (IsNameStart(Peek())) Fail(line_, column_, "entier mal formé");
        token_.Integer = negative ? -value : value;
    }

    void LexString() {
        token_.Kind = TTokenKind::String;
        Step();
        while (true) {
            if (pos_ >= text_.size() || Peek() == '\n') Fail(token_, "texte non terminé");
            const char c = Peek();
            if (c == '"') {
                Step();
                break;
            }
            if (c != '\\') {
                token_.Text += c;
                Step();
                continue;
            }
            Step();
            const char e = Peek();
            switch (e) {
            case 'n':
                token_.Text += '\n';
                break;
            case 'r':
                token_.Text += '\r';
                break;
            case 't':
                token_.Text += '\t';
                break;
            case '\\':
                token_.Text += '\\';
                break;
            case '"':
                token_.Text += '"';
                break;
            default:
                Fail(line_, column_, "séquence d'échappement inconnue");
            }
            Step();
        }
        // Texts end up as UTF-16 on screen: a stray byte would show as a replacement character.
        if (WideToUtf8(Utf8ToWide(token_.Text)) != token_.Text)
            Fail(token_, "texte qui n'est pas de l'UTF-8 valide");
    }

    bool IsPunct(char c) const { return token_.Kind == TTokenKind::Punct && token_.Text[0] == c; }
    void Expect(char c) {
        if (!IsPunct(c)) Fail(token_, std::string("'") + c + "' attendu");
        Advance();
    }
    std::string ExpectName(const char* what, bool dotted = false) {
        if (token_.Kind != TTokenKind::Name || !IsDescriptionName(token_.Text, dotted) ||
            token_.Text.size() > kMaxNameLength)
            Fail(token_, std::string(what) + " attendu");
        std::string name = token_.Text;
        Advance();
        return name;
    }

    bool IsWord(const char* word) const { return token_.Kind == TTokenKind::Name && token_.Text == word; }

    // A path named in this source, found from its folder.
    std::string Resolved(const std::string& name) const {
        return Normalised(std::filesystem::path(source_).parent_path() / name);
    }

    TDescriptionRecord ParseRoot() {
        std::optional<TDescriptionRecord> base;
        if (IsWord("based")) base = ParseBase();
        const TToken start = token_;
        TDescriptionRecord root;
        if (IsWord("existing")) {
            root.Flags |= kRecordInherited;
            Advance();
        }
        root.ClassName = ExpectName("nom de classe");
        root.Name = ExpectName("nom de composant");
        if (base) {
            CheckSameRecord(*base, root.ClassName, root.Name, root.Flags, start);
            root = std::move(*base);
        }
        ParseBody(root, 1, base.has_value());
        return root;
    }

    // `based on "path"`: the whole description at path, which this source then changes.
    TDescriptionRecord ParseBase() {
        const TToken at = token_;
        Advance();
        if (!IsWord("on")) Fail(token_, "'on' attendu après based");
        Advance();
        if (token_.Kind != TTokenKind::String) Fail(token_, "nom de fichier attendu après based on");
        const std::string path = Resolved(token_.Text);
        if (std::find(chain_.begin(), chain_.end(), path) != chain_.end())
            Fail(at, "descriptions de base en cycle : " + path);
        if (chain_.size() >= kMaxBaseChain) Fail(at, "trop de descriptions de base enchaînées");
        std::vector<std::uint8_t> bytes;
        try {
            bytes = loadFile_(path);
        } catch (const Exception& e) {
            Fail(at, "description de base " + path + " illisible : " + e.what());
        }
        Advance();
        const std::string text(bytes.begin(), bytes.end());
        chain_.push_back(path);
        TParser parser(text, path, loadFile_, chain_);
        TDescriptionRecord base = parser.ParseFile();
        chain_.pop_back();
        return base;
    }

    // A record of a derived source repeats what its base says it is.
    void CheckSameRecord(const TDescriptionRecord& base, const std::string& className,
                         const std::string& name, std::uint8_t flags, const TToken& at) const {
        if (base.ClassName != className || base.Name != name || base.Flags != flags)
            Fail(at, std::string("la description de base décrit ") +
                         (base.Flags & kRecordInherited ? "existing " : "") + base.ClassName + " " +
                         base.Name);
    }

    TDescriptionRecord ParseChildAfterExisting(int depth) {
        const TToken classToken = token_;
        const std::string className = ExpectName("nom de classe");
        TDescriptionRecord child = ParseChild(className, classToken, depth);
        child.Flags |= kRecordInherited;
        return child;
    }

    TDescriptionRecord ParseChild(const std::string& className, const TToken& classToken, int depth) {
        if (depth > kMaxNesting) Fail(classToken, "composants imbriqués trop profondément");
        if (!IsDescriptionName(className)) Fail(classToken, "nom de classe incorrect");
        const TToken nameToken = token_;
        TDescriptionRecord child;
        child.ClassName = className;
        child.Name = ExpectName("nom de composant ou '='");
        if (!names_.insert(Lowered(child.Name)).second)
            Fail(nameToken, "composant " + child.Name + " déjà décrit");
        ParseBody(child, depth);
        return child;
    }

    // A record of a derived source changes its base's `record`: a property it gives replaces the
    // base's value in place (or is added after the base's), a child record changes the base's child.
    void ParseOverride(TDescriptionRecord& record, const std::string& first, const TToken& start, int depth) {
        const bool inherited = first == "existing";
        const TToken classToken = inherited ? token_ : start;
        const std::string className = inherited ? ExpectName("nom de classe") : first;
        const TToken nameToken = token_;
        const std::string name = ExpectName("nom de composant ou '='");
        if (!names_.insert(Lowered(name)).second) Fail(nameToken, "composant " + name + " déjà décrit");
        const auto child =
            std::find_if(record.Children.begin(), record.Children.end(),
                         [&](const TDescriptionRecord& c) { return Lowered(c.Name) == Lowered(name); });
        if (child == record.Children.end())
            Fail(nameToken, "composant " + name + " absent de la description de base");
        CheckSameRecord(*child, className, child->Name, inherited ? kRecordInherited : 0, classToken);
        ParseBody(*child, depth, true);
    }

    void ParseBody(TDescriptionRecord& record, int depth, bool derived = false) {
        Expect('{');
        std::set<std::string> seen;
        while (!IsPunct('}')) {
            if (token_.Kind == TTokenKind::End) Fail(token_, "'}' attendu");
            const TToken start = token_;
            const std::string first = ExpectName("propriété ou composant", true);
            if (IsPunct('=')) {
                if (!seen.insert(Lowered(first)).second) Fail(start, "propriété " + first + " déjà donnée");
                Advance();
                TValue value = ParseValue();
                const auto known = std::find_if(record.Properties.begin(), record.Properties.end(),
                                                [&](const TDescriptionProperty& p) {
                                                    return derived && Lowered(p.Name) == Lowered(first);
                                                });
                if (known != record.Properties.end())
                    known->Value = std::move(value);
                else
                    record.Properties.push_back({first, std::move(value)});
            } else if (derived) {
                ParseOverride(record, first, start, depth + 1);
            } else if (first == "existing") {
                record.Children.push_back(ParseChildAfterExisting(depth + 1));
            } else {
                record.Children.push_back(ParseChild(first, start, depth + 1));
            }
            if (record.Properties.size() > kMaxCount || record.Children.size() > kMaxCount)
                Fail(start, "trop d'entrées dans un composant");
        }
        Advance();
    }

    TValue ParseValue() {
        const TToken start = token_;
        switch (token_.Kind) {
        case TTokenKind::Integer: {
            const std::int64_t value = token_.Integer;
            Advance();
            return TValue::OfInteger(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
        }
        case TTokenKind::String: {
            std::string text;
            // Adjacent texts join, so long texts can be split over lines.
            while (token_.Kind == TTokenKind::String) {
                text += token_.Text;
                Advance();
            }
            return TValue::OfString(std::move(text));
        }
        case TTokenKind::Name: {
            const std::string word = token_.Text;
            Advance();
            if (word == "true") return TValue::OfBoolean(true);
            if (word == "false") return TValue::OfBoolean(false);
            if (word == "file") return TValue::OfBinary(LoadFile(start));
            if (word == "hex") return TValue::OfBinary(ParseHex());
            if (!IsDescriptionName(word) || word.size() > kMaxNameLength)
                Fail(start, "identificateur incorrect");
            return TValue::OfIdentifier(word);
        }
        case TTokenKind::Punct:
            if (IsPunct('[')) return ParseSet();
            break;
        case TTokenKind::End:
            break;
        }
        Fail(start, "valeur attendue");
    }

    TValue ParseSet() {
        Advance();
        std::vector<std::string> items;
        if (!IsPunct(']')) {
            while (true) {
                items.push_back(ExpectName("membre d'ensemble"));
                if (IsPunct(']')) break;
                Expect(',');
            }
        }
        Advance();
        if (items.size() > kMaxCount) Fail(token_, "ensemble trop grand");
        return TValue::OfSet(std::move(items));
    }

    std::vector<std::uint8_t> LoadFile(const TToken& at) {
        if (token_.Kind != TTokenKind::String) Fail(token_, "nom de fichier attendu après file");
        const std::string name = token_.Text;
        Advance();
        try {
            return loadFile_(Resolved(name));
        } catch (const Exception& e) {
            Fail(at, "fichier " + name + " illisible : " + e.what());
        }
    }

    std::vector<std::uint8_t> ParseHex() {
        if (token_.Kind != TTokenKind::String) Fail(token_, "texte hexadécimal attendu après hex");
        const TToken at = token_;
        std::vector<std::uint8_t> bytes;
        int high = -1;
        for (const char c : token_.Text) {
            if (c == ' ') continue;
            const int digit = HexDigit(c);
            if (digit < 0) Fail(at, "chiffre hexadécimal attendu");
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<std::uint8_t>(high * 16 + digit));
                high = -1;
            }
        }
        if (high >= 0) Fail(at, "nombre impair de chiffres hexadécimaux");
        Advance();
        return bytes;
    }

    static std::string Lowered(std::string text) {
        for (char& c : text)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return text;
    }

    const std::string& text_;
    const std::string& source_;
    const TFileLoader& loadFile_;
    std::vector<std::string>& chain_;
    std::size_t pos_ = 0;
    int line_ = 1;
    int column_ = 1;
    TToken token_;
    std::set<std::string> names_;
};

} // namespace

TDescriptionRecord ParseFormSource(const std::string& text, const std::string& sourceName,
                                   const TFileLoader& loadFile) {
    std::vector<std::string> chain{Normalised(sourceName)};
    TParser parser(text, sourceName, loadFile, chain);
    return parser.ParseFile();
}

} // namespace attente
