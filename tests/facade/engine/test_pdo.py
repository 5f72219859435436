"""GetPDORemovePeriod and SetPDORemovePeriod over 0, 1 and 2 instances, with faults."""
import unittest

from facade_fixtures import PRELUDE, instance, timers
from scenario import ScenarioTestCase
from traces import CONNECT, QUERY_FAILED

PUT_FAILED = 'Put PDORemovePeriod failed. Error code = 0x'
PUTINSTANCE_FAILED = 'PutInstance PDORemovePeriod failed. Error code = 0x'


class PdoTest(ScenarioTestCase):
    def run_scenario(self, code, mof, faults=None):
        result = self.run_clean(PRELUDE + 'f = Quillet.WMIFacade()\n' + code + 'del f\n', mof=mof,
                                faults=faults)
        lines = result.lines
        self.assertEqual(['WMIFacade', '~WMIFacade'], [lines[0], lines[-1]])
        # The connection lines come once, right where the first call needs WMI; the rest is
        # compared without them.
        start = lines.index(CONNECT[0])
        self.assertEqual(CONNECT, lines[start:start + 2])
        return lines[1:start] + lines[start + 2:-1], result

    def test_get(self):
        cases = [
            ((), [], 'None'),
            ((20,), [instance(0), ' PDORemovePeriod : 20'], '20'),
            ((20, 35), [instance(0), ' PDORemovePeriod : 20', instance(1), ' PDORemovePeriod : 35'], '35'),
            # A NULL period is no 32-bit integer: a failed read, the enumeration ends.
            ((None, 35), [instance(0)], 'None'),
        ]
        for periods, lines, answer in cases:
            trace, _ = self.run_scenario('print(f.GetPDORemovePeriod())\n', timers(*periods))
            self.assertEqual(lines + [answer], trace, periods)

    def test_get_faults(self):
        trace, _ = self.run_scenario('print(f.GetPDORemovePeriod())\n', timers(20, 35),
                                     faults='Get:PDORemovePeriod#1=WBEM_E_FAILED')
        self.assertEqual([instance(0), 'None'], trace)
        # An error from the enumerator after an instance was read still fails the call.
        trace, _ = self.run_scenario('print(f.GetPDORemovePeriod())\n', timers(20, 35),
                                     faults='Next:MPIO_TIMERS_COUNTERS#2=WBEM_E_PROVIDER_FAILURE')
        self.assertEqual([instance(0), ' PDORemovePeriod : 20', QUERY_FAILED + '80041004', 'None'], trace)

    def test_set_stores_every_instance(self):
        trace, result = self.run_scenario('print(f.SetPDORemovePeriod(30))\nprint(f.GetPDORemovePeriod())\n',
                                          timers(20, 35))
        self.assertEqual(['period = 30', instance(0), instance(1), '1',
                          instance(0), ' PDORemovePeriod : 30', instance(1), ' PDORemovePeriod : 30', '30'],
                         trace)
        self.assertEqual(['PutInstance MPIO\\Timers_0 0x1 = 0x00000000',
                          'PutInstance MPIO\\Timers_1 0x1 = 0x00000000'], result.calls('PutInstance'))

    def test_set_without_instances(self):
        trace, result = self.run_scenario('print(f.SetPDORemovePeriod(-5))\n', timers())
        self.assertEqual(['period = -5', 'None'], trace)
        self.assertEqual([], result.calls('PutInstance'))

    def test_set_faults(self):
        code = 'print(f.SetPDORemovePeriod(30))\nprint(f.GetPDORemovePeriod())\n'
        # Put fails on the first: the call ends, the second instance is left alone.
        trace, result = self.run_scenario(code, timers(20, 35), faults='Put:PDORemovePeriod#1=WBEM_E_TYPE_MISMATCH')
        self.assertEqual(['period = 30', instance(0), PUT_FAILED + '80041005', 'None',
                          instance(0), ' PDORemovePeriod : 20', instance(1), ' PDORemovePeriod : 35', '35'],
                         trace)
        self.assertEqual([], result.calls('PutInstance'))
        # PutInstance fails on the first: the second is still stored, but the call failed.
        trace, _ = self.run_scenario(code, timers(20, 35),
                                     faults='PutInstance:MPIO\\Timers_0=WBEM_E_ACCESS_DENIED')
        self.assertEqual(['period = 30', instance(0), PUTINSTANCE_FAILED + '80041003', instance(1), 'None',
                          instance(0), ' PDORemovePeriod : 20', instance(1), ' PDORemovePeriod : 30', '30'],
                         trace)
        # The only instance fails to store.
        trace, _ = self.run_scenario('print(f.SetPDORemovePeriod(30))\n', timers(20),
                                     faults='PutInstance=WBEM_E_FAILED')
        self.assertEqual(['period = 30', instance(0), PUTINSTANCE_FAILED + '80041001', 'None'], trace)
        # An error from the enumerator fails the call even after a store.
        trace, _ = self.run_scenario('print(f.SetPDORemovePeriod(30))\n', timers(20, 35),
                                     faults='Next:MPIO_TIMERS_COUNTERS#2=WBEM_E_FAILED')
        self.assertEqual(['period = 30', instance(0), QUERY_FAILED + '80041001', 'None'], trace)


if __name__ == '__main__':
    unittest.main()
