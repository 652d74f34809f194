// The version record travels in the executable as an ELF note, so `readelf -n` or
// `readelf -p .note.kelto.version` shows it without running the program (it takes no
// command line). The values come from the build (cmake/Packaging.cmake).
#include <cstddef>
#include <cstdint>

#ifndef KELTO_FILE_VERSION
#error "KELTO_FILE_VERSION must be defined by the build"
#endif

// Key=value pairs, each ended by a NUL. The literals are kept apart so that a "\0" is
// never read together with a following digit as one octal escape.
#define KELTO_VERSION_RECORD                \
    "FileVersion=" KELTO_FILE_VERSION       \
    "\0"                                    \
    "ProductVersion=" KELTO_PRODUCT_VERSION \
    "\0"                                    \
    "ProductName=" KELTO_PRODUCT_NAME       \
    "\0"                                    \
    "InternalName=" KELTO_INTERNAL_NAME     \
    "\0"                                    \
    "OriginalFilename=" KELTO_ORIGINAL_FILENAME

namespace {

constexpr std::size_t padTo4(std::size_t size) {
    return (size + 3) / 4 * 4;
}

constexpr char kOwner[] = "KELTO";
constexpr std::size_t kRecordSize = sizeof KELTO_VERSION_RECORD;

// Layout of an ELF note: three 32-bit words, then owner and descriptor, each padded to 4.
struct VersionNote {
    std::uint32_t ownerSize;
    std::uint32_t recordSize;
    std::uint32_t type;
    char owner[padTo4(sizeof kOwner)];
    char record[padTo4(kRecordSize)];
};

// Note type 1 of owner "KELTO". Marked used and retained: nothing in the program reads it.
[[gnu::used, gnu::retain, gnu::section(".note.kelto.version"),
  gnu::aligned(4)]] const VersionNote versionNote = {sizeof kOwner, kRecordSize, 1, "KELTO",
                                                     KELTO_VERSION_RECORD};

}  // namespace
