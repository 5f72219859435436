#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cwchar>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "captured_output.h"
#include "trace/console.h"
#include "trace/utf8.h"

using quillet::encodeUtf8;
using quillet::installTraceOutput;
using quillet::kUtf8BytesPerWide;
using quillet::traceWprintf;

namespace {

TEST(TraceOutput, WritersKeepTheirOrderOnOneLine)
{
    std::string out = captureOutput([] {
        std::wcout << L"Name = " << L"x";
        std::cout << " type = " << 8 << std::endl;
        traceWprintf(L"period = %d\n", -30);
        std::wcout << L" PDORemovePeriod : " << 20 << std::endl;
        std::cout << "narrow" << std::endl;
    });
    EXPECT_EQ("Name = x type = 8\nperiod = -30\n PDORemovePeriod : 20\nnarrow\n", out);
}

TEST(TraceOutput, WideTextIsUtf8)
{
    std::string out = captureOutput([] {
        std::wcout << L"\u00e9\u4e2d\U0001F600" << std::endl;
        traceWprintf(L"hbaInstName = %ls\n", L"ROOT\\\u00c9");
    });
    EXPECT_EQ("\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80\nhbaInstName = ROOT\\\xc3\x89\n", out);
}

TEST(TraceOutput, Utf8AtEveryLengthBoundaryAndForInvalidValues)
{
    const wchar_t text[] = {0x7F,     0x80,     0x7FF,  0x800,  0xFFFF, 0x10000,
                            0x10FFFF, 0x110000, 0xD800, 0xDFFF, L'a'};
    const size_t length = sizeof(text) / sizeof(text[0]);
    std::vector<char> out(length * kUtf8BytesPerWide);
    std::string bytes(out.data(), encodeUtf8(text, length, out.data()));
    EXPECT_EQ("\x7f"
              "\xc2\x80"
              "\xdf\xbf"
              "\xe0\xa0\x80"
              "\xef\xbf\xbf"
              "\xf0\x90\x80\x80"
              "\xf4\x8f\xbf\xbf"
              "\xef\xbf\xbd"
              "\xef\xbf\xbd"
              "\xef\xbf\xbd"
              "a",
              bytes);
}

TEST(TraceOutput, WideStreamStaysDecimalWhenNarrowIsHex)
{
    std::string out = captureOutput([] {
        std::cout << std::hex << 26 << std::endl;
        std::wcout << 26 << std::endl;
        traceWprintf(L"%d\n", 26);
    });
    std::cout << std::dec;
    EXPECT_EQ("1a\n26\n26\n", out);
}

// The wrappers' formats are formatted by the trace itself; any other by the C library. Both
// must say what wprintf says.
TEST(TraceOutput, FormattedLinesSayWhatTheCLibrarySays)
{
    std::string expected,
        out = captureOutput([&] {
            auto both = [&](const wchar_t* format, auto... args) {
                wchar_t buffer[256];
                int length = swprintf(buffer, 256, format, args...);
                ASSERT_GE(length, 0);
                std::vector<char> bytes(length * kUtf8BytesPerWide + 1);
                expected.append(bytes.data(), encodeUtf8(buffer, length, bytes.data()));
                EXPECT_TRUE(traceWprintf(format, args...));
            };
            for (int value : {INT_MIN, -30, 0, 7, INT_MAX})
                both(L"period = %d\n", value);
            both(L"hbsInstName = %ls\n", L"ROOT\\\\ISCSIPRT\\\\0000_0 \u00e9");
            both(L"%ls|%%|%d\n", static_cast<const wchar_t*>(NULL), 5);
            both(L"%5d|%-4ls|%x|%ld\n", 42, L"ab", 255, 7L);
            both(L"no conversion\n");
        });
    EXPECT_EQ(expected, out);
}

TEST(TraceOutput, LongLinesLeaveWhole)
{
    // Past the 2^26 characters where the formatting buffer once stopped growing.
    const size_t huge = (size_t(1) << 26) + 3;
    std::wstring name(huge, L'n');
    std::string out = captureOutput([&] {
        EXPECT_TRUE(traceWprintf(L"hbsInstName = %ls\n", name.c_str()));
        EXPECT_TRUE(traceWprintf(L"%-3ls|\n", name.c_str() + huge - (1 << 20)));
        std::wcout << name.c_str() + huge - 4096 << std::endl;
    });
    EXPECT_EQ("hbsInstName = " + std::string(huge, 'n') + "\n" + std::string(1 << 20, 'n') + "|\n" +
                  std::string(4096, 'n') + "\n",
              out);
}

// Standard output pointed somewhere else for the life of the object.
class StdoutRedirect
{
public:
    explicit StdoutRedirect(int target) : m_saved(dup(STDOUT_FILENO))
    {
        fflush(stdout);
        if (target >= 0)
            dup2(target, STDOUT_FILENO);
        else
            close(STDOUT_FILENO);
    }
    ~StdoutRedirect()
    {
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
    }

private:
    int m_saved;
};

// Each way a write can be refused loses the lines written meanwhile, and nothing else: the
// streams stay good, C stdout shows no error, later lines arrive whole.
TEST(TraceOutput, RefusedWritesLoseOnlyTheirLines)
{
    signal(SIGPIPE, SIG_IGN);  // as in the Python interpreter
    int closedPipe[2];
    ASSERT_EQ(0, pipe(closedPipe));
    close(closedPipe[0]);
    const int full = open("/dev/full", O_WRONLY);
    ASSERT_GE(full, 0);
    const std::map<std::string, int> refusals = {
        {"ENOSPC", full}, {"EPIPE", closedPipe[1]}, {"EBADF", -1}};
    for (const auto& refusal : refusals) {
        std::string out = captureOutput([&] {
            {
                StdoutRedirect refused(refusal.second);
                std::printf("script's text\n");  // left in C stdout: its flush fails too
                std::wcout << L"lost = " << 1;
                std::cout << " type = " << 3 << std::endl;
                traceWprintf(L"lost %ls\n", L"too");
                EXPECT_TRUE(std::cout.good() && std::wcout.good()) << refusal.first;
                EXPECT_EQ(0, ferror(stdout)) << refusal.first;
            }
            std::wcout << L"Name = " << L"x";
            std::cout << " type = " << 8 << std::endl;
            traceWprintf(L"period = %d\n", 20);
            std::printf("script again\n");
            EXPECT_EQ(0, std::fflush(stdout)) << refusal.first;
        });
        EXPECT_EQ("Name = x type = 8\nperiod = 20\nscript again\n", out) << refusal.first;
    }
    close(full);
    close(closedPipe[1]);
}

// A signal that interrupts a write blocked on a full pipe does not cut the line short.
TEST(TraceOutput, InterruptedWritesFinishTheLine)
{
    struct sigaction action = {};
    action.sa_handler = [](int) {};  // no SA_RESTART: the write returns early
    ASSERT_EQ(0, sigaction(SIGUSR1, &action, NULL));
    int channel[2];
    ASSERT_EQ(0, pipe(channel));
    const std::string line(1 << 20, 'x');
    std::string received;
    std::atomic<bool> writing(true);
    std::thread reader([&] {
        usleep(100 * 1000);  // the writer blocks on the full pipe meanwhile
        char buffer[4096];
        ssize_t n;
        while ((n = read(channel[0], buffer, sizeof(buffer))) > 0) {
            received.append(buffer, static_cast<size_t>(n));
            usleep(200);
        }
    });
    installTraceOutput();
    std::thread writer([&] {
        StdoutRedirect toPipe(channel[1]);
        close(channel[1]);
        std::cout << line << std::endl;
        std::cout << "after" << std::endl;
        writing = false;
    });
    const pthread_t target = writer.native_handle();
    while (writing) {
        pthread_kill(target, SIGUSR1);
        usleep(500);
    }
    writer.join();
    reader.join();
    close(channel[0]);
    signal(SIGUSR1, SIG_DFL);
    EXPECT_TRUE(received == line + "\nafter\n") << received.size() << " bytes";
}

// A process forked while another thread is in the middle of writing a line can still trace.
TEST(TraceOutput, ForkedChildTracesWhileAParentThreadIsMidLine)
{
    installTraceOutput();
    int blocked[2], childOutput[2];
    ASSERT_EQ(0, pipe(blocked));
    ASSERT_EQ(0, pipe(childOutput));
    std::atomic<bool> written(false);
    std::string fromChild;
    pid_t child = -1;
    {
        StdoutRedirect toBlockedPipe(blocked[1]);
        // Bigger than the pipe holds: the writer waits in the middle of its line.
        std::thread writer([&] {
            std::cout << std::string(1 << 20, 'w') << std::endl;
            written = true;
        });
        usleep(100 * 1000);
        child = fork();
        if (child == 0) {
            alarm(10);  // a child stuck on the lock dies instead of hanging the test
            dup2(childOutput[1], STDOUT_FILENO);
            std::cout << "child traced" << std::endl;
            _exit(0);
        }
        close(childOutput[1]);
        char buffer[256];
        ssize_t n;
        while ((n = read(childOutput[0], buffer, sizeof(buffer))) > 0)
            fromChild.append(buffer, static_cast<size_t>(n));
        size_t drained = 0;
        while (drained < (1 << 20) + 1 && (n = read(blocked[0], buffer, sizeof(buffer))) > 0)
            drained += static_cast<size_t>(n);
        writer.join();
    }
    // Checked only now: a failure report written into the full pipe would never return.
    EXPECT_EQ("child traced\n", fromChild);
    EXPECT_TRUE(written);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(blocked[0]);
    close(blocked[1]);
    close(childOutput[0]);
}

// The text of one line, built of fragments on both streams, in the form the readers write.
void writeRecordLines(int thread, int lines)
{
    for (int i = 0; i < lines; ++i) {
        std::wcout << L"Name" << thread << L" = " << L"value \u00e9 " << i;
        std::cout << " type = " << 8 << std::endl;
        traceWprintf(L"hbaInstName = %ls%d\n", L"ROOT\\ISCSIPRT\\", thread);
        std::cout << "~WMIObject - releasing" << std::endl;
    }
}

TEST(TraceOutput, ThreadsNeverMixTheirLines)
{
    const int kThreads = 4, kLines = 3000;
    std::string out = captureOutput([&] {
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back(writeRecordLines, t, kLines);
        for (auto& thread : threads)
            thread.join();
    });
    std::map<std::string, int> expected;
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kLines; ++i) {
            ++expected["Name" + std::to_string(t) + " = value \xc3\xa9 " + std::to_string(i) +
                       " type = 8"];
            ++expected["hbaInstName = ROOT\\ISCSIPRT\\" + std::to_string(t)];
            ++expected["~WMIObject - releasing"];
        }
    }
    std::map<std::string, int> seen;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        ++seen[line];
    EXPECT_TRUE(seen == expected) << "distinct lines seen " << seen.size() << ", expected "
                                  << expected.size();
}

// Half a line on one thread waits for its end while another thread's whole line goes out.
TEST(TraceOutput, HalfLineWaitsForItsEndWhileOthersWrite)
{
    std::string out = captureOutput([] {
        std::atomic<int> step(0);
        std::thread half([&] {
            std::wcout << L"Name = x";
            step = 1;
            while (step != 2)
                std::this_thread::yield();
            std::cout << " type = 8" << std::endl;
        });
        while (step != 1)
            std::this_thread::yield();
        std::cout << "other thread" << std::endl;
        step = 2;
        half.join();
    });
    EXPECT_EQ("other thread\nName = x type = 8\n", out);
}

// A stream failure of the caller's own making (a null string) ends at the next line.
TEST(TraceOutput, FailedStreamIsUsableAgainAfterTheNextLine)
{
    std::string out = captureOutput([] {
        std::wcout << static_cast<const wchar_t*>(NULL);
        std::cout << "next" << std::endl;
        std::wcout << L"wide again" << std::endl;
    });
    EXPECT_EQ("next\nwide again\n", out);
}

// Memory running out while a line is assembled does not lose it: it goes out in pieces, and the
// next line is whole. Address space is limited in a child process (the sanitizer's allocator
// would abort instead of failing, so the test needs the plain one).
TEST(TraceOutput, LineWithoutMemoryGoesOutInPieces)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves its shadow memory beyond any address space limit";
#else
    int channel[2];
    ASSERT_EQ(0, pipe(channel));
    installTraceOutput();
    fflush(stdout);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(channel[1], STDOUT_FILENO);
        const std::wstring big(size_t(32) << 20, L'b');  // 128 MB of wide text, 32 MB of UTF-8
        rlimit limit;
        getrlimit(RLIMIT_AS, &limit);
        std::FILE* status = std::fopen("/proc/self/statm", "r");
        unsigned long pages = 0;
        if (!status || std::fscanf(status, "%lu", &pages) != 1)
            _exit(3);
        std::fclose(status);
        limit.rlim_cur = pages * sysconf(_SC_PAGESIZE) + (size_t(16) << 20);
        if (setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(4);
        std::wcout << big.c_str() << std::endl;
        const bool formatted = traceWprintf(L"%ls\n", big.c_str());
        std::wcout << L"next" << std::endl;
        traceWprintf(L"period = %d\n", 20);
        _exit(!formatted ? 5 : std::wcout.good() && std::cout.good() ? 0 : 6);
    }
    close(channel[1]);
    std::string received;
    char buffer[4096];
    ssize_t n;
    while ((n = read(channel[0], buffer, sizeof(buffer))) > 0)
        received.append(buffer, static_cast<size_t>(n));
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    const std::string line = std::string(size_t(32) << 20, 'b') + "\n";
    EXPECT_TRUE(received == line + line + "next\nperiod = 20\n") << received.size();
#endif
}

}  // namespace
