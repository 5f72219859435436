"""The setup command as a caller sees it: exit status, stdout and the library's calls."""
import os
import shutil
import tempfile
import unittest

import ostrand_runner as runner
import ostrand_table


class CommandLineTable(ostrand_table.CommandLineChecks, unittest.TestCase):
    """The table as a POSIX parent sees it: the exit status is the result's low 8 bits
    (-1 -> 255, INT_MIN -> 0, 256 -> 0)."""


@unittest.skipIf(runner.launcher(), 'POSIX shell and loader')
class NativeStart(unittest.TestCase):
    def test_quoted_directory_from_a_shell(self):
        run = runner.run(None, result=7,
                         shell_line='"$OSTRAND" /u "C:\\Program Files\\X"')
        self.assertEqual((7, '', ''), (run.status, run.stdout, run.stderr))
        self.assertEqual('CallUninstallMPIO 0 1 C:\\Program Files\\X\n', run.log)

    def start_alone(self, library=None):
        """Runs a copy of the program in a folder that holds only `library`, if any."""
        folder = tempfile.mkdtemp(prefix='ostrand-alone-')
        try:
            exe = os.path.join(folder, os.path.basename(runner.executable()))
            shutil.copy2(runner.executable(), exe)
            if library:
                shutil.copy2(library, os.path.join(folder, 'libOstrand.so'))
            return runner.run(['/i', 'C:\\X'], exe=exe, unset=['LD_LIBRARY_PATH'])
        finally:
            shutil.rmtree(folder, ignore_errors=True)

    def assertRefusedByLoader(self, run, missing):
        self.assertNotEqual(run.status, 0)
        self.assertGreater(run.status, 0, 'the program crashed instead of not starting')
        self.assertEqual('', run.stdout)
        self.assertIn(missing, run.stderr)
        self.assertIsNone(run.log)

    def test_does_not_start_without_the_library(self):
        self.assertRefusedByLoader(self.start_alone(), 'libOstrand.so')

    @unittest.skipUnless(os.environ.get('OSTRAND_PARTIAL_LIB'), 'no partial library built')
    def test_does_not_start_when_an_entry_point_is_missing(self):
        # Bound at start-up, not at the call: even "/i", which never uses it, is refused.
        run = self.start_alone(os.environ['OSTRAND_PARTIAL_LIB'])
        self.assertRefusedByLoader(run, 'CallCanUninstallMPIO')


class StandInResultSetting(unittest.TestCase):
    def test_malformed_result_fails_loudly(self):
        for text in ('', 'abc', ' 1', '1 ', '1x', '--1', '0x10', '2147483648', '-2147483649',
                     '99999999999999999999'):
            run = runner.run(['/c', 'C:\\X'], result=text)
            self.assertEqual(255, run.status, repr(text))
            self.assertEqual('CallCanUninstallMPIO 0 1 C:\\X\n', run.log, repr(text))
            self.assertIn('OSTRAND_RESULT', run.stderr, repr(text))
            self.assertEqual(1, run.stderr.count('\n'), repr(text))

    def test_signed_and_padded_results_are_accepted(self):
        for text, status in (('+5', 5), ('-0', 0), ('007', 7), ('-2147483648', 0)):
            run = runner.run(['/i', 'C:\\X'], result=text)
            self.assertEqual((status, ''), (run.status, run.stderr), repr(text))

    def test_log_is_appended_across_runs(self):
        folder = tempfile.mkdtemp(prefix='ostrand-log-')
        try:
            log = os.path.join(folder, 'shared.log')
            runner.run(['/i', 'A'], env={'OSTRAND_LOG': log})
            runner.run(['/u', 'B'], env={'OSTRAND_LOG': log})
            with open(log, 'rb') as f:
                self.assertEqual(b'CallInstallMPIO 0 null A\nCallUninstallMPIO 0 1 B\n', f.read())
        finally:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    unittest.main()
