// The usage text of the setup command.
#ifndef OSTRAND_USAGE_H
#define OSTRAND_USAGE_H

// Writes the usage text on standard output; the command's only output.
void ShowUsage();

#endif
