/* The floor of a call's cost: its exact trace lines, written as the module writes them (one
 * write(2) per line), with nothing else around them.
 *
 * usage: replay <lines file> <rounds>
 * Writes the file's lines <rounds> times to stdout between the lines BENCH-START and BENCH-END
 * and reports "REPLAY <seconds per round>" on stderr. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static void writeAll(const char* text, size_t size)
{
    while (size) {
        ssize_t written = write(STDOUT_FILENO, text, size);
        if (written < 0) {
            perror("replay: write");
            exit(1);
        }
        text += written;
        size -= (size_t)written;
    }
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: replay <lines file> <rounds>\n");
        return 2;
    }
    FILE* file = fopen(argv[1], "rb");
    if (!file) {
        perror(argv[1]);
        return 1;
    }
    static char text[1 << 26];
    size_t size = fread(text, 1, sizeof(text), file);
    fclose(file);
    long rounds = atol(argv[2]);

    /* The line ends are found before the clock starts. */
    size_t lines = 0;
    static size_t ends[1 << 20];
    for (size_t at = 0; at < size && lines < sizeof(ends) / sizeof(ends[0]); ++at)
        if (text[at] == '\n')
            ends[lines++] = at + 1;

    writeAll("BENCH-START\n", 12);
    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (long round = 0; round < rounds; ++round) {
        size_t begin = 0;
        for (size_t line = 0; line < lines; ++line) {
            writeAll(text + begin, ends[line] - begin);
            begin = ends[line];
        }
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    writeAll("BENCH-END\n", 10);
    double seconds = (end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9;
    fprintf(stderr, "REPLAY %.9f\n", seconds / rounds);
    return 0;
}
