// Runs a piece of code with standard output captured, through the module's own trace output.
#ifndef QUILLET_TEST_CAPTURED_OUTPUT_H
#define QUILLET_TEST_CAPTURED_OUTPUT_H

#include <gtest/gtest.h>
#include <iostream>
#include <string>

#include "trace/console.h"

template <typename Code>
std::string captureOutput(Code code)
{
    installTraceOutput();
    testing::internal::CaptureStdout();
    code();
    std::cout.flush();
    std::wcout.flush();
    return testing::internal::GetCapturedStdout();
}

#endif
