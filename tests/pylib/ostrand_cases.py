"""The setup command's command-line cases, as data, so that every way of starting the program
(natively, or through a launcher such as an emulator) runs the same table.

Each case: the arguments after the program name (byte strings), the result the library is told
to return (None: its default, 0), the exit status the parent process sees, and the one library
call expected, as the log line the stand-in library writes, or None for a refused command line
(which also means the whole usage text on stdout).

A POSIX parent sees only the low 8 bits of the exit code: -1 arrives as 255, INT_MIN as 0
(success!), 256 as 0. On Windows itself the full 32-bit value is the exit code; under Wine
a non-zero code whose low byte is 0 reaches the POSIX parent as 1. Under Wine, too, non-ASCII
arguments arrive in the ANSI code page, so the UTF-8 and Latin-1 cases are native-only.
"""
import collections

USAGE = ("Installs the Corvane MPIO DSM.\n\n"
         "usage to install DSM:\n"
         "\tOstrand.exe /i [installdir]\n"
         "usage to uninstall DSM:\n"
         "\tOstrand.exe /u [installdir]\n"
         "usage to check if uninstall is allowed:\n"
         "\tOstrand.exe /c [installdir]\n")

INT_MIN = -2 ** 31
INT_MAX = 2 ** 31 - 1

Case = collections.namedtuple('Case', 'name args result status call')

DIR = 'C:\\Program Files\\X'


def refused(name, *args):
    return Case(name, list(args), None, 255, None)


def called(name, args, call, result=None, status=0):
    return Case(name, list(args), result, status, call)


REFUSED = [
    refused('no arguments'),
    refused('switch only', '/i'),
    refused('directory only', DIR),
    refused('three arguments', '/i', DIR, 'extra'),
    refused('four arguments', '/u', DIR, 'a', 'b'),
    refused('capital I', '/I', DIR),
    refused('capital U', '/U', DIR),
    refused('capital C', '/C', DIR),
    refused('minus i', '-i', DIR),
    refused('minus u', '-u', DIR),
    refused('minus c', '-c', DIR),
    refused('longer word install', '/install', DIR),
    refused('longer word uninstall', '/uninstall', DIR),
    refused('two letters', '/iu', DIR),
    refused('trailing space', '/i ', DIR),
    refused('leading space', ' /u', DIR),
    refused('no slash i', 'i', DIR),
    refused('no slash c', 'c', DIR),
    refused('slash alone', '/', DIR),
    refused('empty switch', '', DIR),
    refused('unknown switch', '/x', DIR),
    refused('empty directory install', '/i', ''),
    refused('empty directory uninstall', '/u', ''),
    refused('empty directory check', '/c', ''),
    refused('both empty', '', ''),
]

UTF8_DIR = 'D:\\Programme\\Gr\xc3\xbc\xc3\x9fe \xe6\x97\xa5\xe6\x9c\xac'
LATIN1_DIR = 'E:\\caf\xe9\\'  # not valid UTF-8: must still pass untouched

ACCEPTED = [
    called('install', ['/i', DIR], 'CallInstallMPIO 0 null ' + DIR),
    called('uninstall', ['/u', DIR], 'CallUninstallMPIO 0 1 ' + DIR),
    called('check', ['/c', DIR], 'CallCanUninstallMPIO 0 1 ' + DIR),
    called('install utf-8', ['/i', UTF8_DIR], 'CallInstallMPIO 0 null ' + UTF8_DIR),
    called('uninstall latin-1', ['/u', LATIN1_DIR], 'CallUninstallMPIO 0 1 ' + LATIN1_DIR),
    called('check utf-8', ['/c', UTF8_DIR], 'CallCanUninstallMPIO 0 1 ' + UTF8_DIR),
    # Only the first byte is examined: anything non-empty is handed over as typed.
    called('relative with quotes', ['/c', '..\\"x" \\\\'], 'CallCanUninstallMPIO 0 1 ..\\"x" \\\\'),
    called('single space', ['/i', ' '], 'CallInstallMPIO 0 null  '),
    called('dash directory', ['/u', '-'], 'CallUninstallMPIO 0 1 -'),
]

RESULTS = [
    called('install result 1', ['/i', DIR], 'CallInstallMPIO 0 null ' + DIR, 1, 1),
    called('uninstall result -1', ['/u', DIR], 'CallUninstallMPIO 0 1 ' + DIR, -1, 255),
    called('check result INT_MIN', ['/c', DIR], 'CallCanUninstallMPIO 0 1 ' + DIR, INT_MIN, 0),
    called('install result INT_MAX', ['/i', DIR], 'CallInstallMPIO 0 null ' + DIR, INT_MAX, 255),
    called('uninstall result 256', ['/u', DIR], 'CallUninstallMPIO 0 1 ' + DIR, 256, 0),
    called('check result 3', ['/c', DIR], 'CallCanUninstallMPIO 0 1 ' + DIR, 3, 3),
]

ALL = REFUSED + ACCEPTED + RESULTS
