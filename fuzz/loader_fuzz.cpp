// Fuzzes the loader on real files: one input becomes a data file and, optionally, its names
// file. Beyond crashes it checks that an open changes no byte of either file and leaves nothing
// behind when it fails, that the loaded table equals the files' bytes, that a save right after
// the open changes no byte, and that the command-line companion's reader agrees with the open.
//
// Input: a control byte, a cut length, a two-byte split point, then the bytes of both files.
// The control byte can set the count into 1..512 and stretch each file (repeating its bytes) to
// the length the count needs, so short inputs reach every count and the full-length paths.

#include "document/document_reader.h"
#include "document/errors.h"
#include "document/file_layout.h"
#include "document/file_session.h"
#include "document/record_codec.h"
#include "fuzz/loader_input.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

using namespace loaderinput;

fs::path g_folder;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    check(out.good(), "the fuzzer writes its input files");
}

std::optional<Bytes> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/** bytes repeated (zeros when empty) up to length. */
Bytes stretched(const Bytes& bytes, std::size_t length) {
    Bytes out(length, 0);
    if (!bytes.empty())
        for (std::size_t i = 0; i < length; ++i)
            out[i] = bytes[i % bytes.size()];
    return out;
}

void cut(Bytes& bytes, std::size_t amount) {
    bytes.resize(bytes.size() - std::min(amount, bytes.size()));
}

std::size_t filesInFolder() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(g_folder), fs::directory_iterator()));
}

int countOf(const Bytes& data) {
    if (data.size() < static_cast<std::size_t>(doc::kCountOffset + doc::kCountSize))
        return 0;
    return data[doc::kCountOffset] | (data[doc::kCountOffset + 1] << 8);
}

/** The table loaded from data and names equals their bytes for the first count records. */
void checkTableMatches(const doc::ObjectTable& table, int count, const Bytes& data,
                       const Bytes& names) {
    check(table.recordCount() == count, "the table holds the file's count");
    for (int r = 0; r < count; ++r) {
        const auto record = doc::encodeRecord(table.records[static_cast<std::size_t>(r)]);
        check(std::equal(record.begin(), record.end(), data.begin() + doc::recordOffset(r)),
              "each record equals its bytes");
        const auto& slot = table.names[static_cast<std::size_t>(r)];
        check(std::equal(slot.begin(), slot.end(), names.begin() + doc::nameSlotOffset(r)),
              "each name slot equals its bytes");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/loader_fuzz.XXXXXX";
    check(mkdtemp(pattern.data()) != nullptr, "a private folder for the files");
    g_folder = pattern;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size < 4)
        return 0;
    const std::uint8_t control = input[0];
    const std::size_t cutAmount = input[1];
    const Bytes rest(input + 4, input + size);
    const std::size_t split = rest.empty() ? 0 : (input[2] | (input[3] << 8)) % (rest.size() + 1);
    Bytes data(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(split));
    Bytes names(rest.begin() + static_cast<std::ptrdiff_t>(split), rest.end());

    if ((control & kCountInRange) && data.size() >= doc::kCountOffset + doc::kCountSize) {
        const int count = countOf(data) % doc::kTableCapacity + 1;
        data[doc::kCountOffset] = static_cast<std::uint8_t>(count & 0xFF);
        data[doc::kCountOffset + 1] = static_cast<std::uint8_t>(count >> 8);
    }
    const int declared = countOf(data);
    if (control & kStretchData)
        data = stretched(data, std::max<std::size_t>(data.size(), doc::recordOffset(declared)));
    if (control & kStretchNames)
        names = stretched(names, static_cast<std::size_t>(doc::nameSlotOffset(declared)));
    if (control & kCutData)
        cut(data, cutAmount);
    if (control & kCutNames)
        cut(names, cutAmount);
    const bool withNames = (control & kWithNames) != 0;

    fs::remove_all(g_folder);
    fs::create_directory(g_folder);
    const fs::path dataPath = g_folder / "OBJDAT.dat";
    const fs::path namesPath = g_folder / "OBJDAT.nam";
    writeFile(dataPath, data);
    if (withNames)
        writeFile(namesPath, names);

    std::optional<doc::StoredDocument> stored;
    try {
        stored = doc::readStoredDocument(doc::FileSystem::real(), dataPath.string());
    } catch (const doc::Error&) {
    }
    check(readFile(dataPath) == data, "reading changes no byte of the data file");
    check(withNames == fs::exists(namesPath), "reading creates no names file");

    doc::FileSession session;
    try {
        session.open(dataPath.string());
    } catch (const doc::Error&) {
        check(readFile(dataPath) == data, "a failed open changes no byte of the data file");
        if (withNames)
            check(readFile(namesPath) == names, "a failed open changes no byte of the names file");
        check(filesInFolder() == (withNames ? 2u : 1u), "a failed open leaves no file behind");
        check(!stored, "what the reader reads, the editor opens");
        return 0;
    }
    check(readFile(dataPath) == data, "an open changes no byte of the data file");
    const std::optional<Bytes> namesAfterOpen = readFile(namesPath);
    check(namesAfterOpen.has_value(), "an open leaves a names file");
    if (withNames)
        check(namesAfterOpen == names, "an open changes no byte of the names file");
    check(filesInFolder() == 2u, "an open leaves only the pair");
    checkTableMatches(session.table(), declared, data, *namesAfterOpen);
    check(stored.has_value(), "what the editor opens, the reader reads");
    check(stored->count == declared, "the reader reads the same count");
    for (int r = 0; r < declared; ++r)
        check(stored->records[static_cast<std::size_t>(r)] ==
                  session.table().records[static_cast<std::size_t>(r)],
              "the reader reads the same records");
    if (withNames)
        check(std::equal(stored->names.begin(), stored->names.end(), session.table().names.begin()),
              "the reader reads the same names");

    session.save();
    check(readFile(dataPath) == data,
          "a save right after the open changes no byte of the data file");
    check(readFile(namesPath) == namesAfterOpen,
          "a save right after the open changes no byte of the names file");
    session.close();
    return 0;
}
