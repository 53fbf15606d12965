// Command-line splitting: separators are codes 1 to 32, double quotes group, nothing else is special.
#include "CommandLineSplit.h"

namespace attente {

namespace {

constexpr unsigned char kLastSeparator = ' ';
constexpr char kQuote = '"';

class TCursor {
  public:
    TCursor(std::string_view text, TIsLeadByte isLeadByte) : text_(text), isLeadByte_(isLeadByte) {}

    bool AtEnd() const { return pos_ >= text_.size() || text_[pos_] == '\0'; }
    unsigned char Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < text_.size() ? static_cast<unsigned char>(text_[pos_ + ahead]) : 0;
    }
    bool AtSeparator() const { return !AtEnd() && Peek() <= kLastSeparator; }
    void Skip(std::size_t count = 1) { pos_ += count; }
    std::size_t Position() const { return pos_; }

    // A two-byte character moves as one, so its trail byte is never taken for a quote or separator.
    void CopyCharacterTo(std::string& out) {
        std::size_t width = isLeadByte_(Peek()) && Peek(1) != 0 ? 2 : 1;
        out.append(text_.substr(pos_, width));
        pos_ += width;
    }

  private:
    std::string_view text_;
    TIsLeadByte isLeadByte_;
    std::size_t pos_ = 0;
};

void SkipToArgumentStart(TCursor& cursor) {
    for (;;) {
        while (cursor.AtSeparator())
            cursor.Skip();
        if (cursor.Peek() != kQuote || cursor.Peek(1) != kQuote) return;
        cursor.Skip(2);
    }
}

std::string ReadArgument(TCursor& cursor) {
    std::string argument;
    while (!cursor.AtEnd() && !cursor.AtSeparator()) {
        if (cursor.Peek() != kQuote) {
            cursor.CopyCharacterTo(argument);
            continue;
        }
        cursor.Skip();
        while (!cursor.AtEnd() && cursor.Peek() != kQuote)
            cursor.CopyCharacterTo(argument);
        if (!cursor.AtEnd()) cursor.Skip();
    }
    return argument;
}

} // namespace

bool NoLeadBytes(unsigned char) {
    return false;
}

std::vector<std::string> SplitCommandLine(std::string_view raw, TIsLeadByte isLeadByte,
                                          std::vector<std::size_t>* starts) {
    std::vector<std::string> arguments;
    TCursor cursor(raw, isLeadByte ? isLeadByte : NoLeadBytes);
    for (;;) {
        SkipToArgumentStart(cursor);
        if (cursor.AtEnd()) return arguments;
        if (starts) starts->push_back(cursor.Position());
        arguments.push_back(ReadArgument(cursor));
    }
}

} // namespace attente
