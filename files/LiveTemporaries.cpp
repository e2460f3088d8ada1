#include "files/LiveTemporaries.h"

#include <climits>
#include <csignal>
#include <cstring>

#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace th::files {

namespace {

enum State { Free, Filling, Live };

// A fixed table, so that the handler touches no allocator and no lock: it
// reads a path only once its state says it is whole.
struct Place {
    std::atomic<int> state{Free};
    char path[PATH_MAX];
};

constexpr int kPlaces = 16;
Place places[kPlaces];

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the states");

extern "C" void removeAndEnd(int signal)
{
    removeLiveTemporaries();
    // The handler was reset to the default on entry: the same signal now
    // ends the process, with the status a caller expects of it.
    ::raise(signal);
}

} // namespace

int rememberTemporary(const std::filesystem::path& temporary) noexcept
{
    const std::string& name = temporary.native();
    if (name.size() >= PATH_MAX)
        return -1;
    for (int number = 0; number < kPlaces; ++number) {
        int expected = Free;
        if (places[number].state.compare_exchange_strong(expected, Filling)) {
            std::memcpy(places[number].path, name.c_str(), name.size() + 1);
            places[number].state.store(Live);
            return number;
        }
    }
    return -1;
}

void forgetTemporary(int number) noexcept
{
    if (number >= 0 && number < kPlaces)
        places[number].state.store(Free);
}

void removeLiveTemporaries() noexcept
{
    const int saved = errno;
    for (Place& place : places)
        if (place.state.load() == Live)
            ::unlink(place.path);
    errno = saved;
}

void removeLiveTemporariesOnInterrupt()
{
    struct sigaction action {};
    action.sa_handler = removeAndEnd;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM})
        ::sigaction(signal, &action, nullptr);
}

} // namespace th::files
