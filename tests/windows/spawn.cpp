// spawn.exe: a Windows parent for the setup command's tests. Starts the command line held in
// SPAWN_COMMAND_LINE exactly as written (so the child's start-up code does the splitting),
// waits, and writes the child's exit code as a Windows caller sees it on stderr:
// "exit code 0x<8 hex digits>". Its own exit status is 0, or 1 when the child did not start.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

int main()
{
    const char* pszCommandLine = getenv("SPAWN_COMMAND_LINE");
    if (pszCommandLine == NULL) {
        fprintf(stderr, "spawn: SPAWN_COMMAND_LINE is not set\n");
        return 1;
    }
    // CreateProcessA may write into the command line: give it a copy.
    std::vector<char> commandLine(pszCommandLine, pszCommandLine + strlen(pszCommandLine) + 1);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL, &startup,
                        &process)) {
        fprintf(stderr, "spawn: CreateProcess failed: %lu\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    fflush(stdout);
    fprintf(stderr, "exit code 0x%08lx\n", exitCode);
    return 0;
}
