// Palette saves under injected failures: every allocation of a save fails in
// turn, on whichever thread makes it, and the mapping thread cannot start. A
// save then ends with the same file as without the failure or with
// OutOfMemory and no file at all; it never throws and never ends the program.

#include "image/ImageStore.h"
#include "image/PngEncoder.h"

#include "testing/PngFile.h"
#include "testing/TempHome.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocationsBeforeFailure{-1}; // below 0: none fails
std::atomic<bool> allocationFailed{false};
std::atomic<bool> threadsRefused{false};

} // namespace

void* operator new(std::size_t size)
{
    if (allocationsBeforeFailure.load() >= 0 && allocationsBeforeFailure.fetch_sub(1) == 0) {
        allocationFailed = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// gcc sees free() meet memory from new; here new is malloc.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

// The system's refusal as std::thread meets it: pthread_create returns
// EAGAIN. Forwarding through RTLD_NEXT reaches a sanitizer's own wrapper when
// its runtime is a shared library (gcc's), as in the sanitizer build.
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*run)(void*), void* argument)
{
    if (threadsRefused)
        return EAGAIN;
    using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
    static const auto next = reinterpret_cast<Create>(::dlsym(RTLD_NEXT, "pthread_create"));
    return next(thread, attributes, run, argument);
}

namespace {

using namespace th::image;
using th::testing::readBytes;

TEST(SaveFailures, EachFailureInTurnGivesTheSameFileOrOutOfMemoryAndNoFile)
{
    const th::testing::TempHome home;
    ImageStore store;
    store.registerEncoder(std::make_unique<PngEncoder>());
    // Taller than the feed's 64 slots, so the mapping thread waits and
    // reuses slots before the save ends.
    const int picture = th::testing::makePicture(store, 37, 150, [](int x, int y) {
        return th::testing::Rgba{(x * 7 + y) % 256, (y * 3) % 256, (x * y) % 256, y % 5 ? 255 : 40};
    });
    // Depth 8: the palette depths allocate alike, and RGBA allocates less.
    const auto save = [&](const std::filesystem::path& file) {
        return store.save(picture, file, kCodecPng, SaveFlags::None, 8);
    };
    ASSERT_TRUE(save(home.path() / "reference.png").ok());
    const std::string reference = readBytes(home.path() / "reference.png");
    const std::filesystem::path attempt = home.path() / "attempt.png";
    // A mapping thread that cannot start leaves the mapping to the writer.
    threadsRefused = true;
    ASSERT_TRUE(save(attempt).ok());
    threadsRefused = false;
    EXPECT_EQ(readBytes(attempt), reference) << "written without the mapping thread";
    std::filesystem::remove(attempt);
    int failures = 0;
    for (long n = 0;; ++n) {
        allocationFailed = false;
        allocationsBeforeFailure = n;
        const th::image::SaveResult result = save(attempt);
        allocationsBeforeFailure = -1;
        if (!allocationFailed) {
            EXPECT_TRUE(result.ok());
            break;
        }
        ++failures;
        SCOPED_TRACE("allocation " + std::to_string(n) + " failed");
        if (result.ok()) {
            EXPECT_EQ(readBytes(attempt), reference);
            std::filesystem::remove(attempt);
        } else {
            EXPECT_EQ(result.file.cause, th::files::FileError::OutOfMemory);
        }
        EXPECT_EQ(th::testing::namesIn(home.path()), std::vector<std::string>{"reference.png"});
    }
    EXPECT_GT(failures, 10) << "the injection reached the save";
}

} // namespace
