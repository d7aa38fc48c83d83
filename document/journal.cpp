#include "document/journal.h"

#include "document/errors.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace doc {

namespace {

constexpr std::array<std::uint8_t, 8> kPendingMark = {'C', 'V', 'N', 'J', 'R', 'N', 'L', '2'};
constexpr std::array<std::uint8_t, 8> kDoneMark = {'C', 'V', 'N', 'J', 'D', 'O', 'N', 'E'};
constexpr std::size_t kHeaderSize = 8 + 2 * 8 + 4;
constexpr std::size_t kRangeHeaderSize = 1 + 8 + 4;
constexpr std::size_t kChecksumSize = 4;

void put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t take(std::span<const std::uint8_t> in, std::size_t at, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t{in[at + static_cast<std::size_t>(i)]} << (8 * i);
    return value;
}

/** The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320), computed here so that the
 * document layer needs nothing beyond the C++ library on any CPU it is built for. */
std::uint32_t checksum(std::span<const std::uint8_t> bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const std::uint8_t byte : bytes)
        crc = table[(crc ^ byte) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void writeExactly(FileHandle& file, std::int64_t offset, const std::vector<std::uint8_t>& bytes) {
    if (file.writeAt(offset, bytes.data(), bytes.size()) != bytes.size())
        throw IoError(IoCode::DiskFull);
}

} // namespace

std::vector<std::uint8_t> encodeJournal(const Journal& journal) {
    std::vector<std::uint8_t> out(kPendingMark.begin(), kPendingMark.end());
    put(out, static_cast<std::uint64_t>(journal.dataSize), 8);
    put(out, static_cast<std::uint64_t>(journal.namesSize), 8);
    put(out, journal.ranges.size(), 4);
    for (const FileIdentity* identity : {&journal.dataFile, &journal.namesFile}) {
        put(out, identity->bytes().size(), 1);
        out.insert(out.end(), identity->bytes().begin(), identity->bytes().end());
    }
    for (const JournalRange& range : journal.ranges) {
        out.push_back(static_cast<std::uint8_t>(range.file));
        put(out, static_cast<std::uint64_t>(range.offset), 8);
        put(out, range.bytes.size(), 4);
        out.insert(out.end(), range.bytes.begin(), range.bytes.end());
    }
    put(out, checksum(std::span(out).subspan(kPendingMark.size())), 4);
    return out;
}

DecodedJournal decodeJournal(std::span<const std::uint8_t> bytes) {
    DecodedJournal decoded;
    if (bytes.size() >= kDoneMark.size() &&
        std::equal(kDoneMark.begin(), kDoneMark.end(), bytes.begin())) {
        decoded.state = JournalState::Done;
        return decoded;
    }
    if (bytes.size() < kHeaderSize + kChecksumSize ||
        !std::equal(kPendingMark.begin(), kPendingMark.end(), bytes.begin()))
        return decoded;
    const std::size_t body = bytes.size() - kChecksumSize;
    if (checksum(bytes.subspan(kPendingMark.size(), body - kPendingMark.size())) !=
        take(bytes, body, 4))
        return decoded;
    Journal& journal = decoded.journal;
    journal.dataSize = static_cast<std::int64_t>(take(bytes, 8, 8));
    journal.namesSize = static_cast<std::int64_t>(take(bytes, 16, 8));
    const std::uint64_t count = take(bytes, 24, 4);
    std::size_t at = kHeaderSize;
    for (FileIdentity* identity : {&journal.dataFile, &journal.namesFile}) {
        if (body - at < 1 || bytes[at] > body - at - 1)
            return decoded;
        const std::size_t length = bytes[at];
        *identity =
            FileIdentity(std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at + 1),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(at + 1 + length)));
        at += 1 + length;
    }
    for (std::uint64_t i = 0; i < count; ++i) {
        if (body - at < kRangeHeaderSize)
            return decoded;
        JournalRange range;
        const std::uint8_t file = bytes[at];
        range.offset = static_cast<std::int64_t>(take(bytes, at + 1, 8));
        const std::uint64_t length = take(bytes, at + 9, 4);
        at += kRangeHeaderSize;
        if (file > 1 || range.offset < 0 || length > body - at)
            return decoded;
        range.file = static_cast<PairFile>(file);
        range.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        journal.ranges.push_back(std::move(range));
    }
    if (at != body || journal.dataSize < 0 || journal.namesSize < 0)
        return decoded;
    decoded.state = JournalState::Pending;
    return decoded;
}

std::span<const std::uint8_t> journalDoneMark() {
    return kDoneMark;
}

bool journalBelongsTo(const Journal& journal, const FileHandle& data, const FileHandle& names) {
    return journal.dataFile == data.identity() && journal.namesFile == names.identity();
}

void rollBack(const Journal& journal, FileHandle& data, FileHandle& names) {
    for (const JournalRange& range : journal.ranges)
        writeExactly(range.file == PairFile::Data ? data : names, range.offset, range.bytes);
    // Only what the save added is cut off; a file found shorter is left as it is.
    if (data.size() > journal.dataSize)
        data.truncate(journal.dataSize);
    if (names.size() > journal.namesSize)
        names.truncate(journal.namesSize);
    data.sync();
    names.sync();
}

} // namespace doc
