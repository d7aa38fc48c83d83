#include "document/own_files.h"

#include "document/file_layout.h"

#include <charconv>
#include <cstdio>

namespace doc {

namespace {

/** Room left for what comes around the base: the leading "." and the longest ending, that of a
 * temporary name (".<pid>-<counter>-<stamp>.tmp", 33 bytes at most). */
constexpr std::size_t kRoomAroundBase = 40;
constexpr std::size_t kMaxBase = kMaxFileNameBytes - kRoomAroundBase;
constexpr std::size_t kHashText = 17; // "~" and 16 hex digits

std::uint64_t fnv1a(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

/** "<folder>.<fitted base>" for path. */
std::string hiddenStem(const std::string& path) {
    return folderOfPath(path) + "." + fittedBase(fileNameOf(path));
}

} // namespace

std::string fittedBase(std::string_view base) {
    if (base.size() <= kMaxBase)
        return std::string(base);
    std::size_t keep = kMaxBase - kHashText;
    // A UTF-8 continuation byte (10xxxxxx) would be cut from the character it belongs to.
    while (keep > 0 && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80)
        --keep;
    char hash[kHashText + 1];
    std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(fnv1a(base)));
    return std::string(base.substr(0, keep)) + hash;
}

std::string temporaryPathFor(const std::string& path, int pid, unsigned counter,
                             std::uint32_t stamp) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%d-%u-%06x.tmp", pid, counter, stamp & 0xffffffU);
    return hiddenStem(path) + suffix;
}

std::optional<int> temporaryNameProcess(const std::string& path, std::string_view entry) {
    std::string stem = fittedBase(fileNameOf(path));
    stem.insert(stem.begin(), '.');
    stem += '.';
    if (!entry.starts_with(stem) || !entry.ends_with(".tmp"))
        return std::nullopt;
    // "<pid>-<counter>-<stamp>" between the two.
    const std::string_view middle = entry.substr(stem.size(), entry.size() - stem.size() - 4);
    int pid = 0;
    unsigned counter = 0;
    const char* const end = middle.data() + middle.size();
    auto [at, ec] = std::from_chars(middle.data(), end, pid);
    if (ec != std::errc{} || pid <= 0 || at == end || *at != '-')
        return std::nullopt;
    const auto [after, error] = std::from_chars(at + 1, end, counter);
    at = after;
    if (error != std::errc{} || at == end || *at != '-' || at + 1 == end)
        return std::nullopt;
    for (const char* c = at + 1; c != end; ++c)
        if (std::string_view("0123456789abcdef").find(*c) == std::string_view::npos)
            return std::nullopt;
    return pid;
}

std::string journalPathFor(const std::string& dataPath) {
    return hiddenStem(dataPath) + "-journal";
}

std::string journalTemporaryPathFor(const std::string& dataPath) {
    return journalPathFor(dataPath) + ".tmp";
}

} // namespace doc
