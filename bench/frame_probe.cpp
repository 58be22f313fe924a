// Counts a program's frames from outside it: loaded with LD_PRELOAD, it
// wraps SDL_GL_SwapBuffers and the allocation functions. The programs print
// nothing and are not changed for measuring.
//
// Environment:
//   FRAMEPROBE_OUT      file that receives one line per mark (required)
//   FRAMEPROBE_MARKS    frame numbers at which to take a mark, ascending,
//                       e.g. "100,5100,10100"; or
//   FRAMEPROBE_SECONDS  "W,S": a mark W seconds after the first swap and
//                       one S seconds later
//   FRAMEPROBE_DUMP     when set, each mark after the first swap also has
//                       callgrind dump its counts and start afresh, so that
//                       under valgrind a dump holds exactly the frames
//                       between two marks
// A mark is taken right after the swap of that frame returns. After the
// last mark the lines are written and the process ends with status 0.
//
// Each line: frame, monotonic ns, allocations made directly by the main
// executable's own code, allocations by anyone, resident and peak KiB, and
// the CPU time the process has used (all its threads), which a busy machine
// disturbs far less than the wall-clock rate.
// The first line is the first swap's mark.
#include <dlfcn.h>
#include <fcntl.h>
#include <link.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_DUMP_STATS_AT(what)
#endif

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
}

namespace {

// ---------------------------------------------------------------- allocations

std::uintptr_t exe_begin = 0, exe_end = 0;  // the main executable's code
std::uint64_t own_allocations = 0, all_allocations = 0;

int find_executable(dl_phdr_info* info, std::size_t, void*) {
    // The first object is the main program.
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        if (ph.p_type == PT_LOAD && (ph.p_flags & PF_X) != 0) {
            exe_begin = info->dlpi_addr + ph.p_vaddr;
            exe_end = exe_begin + ph.p_memsz;
        }
    }
    return 1;
}

__attribute__((constructor)) void locate_executable() { dl_iterate_phdr(find_executable, nullptr); }

inline void count(void* caller) {
    __atomic_fetch_add(&all_allocations, 1, __ATOMIC_RELAXED);
    const auto at = reinterpret_cast<std::uintptr_t>(caller);
    if (at >= exe_begin && at < exe_end) {
        __atomic_fetch_add(&own_allocations, 1, __ATOMIC_RELAXED);
    }
}

// operator new reaches malloc from the C++ runtime: count it once, as the
// caller's, and not again in malloc.
thread_local bool in_new = false;

void* counted_new(std::size_t n, void* caller) {
    count(caller);
    in_new = true;
    void* p = __libc_malloc(n != 0 ? n : 1);
    in_new = false;
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}

// ---------------------------------------------------------------- frames

constexpr int max_marks = 8;
struct mark {
    std::uint64_t frame, ns, own, all;
    long rss_kib, peak_kib;
    std::uint64_t cpu_us;
};
mark marks[max_marks];
int n_marks = 0;  // marks wanted
int taken = 0;    // marks taken
std::uint64_t at_frame[max_marks];
double at_seconds[max_marks];
const char* out_path = nullptr;
bool by_time = false;
bool dump = false;
bool configured = false;
std::uint64_t frames = 0;
std::uint64_t first_ns = 0;

std::uint64_t now_ns() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::uint64_t(ts.tv_sec) * 1000000000u + std::uint64_t(ts.tv_nsec);
}

long resident_kib() {
    char buf[128];
    const int fd = open("/proc/self/statm", O_RDONLY);
    if (fd < 0) {
        return -1;
    }
    const ssize_t got = read(fd, buf, sizeof buf - 1);
    close(fd);
    if (got <= 0) {
        return -1;
    }
    buf[got] = '\0';
    const char* p = std::strchr(buf, ' ');
    return p == nullptr ? -1 : std::strtol(p + 1, nullptr, 10) * (sysconf(_SC_PAGESIZE) / 1024);
}

[[noreturn]] void fail(const char* why) {
    const char prefix[] = "frame_probe: ";
    if (write(2, prefix, sizeof prefix - 1) < 0 || write(2, why, std::strlen(why)) < 0 ||
        write(2, "\n", 1) < 0) {
    }
    _exit(3);
}

void configure() {
    configured = true;
    const char* list = std::getenv("FRAMEPROBE_MARKS");
    const char* seconds = std::getenv("FRAMEPROBE_SECONDS");
    out_path = std::getenv("FRAMEPROBE_OUT");
    if (out_path == nullptr || (list == nullptr) == (seconds == nullptr)) {
        fail("set FRAMEPROBE_OUT and one of FRAMEPROBE_MARKS or FRAMEPROBE_SECONDS");
    }
    by_time = seconds != nullptr;
    dump = std::getenv("FRAMEPROBE_DUMP") != nullptr;
    const char* p = by_time ? seconds : list;
    double sum = 0;
    while (*p != '\0' && n_marks < max_marks) {
        char* end;
        const double v = std::strtod(p, &end);
        if (end == p || v <= 0) {
            fail("marks must be positive numbers separated by commas");
        }
        sum = by_time ? sum + v : v;
        at_seconds[n_marks] = sum;
        at_frame[n_marks] = std::uint64_t(v);
        ++n_marks;
        p = *end == ',' ? end + 1 : end;
    }
}

void take_mark(std::uint64_t t) {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    marks[taken++] = {frames,
                      t,
                      __atomic_load_n(&own_allocations, __ATOMIC_RELAXED),
                      __atomic_load_n(&all_allocations, __ATOMIC_RELAXED),
                      resident_kib(),
                      usage.ru_maxrss,
                      std::uint64_t(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000u +
                          std::uint64_t(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec)};
}

[[noreturn]] void finish() {
    const int fd = out_path != nullptr ? open(out_path, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
    if (fd < 0) {
        fail("cannot write FRAMEPROBE_OUT");
    }
    for (int i = 0; i < taken; ++i) {
        char line[256];
        const int n =
            std::snprintf(line, sizeof line,
                          "frame=%llu ns=%llu own_allocations=%llu all_allocations=%llu rss_kib=%ld "
                          "peak_kib=%ld cpu_us=%llu\n",
                          (unsigned long long)marks[i].frame, (unsigned long long)marks[i].ns,
                          (unsigned long long)marks[i].own, (unsigned long long)marks[i].all,
                          marks[i].rss_kib, marks[i].peak_kib, (unsigned long long)marks[i].cpu_us);
        if (write(fd, line, std::size_t(n)) != n) {
            fail("cannot write FRAMEPROBE_OUT");
        }
    }
    close(fd);
    _exit(0);
}

void on_swap() {
    if (!configured) {
        configure();
    }
    ++frames;
    const std::uint64_t t = now_ns();
    if (frames == 1) {
        first_ns = t;
        take_mark(t);
    }
    const int next = taken - 1;  // the first swap's mark is extra
    const bool due = by_time ? double(t - first_ns) >= at_seconds[next] * 1e9 : frames >= at_frame[next];
    if (due) {
        take_mark(t);
        if (dump) {
            CALLGRIND_DUMP_STATS_AT("frame mark");
        }
        if (taken - 1 == n_marks) {
            finish();
        }
    }
}

}  // namespace

extern "C" {

void SDL_GL_SwapBuffers(void) {
    using swap_fn = void (*)();
    static const auto real = reinterpret_cast<swap_fn>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    if (real == nullptr) {
        fail("SDL_GL_SwapBuffers not found");
    }
    real();
    on_swap();
}

void* malloc(std::size_t n) {
    if (!in_new) {
        count(__builtin_return_address(0));
    }
    return __libc_malloc(n);
}
void* calloc(std::size_t n, std::size_t size) {
    count(__builtin_return_address(0));
    return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t n) {
    count(__builtin_return_address(0));
    return __libc_realloc(p, n);
}
void* memalign(std::size_t align, std::size_t n) {
    count(__builtin_return_address(0));
    return __libc_memalign(align, n);
}
void* aligned_alloc(std::size_t align, std::size_t n) {
    count(__builtin_return_address(0));
    return __libc_memalign(align, n);
}
int posix_memalign(void** out, std::size_t align, std::size_t n) {
    count(__builtin_return_address(0));
    *out = __libc_memalign(align, n);
    return *out != nullptr ? 0 : 12;  // ENOMEM
}

}  // extern "C"

void* operator new(std::size_t n) { return counted_new(n, __builtin_return_address(0)); }
void* operator new[](std::size_t n) { return counted_new(n, __builtin_return_address(0)); }
