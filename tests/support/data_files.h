#pragma once
// Data files and names files for tests, made by our own code in a temporary
// folder. Plain C++, so the document tests and the window tests share it.
//
//   testsupport::TempFolder folder;
//   testsupport::DataFile file;                 // patterned header, no records
//   file.records = testsupport::sampleRecords(5);
//   const std::string path = folder.file("OBJDAT.dat");
//   file.write(path);                           // count 5 at offset 20
//   testsupport::writeNamesFile(path, {"Bunker", "Hangar"}); // OBJDAT.nam, two slots
//   testsupport::cutFile(path, testsupport::fieldOffset(2, 7)); // ends inside record 2

#include "document/errors.h"
#include "document/file_layout.h"
#include "document/name_codec.h"
#include "document/object_table.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

using Bytes = std::vector<std::uint8_t>;

/** Where field k of record r starts in a data file. */
constexpr std::int64_t fieldOffset(int r, int k) {
    return doc::recordOffset(r) + doc::kFieldSize * k;
}

/** A fresh folder under the system's temporary folder, removed with its contents at the end. */
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    /** The path of a file of that name inside the folder (the file is not created). */
    std::string file(const std::string& name) const;

private:
    std::string m_path;
};

/** 100 header bytes that are all different from zero and from one another's neighbours, so
 * that a changed header byte shows. Bytes 20 and 21 are overwritten by the count on write. */
std::array<std::uint8_t, doc::kHeaderSize> patternedHeader();

/** A record whose 25 fields all differ from record to record: integers, floats (as bit
 * patterns) such as 1.5 + r, and flags 1 and 0. */
doc::ObjectRecord sampleRecord(int r);
std::vector<doc::ObjectRecord> sampleRecords(int count);

/** A data file to write: header, stored count, records, bytes after the last record. */
struct DataFile {
    std::array<std::uint8_t, doc::kHeaderSize> header = patternedHeader();
    std::vector<doc::ObjectRecord> records;
    /** The count stored at offset 20; the number of records when not set. */
    std::optional<std::uint16_t> count;
    /** Bytes after the last record. */
    Bytes tail;

    /** The whole file: header with the count at offset 20, 25 little-endian fields per record,
     * then the tail. */
    Bytes bytes() const;
    /** Writes bytes() to path, replacing any file there. */
    void write(const std::string& path) const;
};

/** A data file of count sample records. */
DataFile sampleFile(int count);

/** A slot holding the given Windows-1252 bytes, zero-padded; 30 bytes leave no terminator. */
doc::NameSlot nameSlot(const std::string& cp1252Name);
/** count slots named "Object 0", "Object 1", ... */
std::vector<doc::NameSlot> numberedNames(int count);

/** Writes file to dataPath and the slots into the names file beside it. */
void writePair(const std::string& dataPath, const DataFile& file,
               const std::vector<doc::NameSlot>& names);

/** Writes the names file beside dataPath (doc::namesFilePath): one slot per name. */
void writeNamesFile(const std::string& dataPath, const std::vector<std::string>& cp1252Names);

/** Writes raw bytes to path, replacing any file there. */
void writeFile(const std::string& path, const Bytes& bytes);
/** Reads a whole file; an empty vector when it is missing. */
Bytes readFile(const std::string& path);
/** Shortens (or lengthens with zeros) the file to size bytes. */
void cutFile(const std::string& path, std::int64_t size);

/** Pieces of file bytes, read as the document lays them out. */
std::uint16_t storedCount(const Bytes& dataFile);
doc::ObjectRecord recordAt(const Bytes& dataFile, int r);
doc::NameSlot slotAt(const Bytes& namesFile, int r);

/** The message of the ErrorType that the call throws, or "" when it throws none; any other
 * exception goes on. */
template <typename ErrorType, typename Call> std::string thrownMessage(Call&& call) {
    try {
        call();
    } catch (const ErrorType& e) {
        return e.what();
    }
    return "";
}

/** The message of the IoError that the call throws, or "" when it throws none. */
template <typename Call> std::string ioMessage(Call&& call) {
    return thrownMessage<doc::IoError>(std::forward<Call>(call));
}

} // namespace testsupport
