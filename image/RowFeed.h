#pragma once
// Produces rows on a second thread, a bounded distance ahead of the thread
// that consumes them: the palette save maps rows while the writer hands the
// ones before to the compression. Rows are produced strictly in order by the one
// producer, so the result is the same bits as producing them one by one on
// the consumer's thread.
//
// Nothing here throws. When the thread or its slots cannot be had, or one
// thread is asked for, the rows are produced on the consumer's thread
// instead, with the same result; when the producer throws, it stops and its
// exception is handed to the consumer.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace th::image {

class RowFeed {
public:
    // Writes row `row` into `slot`, which holds the slot bytes the feed was
    // made with; false when the rows end before the last one (data that
    // breaks off). Called for rows 0, 1, 2 ... in turn, never twice for one.
    using Producer = std::function<bool(int row, std::uint8_t* slot)>;
    enum class Threads { One, Two };

    RowFeed(int rows, std::size_t slotBytes, Producer produce, Threads threads = Threads::Two);
    // Stops the producing thread, also when the consumer gave up half way.
    ~RowFeed();
    RowFeed(const RowFeed&) = delete;
    RowFeed& operator=(const RowFeed&) = delete;

    // The next row, in row order, valid until the next call; nullptr once
    // the producer ended early or failed.
    const std::uint8_t* next();
    // What stopped the producer; empty while nothing did.
    std::exception_ptr failure() const;

private:
    void start();
    void run();
    void produceRows();
    const std::uint8_t* produceHere();

    // A side that has to wait sleeps until a batch of rows (or of free
    // slots) is ready, not just one: waking a thread per row cost more than
    // producing it.
    static constexpr int kSlots = 64;
    static constexpr int kBatch = 16;

    const int rows_;
    const std::size_t slotBytes_;
    const Producer produce_;
    std::vector<std::uint8_t> slots_;
    mutable std::mutex mutex_;
    std::condition_variable rowsReady_;
    std::condition_variable slotsFree_;
    int produced_ = 0;      // rows finished by the producer
    int taken_ = 0;         // rows handed to the consumer; the last one is still in use
    int consumerNeeds_ = 0; // while the consumer sleeps: the produced count it waits for
    int producerNeeds_ = 0; // while the producer sleeps: the taken count it waits for
    bool consumerWaits_ = false;
    bool producerWaits_ = false;
    bool stopping_ = false;
    bool ended_ = false;    // the producer will give no more rows
    std::exception_ptr failure_;
    std::thread worker_;    // not joinable: the consumer produces its own rows
};

} // namespace th::image
