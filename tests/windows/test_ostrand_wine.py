"""Ostrand.exe under Wine: the command-line table of the Linux run, and what only Windows shows.

Run as a script (not through "-m unittest"): when the Wine fixture recorded that Wine cannot
start, it says so and ctest reports the test skipped.
"""
import os
import shutil
import sys
import tempfile
import unittest

import ostrand_cases as cases
import ostrand_runner as runner
import ostrand_table

DLL_NOT_FOUND = 0xC0000135


def windows_argument(text):
    """A UTF-8 argument as a Windows program receives it in argv: in the ANSI code page
    (1252 under the UTF-8 locale the launcher sets), '?' for what it cannot show."""
    return text.decode('utf-8', 'replace').encode('cp1252', 'replace')


def exit_code(case):
    """The command's 32-bit exit code, as a Windows parent sees it."""
    code = -1 if case.call is None else (case.result or 0)
    return code & 0xFFFFFFFF


def wine_status(code):
    """What wine64's POSIX parent sees: the low 8 bits, except that Wine reports 1 for a
    non-zero code whose low 8 bits are zero, so a failure never reads as success (Linux hands
    256 or INT_MIN over as 0)."""
    if code == 0:
        return 0
    return code & 0xFF or 1


def windows_call(case):
    if case.call is None:
        return None
    directory = case.args[1]
    return case.call[:len(case.call) - len(directory)] + windows_argument(directory)


def windows_path(path):
    """Wine's Z: drive is the Unix root."""
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


class CommandLineTable(ostrand_table.CommandLineChecks, unittest.TestCase):
    """The Linux table; non-ASCII directories arrive converted, and exit codes whose low 8 bits
    are zero reach the POSIX parent as 1."""

    def expected_status(self, case):
        return wine_status(exit_code(case))

    def expected_call(self, case):
        return windows_call(case)


class WindowsParent(unittest.TestCase):
    """The command started by a Windows process from one command-line string."""

    def spawn(self, arguments, result=None):
        line = '"%s" %s' % (windows_path(runner.executable()), arguments)
        run = runner.run([], result=result, exe=os.environ['OSTRAND_SPAWN'],
                         env={'SPAWN_COMMAND_LINE': line})
        self.assertEqual(0, run.status, run.stderr)
        prefix = 'exit code 0x'
        self.assertTrue(run.stderr.startswith(prefix), run.stderr)
        return int(run.stderr[len(prefix):].strip(), 16), run

    def test_quoted_directory_with_spaces_is_one_argument(self):
        code, run = self.spawn('/u "C:\\Program Files\\Corvane DSM"', result=7)
        self.assertEqual(7, code)
        self.assertEqual('CallUninstallMPIO 0 1 C:\\Program Files\\Corvane DSM\n', run.log)
        # A backslash before the closing quote must be doubled to stay a backslash.
        code, run = self.spawn('/i "C:\\Program Files\\X\\\\"')
        self.assertEqual(0, code)
        self.assertEqual('CallInstallMPIO 0 null C:\\Program Files\\X\\\n', run.log)

    def test_unquoted_directory_with_spaces_is_refused(self):
        code, run = self.spawn('/i C:\\Program Files\\X')
        self.assertEqual(0xFFFFFFFF, code)
        self.assertEqual(cases.USAGE, run.stdout)
        self.assertIsNone(run.log)

    def test_exit_code_reaches_a_windows_parent_whole(self):
        # A POSIX parent sees 8 bits (the table); a Windows parent all 32: -1 is 0xffffffff.
        for case in [cases.refused('switch only', '/c')] + cases.RESULTS:
            code, _ = self.spawn(' '.join('"%s"' % arg for arg in case.args), result=case.result)
            self.assertEqual(exit_code(case), code, case.name)


class Loader(unittest.TestCase):
    """The library is bound at load time: without it the program never runs. (A library that
    lacks one of the entry points is refused by Windows; Wine's loader binds the missing one to
    a stub and starts the program, so that case is checked on Linux only.)"""

    def start_alone(self, library=None):
        folder = tempfile.mkdtemp(prefix='ostrand-alone-')
        try:
            exe = os.path.join(folder, 'Ostrand.exe')
            shutil.copy2(runner.executable(), exe)
            if library:
                shutil.copy2(library, os.path.join(folder, 'Ostrand.dll'))
            return runner.run(['/i', 'C:\\X'], exe=exe)
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def assertNotStarted(self, run, status):
        # Wine hands the NTSTATUS's low 8 bits to its POSIX parent.
        self.assertEqual(status & 0xFF, run.status)
        self.assertEqual('', run.stdout)
        self.assertIsNone(run.log)

    def test_does_not_start_without_the_library(self):
        self.assertNotStarted(self.start_alone(), DLL_NOT_FOUND)

    def test_starts_with_the_library_beside_it(self):
        run = self.start_alone(os.environ['OSTRAND_DLL'])
        self.assertEqual((0, 'CallInstallMPIO 0 null C:\\X\n'), (run.status, run.log))


def wine_unavailable():
    marker = os.path.join(os.environ.get('QUILLET_WINE_STATE_DIR', ''), 'unavailable')
    if not os.path.exists(marker):
        return None
    with open(marker) as f:
        return f.read().strip()


if __name__ == '__main__':
    reason = wine_unavailable()
    if reason is not None:
        print('SKIPPED: Wine cannot start: %s' % reason)
        sys.exit(1)
    unittest.main(verbosity=2)
