// Reads window description streams: every read bounds-checked against the bytes that remain, through
// a fixed buffer, and any malformed stream raises EReadError. Portable so that the host tests and the
// fuzzer exercise the very code that reads resources on Windows.
#pragma once

#include "DescriptionFormat.h"
#include "PropertyValue.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace attente {

// Where the reader's bytes come from; knows how many remain so that no length is ever trusted.
class TByteSource {
  public:
    virtual ~TByteSource() = default;
    // Copies up to `count` bytes, returns how many; 0 only at the end.
    virtual std::size_t Read(std::uint8_t* into, std::size_t count) = 0;
    virtual std::uint64_t Remaining() const = 0;
};

// Bytes held elsewhere (a locked resource, a test vector); they must outlive the source.
class TMemorySource : public TByteSource {
  public:
    TMemorySource(const void* data, std::size_t size);
    std::size_t Read(std::uint8_t* into, std::size_t count) override;
    std::uint64_t Remaining() const override { return size_ - position_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

// What a record starts with.
struct TRecordPrefix {
    std::uint8_t Flags = 0;
    std::string ClassName;
    std::string Name;

    bool Inherited() const { return (Flags & kRecordInherited) != 0; }
};

// Walks one stream: header, the root record with its properties and nested children, end of data.
// Derived readers decide what a record means; ReadPrefix is the one step they may change.
class TDescriptionReader {
  public:
    explicit TDescriptionReader(TByteSource& source);
    virtual ~TDescriptionReader();
    TDescriptionReader(const TDescriptionReader&) = delete;
    TDescriptionReader& operator=(const TDescriptionReader&) = delete;

    // Reads the whole stream; trailing bytes after the root record are an error too.
    void ReadStream();

  protected:
    // Reads flags, class name and component name.
    virtual void ReadPrefix(TRecordPrefix& prefix);
    // `depth` is 1 for the root.
    virtual void BeginRecord(const TRecordPrefix& prefix, int depth) = 0;
    virtual void ReadProperty(const std::string& name, const TValue& value) = 0;
    virtual void EndRecord() = 0;

    std::uint8_t ReadByte();
    std::uint16_t ReadUInt16();
    std::uint32_t ReadUInt32();
    // A one-byte-length name made of letters, digits and '_' (and '.' between parts when dotted).
    std::string ReadName(const char* what, bool dotted = false);
    TValue ReadValue();

  private:
    void ReadHeader();
    void ReadRecord(int depth);
    void ReadBytes(std::uint8_t* into, std::size_t count);
    // Refuses a length that cannot fit in what remains, before anything is allocated for it.
    void CheckAvailable(std::uint64_t count, const char* what) const;
    std::uint64_t Remaining() const;

    TByteSource& source_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    // Lower-cased names of the components of this stream: a repeated name is a read error.
    std::vector<std::string> names_; // of the records read so far, upper-cased
};

// Letters, digits and '_', not starting with a digit; with `dotted`, such parts joined by '.'.
bool IsDescriptionName(const std::string& name, bool dotted = false);

// Raises EReadError with the given text, prefixed as every stream error is.
[[noreturn]] void RaiseStreamError(const std::string& what);

} // namespace attente
