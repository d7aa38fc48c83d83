// Open and save of a data file at the table's capacity: 512 records (51,300 bytes) and 512
// name slots (15,360 bytes). Open reads both files whole; save writes one name slot and one
// record per write, 1,024 writes in all, journaled.
//
// Each is also measured beside a floor that does the same with bare system calls (the open: the
// same checks, lock and reads; the save: the same journal, writes and syncs), each run of one followed
// by a run of the other, so that a busy disk weighs on both alike; "ratio" is the time over the
// floor's. Where TMPDIR points decides
// what a sync costs (a RAM disk: nothing, so the ratio shows the program's own work).

#include "document/file_session.h"
#include "document/own_files.h"
#include "tests/support/data_files.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

struct FullFile {
    FullFile() {
        testsupport::DataFile file;
        file.records = testsupport::sampleRecords(doc::kTableCapacity);
        file.write(path);
        std::vector<std::string> names;
        for (int r = 0; r < doc::kTableCapacity; ++r)
            names.push_back("Object " + std::to_string(r));
        testsupport::writeNamesFile(path, names);
    }
    testsupport::TempFolder folder;
    std::string path = folder.file("OBJDAT.dat");
};

void BM_Open(benchmark::State& state) {
    FullFile file;
    doc::FileSession session;
    for (auto _ : state) {
        session.open(file.path); // each open lets the previous pair go
        benchmark::DoNotOptimize(session.table().lastIndex);
    }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_Save(benchmark::State& state) {
    FullFile file;
    doc::FileSession session;
    session.open(file.path);
    for (auto _ : state)
        session.save();
}
BENCHMARK(BM_Save)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

/** What a save does, with bare system calls: read what it overwrites, write that and what it
 * writes into a journal under a temporary name, sync it, give it its name, sync the folder; write
 * the record of the save under way and sync it and its folder; write every slot and record, sync
 * both files; mark the journal done, sync it, remove it and the record. */
void floorSave(const std::string& data, const std::string& names, const std::string& folder) {
    const int dataFd = ::open(data.c_str(), O_RDWR | O_CLOEXEC);
    const int namesFd = ::open(names.c_str(), O_RDWR | O_CLOEXEC);
    constexpr std::size_t kRecords = 512 * 100, kNames = 512 * 30;
    // The old bytes, then the new ones (the same here: the table is saved unchanged).
    std::vector<std::uint8_t> journal(64 + 2 * (kRecords + kNames));
    benchmark::DoNotOptimize(::pread(dataFd, journal.data() + 64, kRecords, 100));
    benchmark::DoNotOptimize(::pread(namesFd, journal.data() + 64 + kRecords, kNames, 0));
    std::memcpy(journal.data() + 64 + kRecords + kNames, journal.data() + 64, kRecords + kNames);
    const std::string journalPath = doc::journalPathFor(data);
    const std::string temporary = doc::journalTemporaryPathFor(data);
    const int journalFd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    benchmark::DoNotOptimize(::pwrite(journalFd, journal.data(), journal.size(), 0));
    ::fsync(journalFd);
    ::rename(temporary.c_str(), journalPath.c_str());
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(folderFd);
    ::close(folderFd);
    // The record of the save under way, for the file's other names: written, synced, its folder
    // synced.
    const std::string pending = doc::FileSystem::real().pendingSavesFolder() + "/floor.pending";
    const int recordFd = ::open(pending.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    benchmark::DoNotOptimize(::pwrite(recordFd, data.data(), data.size(), 0));
    ::fsync(recordFd);
    ::close(recordFd);
    const int recordFolderFd = ::open(doc::FileSystem::real().pendingSavesFolder().c_str(),
                                      O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(recordFolderFd);
    ::close(recordFolderFd);
    std::uint8_t slot[30] = {}, record[100] = {};
    for (int r = 0; r < 512; ++r) {
        std::memcpy(slot, journal.data() + 64 + kRecords + 30 * r, sizeof slot);
        std::memcpy(record, journal.data() + 64 + 100 * r, sizeof record);
        benchmark::DoNotOptimize(::pwrite(namesFd, slot, sizeof slot, 30 * r));
        benchmark::DoNotOptimize(::pwrite(dataFd, record, sizeof record, 100 + 100 * r));
    }
    ::fsync(namesFd);
    ::fsync(dataFd);
    benchmark::DoNotOptimize(::pwrite(journalFd, "CVNJDONE", 8, 0));
    ::fsync(journalFd);
    ::close(journalFd);
    ::unlink(journalPath.c_str());
    ::unlink(pending.c_str());
    ::close(namesFd);
    ::close(dataFd);
}

/** What an open checks and reads, with bare system calls: each file's kind looked at before it is
 * opened and again once open, the writer lock taken on the data file, the record of a save under
 * way through another name and the journal and its temporary looked for, the count, the record
 * area and the name slots read; the pair is let go (closing releases the lock). */
void floorOpen(const std::string& data, const std::string& names, const std::string& pending) {
    struct stat info {};
    benchmark::DoNotOptimize(::stat(data.c_str(), &info));
    const int dataFd = ::open(data.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    benchmark::DoNotOptimize(::fstat(dataFd, &info));
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_start = 1 << 30;
    lock.l_len = 1;
    benchmark::DoNotOptimize(::fcntl(dataFd, F_OFD_SETLK, &lock));
    for (const std::string& path :
         {pending, doc::journalPathFor(data), doc::journalTemporaryPathFor(data)})
        benchmark::DoNotOptimize(::lstat(path.c_str(), &info));
    std::uint8_t count[2];
    benchmark::DoNotOptimize(::pread(dataFd, count, sizeof count, 20));
    std::vector<std::uint8_t> records(512 * 100);
    benchmark::DoNotOptimize(::pread(dataFd, records.data(), records.size(), 100));
    benchmark::DoNotOptimize(::stat(names.c_str(), &info));
    const int namesFd = ::open(names.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    benchmark::DoNotOptimize(::fstat(namesFd, &info));
    std::vector<std::uint8_t> slots(512 * 30);
    benchmark::DoNotOptimize(::pread(namesFd, slots.data(), slots.size(), 0));
    ::close(namesFd);
    ::close(dataFd);
}

/** Runs work and floor in turn, each run of one followed by a run of the other, so that a busy
 * machine weighs on both alike; reports work's time as the iteration's, both means and their
 * ratio as counters. */
template <typename Work, typename Floor>
void againstFloor(benchmark::State& state, Work work, Floor floor) {
    using Clock = std::chrono::steady_clock;
    Clock::duration works{}, floors{};
    for (auto _ : state) {
        const auto start = Clock::now();
        work();
        const auto worked = Clock::now();
        floor();
        const auto floored = Clock::now();
        works += worked - start;
        floors += floored - worked;
        state.SetIterationTime(std::chrono::duration<double>(worked - start).count());
    }
    const auto micro = [&](Clock::duration total) {
        return std::chrono::duration<double, std::micro>(total).count() /
               static_cast<double>(state.iterations());
    };
    state.counters["us"] = micro(works);
    state.counters["floor_us"] = micro(floors);
    state.counters["ratio"] = micro(works) / micro(floors);
}

/** The open of a pair the session does not hold yet, as when the editor opens another file:
 * two pairs opened in turn, each open letting the other pair go. */
void BM_OpenAgainstFloor(benchmark::State& state) {
    FullFile first, second;
    const std::string names = doc::namesFilePath(first.path);
    doc::FileSession session;
    bool atFirst = false;
    againstFloor(
        state,
        [&] {
            atFirst = !atFirst;
            session.open(atFirst ? first.path : second.path);
            benchmark::DoNotOptimize(session.table().lastIndex);
        },
        [&, pending = doc::FileSystem::real().pendingSavesFolder() + "/floor.pending"] {
            floorOpen(first.path, names, pending);
        });
}
BENCHMARK(BM_OpenAgainstFloor)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_SaveAgainstFloor(benchmark::State& state) {
    FullFile file;
    doc::FileSession session;
    session.open(file.path);
    againstFloor(
        state, [&] { session.save(); },
        [&] { floorSave(file.path, doc::namesFilePath(file.path), file.folder.path()); });
}
BENCHMARK(BM_SaveAgainstFloor)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
