// CapturedOutput: the one way a C++ test reads what the code under test writes. While alive it
// keeps everything the process writes to standard output through the module's own trace output
// (std::cout, std::wcout and the wrappers' wide lines, in the order written, each line whole,
// wide text as UTF-8): what a script's caller sees. Windows line ends come back as "\n", so one
// expectation serves the stand-in and Wine. The streams' format flags (the number base the
// engine switches) are left alone. Captures do not nest.
//
// captureOutput(code) is the short form for one piece of code; keep a CapturedOutput where a
// test reads the output part-way or across several statements.
#ifndef QUILLET_TEST_CAPTURED_OUTPUT_H
#define QUILLET_TEST_CAPTURED_OUTPUT_H

#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "trace/console.h"

class CapturedOutput
{
public:
    CapturedOutput()
    {
        quillet::installTraceOutput();
        testing::internal::CaptureStdout();
    }
    ~CapturedOutput() { collect(false); }

    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    // Everything written since the capture began.
    const std::string& text()
    {
        collect(true);
        return m_text;
    }

    // The text split at line ends, without them.
    std::vector<std::string> lines()
    {
        std::vector<std::string> result;
        std::istringstream stream(text());
        std::string line;
        while (std::getline(stream, line)) {
            result.push_back(line);
        }
        return result;
    }

private:
    void collect(bool resume)
    {
        std::cout.flush();
        std::wcout.flush();
        std::string piece = testing::internal::GetCapturedStdout();
#ifdef _WIN32
        for (size_t at = piece.find("\r\n"); at != std::string::npos; at = piece.find("\r\n", at)) {
            piece.erase(at, 1);
        }
#endif
        m_text += piece;
        if (resume) {
            testing::internal::CaptureStdout();
        }
    }

    std::string m_text;
};

template <typename Code>
std::string captureOutput(Code code)
{
    CapturedOutput output;
    code();
    return output.text();
}

#endif
