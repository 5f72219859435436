"""The command-line table as test methods, shared by the native run and the run under Wine."""
import ostrand_cases as cases
import ostrand_runner as runner


class CommandLineChecks(object):
    """Mixin for a unittest.TestCase: runs every case of the table and checks exit status,
    stdout, stderr and the library's log. A run overrides expected_status and expected_call
    where its platform shows them differently."""

    def expected_status(self, case):
        return case.status

    def expected_call(self, case):
        return case.call

    def check(self, case):
        run = runner.run(case.args, result=case.result)
        label = '%s %r' % (case.name, case.args)
        self.assertEqual(self.expected_status(case), run.status, label)
        self.assertEqual('', run.stderr, label)
        if case.call is None:
            self.assertEqual(cases.USAGE, run.stdout, label)
            self.assertIsNone(run.log, label + ': refused, yet the library was called')
        else:
            self.assertEqual('', run.stdout, label)
            self.assertEqual(self.expected_call(case) + '\n', run.log, label)

    def test_refused_command_lines_print_usage_and_call_nothing(self):
        for case in cases.REFUSED:
            self.check(case)

    def test_each_switch_hands_over_the_directory_byte_for_byte(self):
        for case in cases.ACCEPTED:
            self.check(case)

    def test_library_result_is_the_exit_code(self):
        for case in cases.RESULTS:
            self.check(case)
