// Helpers shared by the tests that run the shell and the programs on the
// recording fakes.
#pragma once

#include "../support/floats.hpp"
#include "recorder.hpp"
#include "shell/shell.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace fakes_test {

// A stretch [begin, end) of the recorded calls.
struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
};

inline bool any_call(fakes::Fn) { return true; }
inline bool gl_call(fakes::Fn fn) { return fakes::is_gl(fn); }

// The descriptions of the recorded calls in `range` that pass `keep`.
inline std::vector<std::string> stream(Range range, bool (*keep)(fakes::Fn) = any_call) {
    std::vector<std::string> out;
    const std::vector<fakes::Call>& calls = fakes::calls();
    for (std::size_t k = range.begin; k < range.end && k < calls.size(); ++k) {
        if (keep(calls[k].fn)) {
            out.push_back(fakes::describe(calls[k]));
        }
    }
    return out;
}

inline std::vector<std::string> stream(bool (*keep)(fakes::Fn) = any_call) {
    return stream(Range{0, fakes::calls().size()}, keep);
}

inline std::size_t find_call(fakes::Fn fn, std::size_t from = 0) {
    const std::vector<fakes::Call>& calls = fakes::calls();
    for (std::size_t k = from; k < calls.size(); ++k) {
        if (calls[k].fn == fn) {
            return k;
        }
    }
    return calls.size();
}

// Each frame: the calls after the poll that found the queue empty, up to
// and without the swap that ends the frame.
inline std::vector<Range> frames() {
    std::vector<Range> out;
    const std::vector<fakes::Call>& calls = fakes::calls();
    for (std::size_t k = 0; k < calls.size(); ++k) {
        if (calls[k].fn != fakes::Fn::SDL_GL_SwapBuffers) {
            continue;
        }
        std::size_t poll = k;
        while (poll > 0 && calls[poll - 1].fn != fakes::Fn::SDL_PollEvent) {
            --poll;
        }
        out.push_back(Range{poll, k});
    }
    return out;
}

// Compares two call streams line by line and names the first difference, so
// that a failure shows the call that went wrong rather than two long lists.
inline ::testing::AssertionResult same_stream(const std::vector<std::string>& actual,
                                              const std::vector<std::string>& expected) {
    for (std::size_t k = 0; k < actual.size() && k < expected.size(); ++k) {
        if (actual[k] != expected[k]) {
            return ::testing::AssertionFailure() << "call " << k << " differs:\n  actual:   " << actual[k]
                                                 << "\n  expected: " << expected[k];
        }
    }
    if (actual.size() != expected.size()) {
        auto failure = ::testing::AssertionFailure();
        failure << actual.size() << " calls, expected " << expected.size();
        const auto& longer = actual.size() > expected.size() ? actual : expected;
        failure << (actual.size() > expected.size() ? "; unexpected: " : "; missing: ")
                << longer[std::min(actual.size(), expected.size())];
        return failure;
    }
    return ::testing::AssertionSuccess();
}

inline std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Queues `type` after the n-th swap, on top of any events queued already.
inline void event_after_swap(int n, Uint8 type) {
    fakes::sdl().after_swap = [n, type](int swaps) {
        if (swaps == n) {
            fakes::push_event(type);
        }
    };
}

// Sends what one standard stream of this process receives to a temporary
// file while it lives; text() gives what arrived.
class CapturedStream {
 public:
    explicit CapturedStream(int fd) : fd_(fd), file_(std::tmpfile()) {
        flush();
        saved_ = ::dup(fd_);
        ::dup2(::fileno(file_), fd_);
    }
    ~CapturedStream() {
        restore();
        std::fclose(file_);
    }
    CapturedStream(const CapturedStream&) = delete;
    CapturedStream& operator=(const CapturedStream&) = delete;

    std::string text() {
        restore();
        std::string out;
        std::rewind(file_);
        char buf[512];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, file_)) > 0) {
            out.append(buf, n);
        }
        return out;
    }

 private:
    void flush() const { std::fflush(fd_ == STDERR_FILENO ? stderr : stdout); }
    void restore() {
        if (saved_ >= 0) {
            flush();
            ::dup2(saved_, fd_);
            ::close(saved_);
            saved_ = -1;
        }
    }

    int fd_;
    std::FILE* file_;
    int saved_ = -1;
};

// Every test starts as a fresh process would: fakes at start-up, the clock
// at 0, no window, and SDL_VIDEODRIVER unset; the user's value comes back
// afterwards.
class FakesTest : public ::testing::Test {
 protected:
    void SetUp() override {
        if (const char* driver = std::getenv("SDL_VIDEODRIVER")) {
            had_driver_ = true;
            saved_driver_ = driver;
        }
        ::unsetenv("SDL_VIDEODRIVER");
        fakes::reset();
        elapsed_time = 0.0f;
    }

    void TearDown() override {
        EXPECT_TRUE(fakes::problems().empty()) << "first problem: " << fakes::problems().front();
        destroy_window();
        fakes::reset();
        if (had_driver_) {
            ::setenv("SDL_VIDEODRIVER", saved_driver_.c_str(), 1);
        } else {
            ::unsetenv("SDL_VIDEODRIVER");
        }
    }

 private:
    bool had_driver_ = false;
    std::string saved_driver_;
};

}  // namespace fakes_test
