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

/** One stretch of one of the two files that a save writes: what it held before (as many bytes as
 * the file held there; past its end, nothing) and what the save writes there. Either may be the
 * longer: a save also reads back, and so keeps, bytes it does not write. */
struct JournalRange {
    PairFile file = PairFile::Data;
    std::int64_t offset = 0;
    std::vector<std::uint8_t> bytes;    // before the save
    std::vector<std::uint8_t> newBytes; // what the save writes from offset
};

/** A journal is tied to no file by name or number: it is applied to files whose content and
 * sizes show a torn state of exactly its save, wherever they are and whatever they are called,
 * so a copy of a cut-off pair with its journal is put back like the original, and files put in
 * the pair's place since (a backup copied back, another program's save) are never written. */
struct Journal {
    /** The sizes before the save, and once it is whole; a save only lengthens the files, the
     * rollback cuts them back. */
    std::int64_t dataSize = 0;
    std::int64_t namesSize = 0;
    std::int64_t dataSizeAfter = 0;
    std::int64_t namesSizeAfter = 0;
    std::vector<JournalRange> ranges;
};

/** The journal's bytes: a mark, the sizes, the ranges, a CRC-32 of it all. */
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

/** How two files stand to a pending journal. */
enum class JournalFit {
    Torn,    // some of the save's writes landed: each byte holds its old or new value, each size
             // lies between the two; putting the old bytes back gives the pair before the save
    Whole,   // every byte the save writes holds its new value: nothing to put back
    Foreign, // anything else: these are not the files of that save, or no longer
};

/** Reads what the journal covers in both files. Throws IoError. */
JournalFit journalFit(const Journal& journal, FileHandle& data, FileHandle& names);

/** Puts the old bytes back into both files, cuts them to their old sizes and returns once both
 * are on the disk. Running it again, after a crash in the middle, gives the same files. Throws
 * IoError. */
void rollBack(const Journal& journal, FileHandle& data, FileHandle& names);

} // namespace doc
