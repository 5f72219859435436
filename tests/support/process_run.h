// A program of the tree run as its own process through the shell, and what it left behind: its
// exit status, the stand-in's call log, its standard output and standard error.
#ifndef QUILLET_TEST_PROCESS_RUN_H
#define QUILLET_TEST_PROCESS_RUN_H

#include <cstdlib>
#include <string>
#include <vector>

#include "temp_files.h"

struct ProcessRun
{
    int status = -1;  // as std::system returns it
    std::vector<std::string> log;
    std::string out;
    std::string err;
};

// environment: shell assignments ("NAME='value' ...") put before the program. The call log is
// written to logPath, or to a file of the run's own when that is empty.
inline ProcessRun runProcess(const std::string& environment, const std::string& program,
                             const std::string& arguments, const std::string& logPath = "")
{
    TempFolder folder;
    std::string log = logPath.empty() ? folder.file("calls.log") : logPath;
    std::string command = environment + " WMISIM_LOG='" + log + "' " + program + " " + arguments +
                          " >'" + folder.file("out") + "' 2>'" + folder.file("err") + "'";
    ProcessRun run;
    run.status = std::system(command.c_str());
    run.log = readLines(log);
    run.out = readText(folder.file("out"));
    run.err = readText(folder.file("err"));
    return run;
}

#endif
