#pragma once
// Maps palette rows on a second thread, a bounded distance ahead of the PNG
// writer that compresses them: mapping and compressing take about as long as
// each other, so a palette save finishes in about half their sum. Rows are
// mapped strictly in order by the one quantiser, so the result is the same
// bits as mapping them one by one on the writer's thread.
//
// Nothing here throws. When the thread or its slots cannot be had, the rows
// are mapped on the writer's thread instead, with the same result; when the
// mapping thread fails, it stops and hands its exception to the writer.

#include <condition_variable>
#include <exception>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace th::image {

class PaletteQuantiser;

class MappedRowFeed {
public:
    MappedRowFeed(PaletteQuantiser& quantiser, int height);
    // Stops the mapping thread, also when the writer gave up half way.
    ~MappedRowFeed();
    MappedRowFeed(const MappedRowFeed&) = delete;
    MappedRowFeed& operator=(const MappedRowFeed&) = delete;

    // The next row's packed indices, in row order, valid until the next call;
    // nullptr once the mapping thread failed.
    const std::uint8_t* next();
    // What stopped the mapping thread; empty while nothing did.
    std::exception_ptr failure() const;

private:
    void start();
    void produce();
    void mapRows();

    // A side that has to wait sleeps until a batch of rows (or of free
    // slots) is ready, not just one: waking a thread per row cost more than
    // mapping the row.
    static constexpr int kSlots = 64;
    static constexpr int kBatch = 16;

    PaletteQuantiser& quantiser_;
    const int height_;
    std::vector<std::vector<std::uint8_t>> slots_;
    mutable std::mutex mutex_;
    std::condition_variable rowsReady_;
    std::condition_variable slotsFree_;
    int mapped_ = 0;        // rows finished by the mapping thread
    int taken_ = 0;         // rows handed to the writer; the last one is still in use
    int writerNeeds_ = 0;   // while the writer sleeps: the mapped count it waits for
    int mapperNeeds_ = 0;   // while the mapper sleeps: the taken count it waits for
    bool writerWaits_ = false;
    bool mapperWaits_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread worker_; // not joinable: the writer maps its own rows
};

} // namespace th::image
