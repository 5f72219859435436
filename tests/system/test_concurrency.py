"""Many threads on shared and private objects, and the interpreter lock let go during the
engine's work."""
import unittest

import harness
import scenario

ARGUMENT = harness.ADAPTER_0_WQL.encode('utf-8')


class Concurrency(unittest.TestCase):
    def test_sixteen_threads_on_shared_and_private_objects(self):
        result = harness.run_child('concurrency_child.py', (ARGUMENT,))
        report = harness.outcome_of(result)
        self.assertEqual((0, True), (result.returncode, report is not None), result.stderr[-800:])
        self.assertEqual([], report['problems'])
        self.assertEqual(16 * 500, report['calls'])
        # Each object connected once, however many threads used it.
        self.assertEqual(report['objects'], len(result.calls('ConnectServer ')))
        self.assertEqual(report['objects'], len(result.calls('CoCreateInstance ')))
        self.assertEqual(scenario.NO_LEAKS, result.leaks)

    def run_slowed(self, site, delay_ms):
        """Per method: (seconds, counts during the call, counts during a sleep as long)."""
        result = harness.run_child('gil_child.py', (ARGUMENT, str(delay_ms), site))
        report = harness.outcome_of(result)
        self.assertEqual((0, True), (result.returncode, report is not None), result.stderr[-800:])
        self.assertEqual(scenario.NO_LEAKS, result.leaks)
        return sorted(report.items())

    def test_interpreter_lock_is_released_during_the_query(self):
        delay_ms = 200
        for method, (seconds, counted, _) in self.run_slowed('ExecQuery', delay_ms):
            self.assertGreaterEqual(seconds, delay_ms / 1000.0 * 0.9, method)
            # A held lock leaves the counter still for the whole delay; a released one lets it
            # count hundreds of thousands of times (thousands even on a loaded machine).
            self.assertGreater(counted, 1000, '%s: %d counts in %.3f s' % (method, counted, seconds))

    def test_interpreter_lock_is_released_while_properties_are_read(self):
        delay_ms = 300
        report = self.run_slowed('Get', delay_ms)
        self.assertEqual(['GetMSiSCSI_HBAInformation', 'GetMSiSCSI_InitiatorSessionInfo',
                          'GetMSiSCSI_NICConfig', 'GetMSiSCSI_TCPIPConfig'],
                         [method for method, _ in report])
        for method, (seconds, counted, counted_asleep) in report:
            self.assertGreaterEqual(seconds, delay_ms / 1000.0 * 0.9, method)
            # Compared with the counter's pace while this thread merely slept: a read under the
            # lock would leave it at the few counts of the call's unslowed part.
            self.assertGreater(counted, counted_asleep // 4,
                               '%s: %d counts in %.3f s, %d asleep' % (method, counted, seconds,
                                                                       counted_asleep))


if __name__ == '__main__':
    unittest.main()
