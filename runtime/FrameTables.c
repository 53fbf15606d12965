/* Where the unwinder finds a function's unwind table. The compiler runtime's own version sorts every
 * table of every registered object into a searchable index, with locks and several registration
 * forms (10 KiB); a program has one table list, registered once before main by crtbegin.o, and a throw
 * is rare, so a scan of that list in place serves. */
#include <stddef.h>
#include <stdint.h>
#include <string.h>

/* What the unwinder is told of the function found: bases for relative pointer encodings. */
struct FrameBases {
    const void* text;
    const void* data;
    const void* function;
};

enum {
    kEncodingFormat = 0x0f,
    kEncodingApplication = 0x70,
    kAbsolute = 0x00,
    kPcRelative = 0x10,
    kOmitted = 0xff,
};

/* The program's .eh_frame: entries of a 32-bit length each, a zero length after the last. */
static const unsigned char* frames;

static uint32_t Read32(const unsigned char* p) {
    uint32_t value;
    memcpy(&value, p, sizeof value);
    return value;
}

static const unsigned char* SkipLeb128(const unsigned char* p) {
    while (*p++ & 0x80) {
    }
    return p;
}

/* Size of a value in the given encoding; 0 for the variable or unknown ones, which no table entry of
 * this target uses for an address. */
static size_t EncodedSize(unsigned encoding) {
    switch (encoding & kEncodingFormat) {
    case 0x00: /* pointer */
    case 0x03: /* unsigned 32 */
    case 0x0b: /* signed 32 */
        return 4;
    case 0x02: /* unsigned 16 */
    case 0x0a: /* signed 16 */
        return 2;
    default:
        return 0;
    }
}

static uintptr_t ReadEncoded(unsigned encoding, const unsigned char* p) {
    uintptr_t value;
    switch (encoding & kEncodingFormat) {
    case 0x02:
        value = (uint16_t)(p[0] | p[1] << 8);
        break;
    case 0x0a:
        value = (uintptr_t)(intptr_t)(int16_t)(p[0] | p[1] << 8);
        break;
    default:
        value = Read32(p);
        break;
    }
    if ((encoding & kEncodingApplication) == kPcRelative) value += (uintptr_t)p;
    return value;
}

/* How the entries under a common entry encode their function addresses, or kOmitted if this reader
 * does not know how. */
static unsigned AddressEncoding(const unsigned char* common) {
    const unsigned char* p = common + 8;
    const unsigned version = *p++;
    const char* augmentation = (const char*)p;
    p += strlen(augmentation) + 1;
    if (augmentation[0] == '\0') return kAbsolute;
    if (augmentation[0] != 'z') return kOmitted;
    p = SkipLeb128(p);                        /* code alignment */
    p = SkipLeb128(p);                        /* data alignment */
    p = version == 1 ? p + 1 : SkipLeb128(p); /* return address column */
    p = SkipLeb128(p);                        /* augmentation data length */
    for (const char* a = augmentation + 1; *a; ++a) {
        switch (*a) {
        case 'R': {
            const unsigned encoding = *p;
            const unsigned application = encoding & kEncodingApplication;
            if (EncodedSize(encoding) == 0 || (application != kAbsolute && application != kPcRelative))
                return kOmitted;
            return encoding;
        }
        case 'P': {
            const size_t size = EncodedSize(*p);
            if (size == 0) return kOmitted;
            p += 1 + size;
            break;
        }
        case 'L':
            ++p;
            break;
        case 'S':
            break;
        default:
            return kOmitted;
        }
    }
    return kAbsolute;
}

void __register_frame_info(const void* begin, void* object) {
    (void)object;
    frames = begin;
}

void* __deregister_frame_info(const void* begin) {
    if (begin == frames) frames = NULL;
    return NULL;
}

/* The entry of the function that holds `pc` in `table`, or NULL. The tests search tables of their own
 * through it. */
const void* FindUnwindEntry(const unsigned char* table, const void* pc, struct FrameBases* bases) {
    const unsigned char* common = NULL;
    unsigned encoding = kOmitted;
    for (const unsigned char* entry = table; entry;) {
        const uint32_t length = Read32(entry);
        /* 0xffffffff announces 64-bit lengths, which a 32-bit program's tables never use. */
        if (length == 0 || length == 0xffffffffu) break;
        const uint32_t toCommon = Read32(entry + 4);
        if (toCommon != 0) {
            if (entry + 4 - toCommon != common) {
                common = entry + 4 - toCommon;
                encoding = AddressEncoding(common);
            }
            if (encoding != kOmitted) {
                const unsigned char* p = entry + 8;
                const uintptr_t start = ReadEncoded(encoding, p);
                const uintptr_t size = ReadEncoded(encoding & kEncodingFormat, p + EncodedSize(encoding));
                /* The linker leaves the entry of a function it dropped, its address zero. */
                if (start != 0 && (uintptr_t)pc - start < size) {
                    bases->text = NULL;
                    bases->data = NULL;
                    bases->function = (const void*)start;
                    return entry;
                }
            }
        }
        entry += 4 + length;
    }
    return NULL;
}

const void* _Unwind_Find_FDE(const void* pc, struct FrameBases* bases) {
    return FindUnwindEntry(frames, pc, bases);
}
