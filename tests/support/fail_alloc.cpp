// Test helper, not one of the programs: a library preloaded into a program
// under test (LD_PRELOAD) that makes one allocation fail. FAIL_ALLOC_AT=N
// makes the Nth call of malloc, calloc or realloc return a null pointer with
// errno ENOMEM; every other call goes to the C library's own allocator. With
// FAIL_ALLOC_COUNT=FILE the number of calls counted is written to FILE at
// exit, so a sweep knows how far N goes.
//
// Counting starts when this library's constructor runs: after the loader and
// the libraries the program links (the C and C++ runtimes, the XML library)
// have initialised themselves, before the program's own static initialisers
// and main. Failing the runtimes' start-up allocations would test them, not
// the program. Nothing here allocates: the counter is a plain atomic, the
// report is formatted into a stack buffer and written with write(2).

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

extern "C" {
// The C library's allocator under its own names, so no symbol lookup (which
// may allocate) is needed to reach it.
void *__libc_malloc(std::size_t size);
void *__libc_calloc(std::size_t count, std::size_t size);
void *__libc_realloc(void *pointer, std::size_t size);
}

namespace {

std::atomic<bool> counting{false};
std::atomic<unsigned long> calls{0};
unsigned long fail_at = 0;

unsigned long parse_number(const char *text)
{
    unsigned long value = 0;
    for (; text != nullptr && *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + static_cast<unsigned long>(*text - '0');
    }
    return value;
}

// Counts one call; true if this is the one to fail.
bool should_fail()
{
    if (!counting.load(std::memory_order_relaxed)) {
        return false;
    }
    const unsigned long number = calls.fetch_add(1, std::memory_order_relaxed) + 1;
    if (number == fail_at) {
        errno = ENOMEM;
        return true;
    }
    return false;
}

__attribute__((constructor)) void start_counting()
{
    fail_at = parse_number(std::getenv("FAIL_ALLOC_AT"));
    counting.store(true, std::memory_order_relaxed);
}

__attribute__((destructor)) void report_count()
{
    counting.store(false, std::memory_order_relaxed);
    const char *path = std::getenv("FAIL_ALLOC_COUNT");
    if (path == nullptr) {
        return;
    }
    char line[32];
    const int length = std::snprintf(line, sizeof line, "%lu\n", calls.load(std::memory_order_relaxed));
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || length <= 0) {
        return;
    }
    if (write(fd, line, static_cast<std::size_t>(length)) != length) {
        // Nothing to report it to: the sweep sees a missing or short count.
    }
    close(fd);
}

} // namespace

extern "C" {

void *malloc(std::size_t size)
{
    return should_fail() ? nullptr : __libc_malloc(size);
}

void *calloc(std::size_t count, std::size_t size)
{
    return should_fail() ? nullptr : __libc_calloc(count, size);
}

void *realloc(void *pointer, std::size_t size)
{
    return should_fail() ? nullptr : __libc_realloc(pointer, size);
}

}
