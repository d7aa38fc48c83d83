#include "document/journal.h"

#include "document/errors.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace doc {

namespace {

constexpr std::array<std::uint8_t, 8> kPendingMark = {'C', 'V', 'N', 'J', 'R', 'N', 'L', '3'};
constexpr std::array<std::uint8_t, 8> kDoneMark = {'C', 'V', 'N', 'J', 'D', 'O', 'N', 'E'};
constexpr std::size_t kHeaderSize = 8 + 4 * 8 + 4;
constexpr std::size_t kRangeHeaderSize = 1 + 8 + 4 + 4;
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
    for (const std::int64_t size :
         {journal.dataSize, journal.namesSize, journal.dataSizeAfter, journal.namesSizeAfter})
        put(out, static_cast<std::uint64_t>(size), 8);
    put(out, journal.ranges.size(), 4);
    for (const JournalRange& range : journal.ranges) {
        out.push_back(static_cast<std::uint8_t>(range.file));
        put(out, static_cast<std::uint64_t>(range.offset), 8);
        put(out, range.bytes.size(), 4);
        put(out, range.newBytes.size(), 4);
        out.insert(out.end(), range.bytes.begin(), range.bytes.end());
        out.insert(out.end(), range.newBytes.begin(), range.newBytes.end());
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
    std::int64_t* const sizes[] = {&journal.dataSize, &journal.namesSize, &journal.dataSizeAfter,
                                   &journal.namesSizeAfter};
    for (std::size_t i = 0; i < 4; ++i)
        *sizes[i] = static_cast<std::int64_t>(take(bytes, 8 + 8 * i, 8));
    const std::uint64_t count = take(bytes, 40, 4);
    std::size_t at = kHeaderSize;
    const auto takeBytes = [&](std::vector<std::uint8_t>& into, std::uint64_t length) {
        into.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                    bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    };
    for (std::uint64_t i = 0; i < count; ++i) {
        if (body - at < kRangeHeaderSize)
            return decoded;
        JournalRange range;
        const std::uint8_t file = bytes[at];
        range.offset = static_cast<std::int64_t>(take(bytes, at + 1, 8));
        const std::uint64_t oldLength = take(bytes, at + 9, 4);
        const std::uint64_t newLength = take(bytes, at + 13, 4);
        at += kRangeHeaderSize;
        if (file > 1 || range.offset < 0 || oldLength + newLength > body - at)
            return decoded;
        range.file = static_cast<PairFile>(file);
        takeBytes(range.bytes, oldLength);
        takeBytes(range.newBytes, newLength);
        journal.ranges.push_back(std::move(range));
    }
    if (at != body || journal.dataSize < 0 || journal.namesSize < 0 ||
        journal.dataSizeAfter < journal.dataSize || journal.namesSizeAfter < journal.namesSize)
        return decoded;
    decoded.state = JournalState::Pending;
    return decoded;
}

std::span<const std::uint8_t> journalDoneMark() {
    return kDoneMark;
}

JournalFit journalFit(const Journal& journal, FileHandle& data, FileHandle& names) {
    const std::int64_t dataSize = data.size(), namesSize = names.size();
    if (dataSize < journal.dataSize || dataSize > journal.dataSizeAfter ||
        namesSize < journal.namesSize || namesSize > journal.namesSizeAfter)
        return JournalFit::Foreign;
    bool whole = true;
    std::vector<std::uint8_t> now;
    for (const JournalRange& range : journal.ranges) {
        const std::int64_t fileSize = range.file == PairFile::Data ? dataSize : namesSize;
        const std::size_t covered = std::max(range.bytes.size(), range.newBytes.size());
        // What the file holds of the range; past its end the save's writes did not land.
        const std::int64_t held =
            std::clamp<std::int64_t>(fileSize - range.offset, 0, std::int64_t(covered));
        now.resize(static_cast<std::size_t>(held));
        if ((range.file == PairFile::Data ? data : names)
                .readAt(range.offset, now.data(), now.size()) != now.size())
            return JournalFit::Foreign;
        whole = whole && now.size() >= range.newBytes.size();
        for (std::size_t i = 0; i < now.size(); ++i) {
            // Past the old end the file held nothing; a write that grew the file and did not
            // land leaves zeros there.
            const std::uint8_t before = i < range.bytes.size() ? range.bytes[i] : 0;
            const std::uint8_t after = i < range.newBytes.size() ? range.newBytes[i] : before;
            if (now[i] != after) {
                whole = false;
                if (now[i] != before)
                    return JournalFit::Foreign;
            }
        }
    }
    return whole ? JournalFit::Whole : JournalFit::Torn;
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
