#pragma once
// Reading a data file and its names file: the pairing of the two paths, the
// record count, the name slots and the records. The file session and the
// command-line companion both read through here, so a file one of them refuses
// the other refuses too.

#include "document/file_system.h"
#include "document/name_codec.h"
#include "document/object_table.h"

#include <string>
#include <vector>

namespace doc {

/** The names file that pairs with dataPath; throws Error "A names file cannot be opened as a
 * data file" when dataPath is itself a names file's path. */
std::string pairedNamesPath(const std::string& dataPath);

/** Throws the same error when the open names file is the data file under another name (a
 * link), which would let a save write name slots into the data file. */
void requireSeparateFiles(const FileHandle& namesFile, const FileHandle& dataFile);

/** The record count at offset 20. Throws IoError "Read beyond end of file" when the file ends
 * before it, and Error "Record count <n> is out of range (1 to 512)" for a count the table
 * cannot hold. */
int readRecordCount(FileHandle& dataFile);

/** Records 0 to count - 1; "Read beyond end of file" when the file holds fewer. */
std::vector<ObjectRecord> readRecords(FileHandle& dataFile, int count);

/** Name slots 0 to count - 1; "Read beyond end of file" when the file holds fewer. */
std::vector<NameSlot> readNameSlots(FileHandle& namesFile, int count);

/** A data file and its names file as they are on disk. */
struct StoredDocument {
    int count = 0;
    std::vector<ObjectRecord> records;
    /** One slot per record; all zero (empty names) when there is no names file. */
    std::vector<NameSlot> names;
    bool hasNamesFile = false;
    /** What a reader reports of a journal beside the pair that does not fit it; usually empty. */
    std::string journalNotice;
};

/** Reads the pair without creating or changing either file: the same checks and errors as the
 * editor's open (anything but a regular file at either path is "File access denied"), but a
 * missing names file reads as empty names. A save under way in another program is waited for;
 * a pair with the journal of a save that was cut off is refused with an Error saying so (see
 * checkInterruptedSave). */
StoredDocument readStoredDocument(FileSystem& fileSystem, const std::string& dataPath);

} // namespace doc
