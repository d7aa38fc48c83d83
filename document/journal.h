#pragma once
// The save's journal: before a save writes into the pair in place, the bytes it
// is about to overwrite, the files' sizes and which files they are go into a
// journal beside the data file, on the disk before the first write. Once both
// files hold the whole save, the journal is marked done and removed. An open
// that finds a journal that is not marked done knows the save stopped part-way
// and puts the old bytes back, so the pair is always the old one or the new one.

#include "document/file_system.h"

#include <cstdint>
#include <span>
#include <vector>

namespace doc {

enum class PairFile : std::uint8_t { Data = 0, Names = 1 };

/** Bytes of one of the two files as they were before the save, from offset. */
struct JournalRange {
    PairFile file = PairFile::Data;
    std::int64_t offset = 0;
    std::vector<std::uint8_t> bytes;
};

struct Journal {
    /** The files the save wrote into: a journal is applied only to these very files. */
    FileIdentity dataFile;
    FileIdentity namesFile;
    /** The sizes before the save; a save only lengthens the files, the rollback cuts them back. */
    std::int64_t dataSize = 0;
    std::int64_t namesSize = 0;
    std::vector<JournalRange> ranges;
};

/** The journal's bytes: a mark, the identities and sizes, the ranges, a CRC-32 of it all. */
std::vector<std::uint8_t> encodeJournal(const Journal& journal);

enum class JournalState {
    Pending, // a save stopped before it was whole: the old bytes must go back
    Done,    // the save is whole on the disk; the journal is only left over
    Damaged, // not a whole journal of ours (its mark, lengths or checksum do not hold)
};

struct DecodedJournal {
    JournalState state = JournalState::Damaged;
    Journal journal; // for Pending only
};

DecodedJournal decodeJournal(std::span<const std::uint8_t> bytes);

/** What a save writes over the start of its journal once it is whole on the disk: the journal is
 * then Done. As long as a single sector, it is either written or not. */
std::span<const std::uint8_t> journalDoneMark();

/** Whether the journal was written for these two files. */
bool journalBelongsTo(const Journal& journal, const FileHandle& data, const FileHandle& names);

/** Puts the old bytes back into both files, cuts them to their old sizes and returns once both
 * are on the disk. Running it again, after a crash in the middle, gives the same files. Throws
 * IoError. */
void rollBack(const Journal& journal, FileHandle& data, FileHandle& names);

} // namespace doc
