"""The engine's connection: whole traces, each failure point and what the next call does, COM
initialisation and its undoing, memory exhaustion."""
import os
import unittest

from facade_fixtures import PRELUDE, instance, timers
from scenario import ScenarioTestCase
from traces import (COM_ALREADY_INITIALISED, COM_INITIALISED, CONNECT, CONNECT_FAILED, CONNECTED,
                    QUERY_FAILED, RECONNECT)

# Two calls on one object, each result printed.
TWO_CALLS = ('f = Quillet.WMIFacade()\n'
             'print(f.GetPDORemovePeriod())\n'
             'print(f.GetPDORemovePeriod())\n'
             'del f\n')
READ = [instance(0), ' PDORemovePeriod : 26', '26']
# A call that may run out of memory, then one more on the same object.
CALL_AFTER_MEMORY_ERROR = """
f = Quillet.WMIFacade()
try:
    f.GetPDORemovePeriod()
except MemoryError:
    print("MemoryError")
print(f.GetPDORemovePeriod())
del f
"""


class EngineTest(ScenarioTestCase):
    def run_scenario(self, code=TWO_CALLS, mof=None, faults=None):
        return self.run_clean(PRELUDE + code, mof=timers(26) if mof is None else mof, faults=faults)

    def test_first_and_second_call(self):
        result = self.run_scenario()
        self.assertEqual(['WMIFacade'] + CONNECT + READ + READ + ['~WMIFacade'], result.lines)
        self.assertEqual(['ExecQuery WQL 0x30 SELECT * FROM MPIO_TIMERS_COUNTERS = 0x00000000'] * 2,
                         result.calls('ExecQuery'))
        self.assertEqual(['CoSetProxyBlanket authn=10 authz=0 level=3 imp=3 caps=0 = 0x00000000'],
                         result.calls('CoSetProxyBlanket'))
        self.assertEqual(['CoInitializeEx 0 = 0x00000000'], result.calls('CoInitializeEx'))
        self.assertEqual(['CoUninitialize'], result.calls('CoUninitialize'))

    def test_connect_failure_points_and_the_retry(self):
        cases = [
            ('CoInitializeEx#1=E_FAIL',
             ['Failed to initialize COM library. Error code = 0x80004005', 'initializeCOM failed'],
             CONNECT),
            ('CoInitializeSecurity#1=E_ACCESSDENIED',
             [COM_INITIALISED, 'Failed to initialize security. Error code = 0x80070005',
              'initializeCOM failed'],
             [COM_ALREADY_INITIALISED, CONNECTED]),
            ('CoCreateInstance#1=REGDB_E_CLASSNOTREG',
             [COM_INITIALISED, 'Failed to create IWbemLocator object. Err code = 0x80040154'],
             RECONNECT),
            ('ConnectServer#1=WBEM_E_ACCESS_DENIED',
             [COM_INITIALISED, CONNECT_FAILED + '80041003'],
             RECONNECT),
            # The connection stays: the next call runs its query without connecting again.
            ('CoSetProxyBlanket#1=E_ACCESSDENIED',
             CONNECT + ['Could not set proxy blanket. Error code = 0x80070005'],
             []),
        ]
        for faults, failed, retry in cases:
            result = self.run_scenario(faults=faults)
            self.assertEqual(['WMIFacade'] + failed + ['None'] + retry + READ + ['~WMIFacade'],
                             result.lines, faults)
            # The first CoInitializeEx that returned S_OK is undone once, at destruction.
            self.assertEqual(['CoUninitialize'], result.calls('CoUninitialize'), faults)

    def test_query_failure_keeps_the_connection(self):
        result = self.run_scenario(faults='ExecQuery#1=WBEM_E_FAILED')
        self.assertEqual(['WMIFacade'] + CONNECT + [QUERY_FAILED + '80041001', 'None'] + READ +
                         ['~WMIFacade'], result.lines)
        self.assertEqual(1, len(result.calls('ConnectServer')))

    def test_missing_class_is_a_failed_query(self):
        result = self.run_scenario(mof='class Other { string InstanceName; };\n')
        self.assertEqual(['WMIFacade'] + CONNECT + [QUERY_FAILED + '80041010', 'None',
                                                    QUERY_FAILED + '80041010', 'None', '~WMIFacade'],
                         result.lines)

    def couninitialize_with_host(self, model):
        """The host initialises COM on the thread first, with the given model."""
        library = os.path.join(os.environ['QUILLET_BUILD_DIR'], 'lib', 'libwinsim.so')
        return self.run_scenario(
            'import ctypes\n'
            'print(ctypes.CDLL(%r).CoInitializeEx(None, %d))\n' % (library, model) + TWO_CALLS)

    def test_com_initialised_by_the_host_is_left_to_it(self):
        # Same model: S_FALSE, the engine does not undo it.
        result = self.couninitialize_with_host(0)
        self.assertEqual(['0', 'WMIFacade', COM_ALREADY_INITIALISED, CONNECTED] + READ + READ +
                         ['~WMIFacade'], result.lines)
        self.assertEqual([], result.calls('CoUninitialize'))
        # Another model: RPC_E_CHANGED_MODE; the host's apartment must survive the object.
        result = self.couninitialize_with_host(2)
        self.assertEqual(['0', 'WMIFacade',
                          'CoInitializeEx returned S_OK || RPC_E_CHANGED_MODE hres = 0x80010106',
                          CONNECTED] + READ + READ + ['~WMIFacade'], result.lines)
        self.assertEqual([], result.calls('CoUninitialize'))

    def test_out_of_memory_raises_memory_error_and_releases_everything(self):
        # The first COM string is the namespace name, after the locator was created.
        result = self.run_scenario(CALL_AFTER_MEMORY_ERROR, faults='SysAllocString#1=E_OUTOFMEMORY')
        self.assertEqual(['WMIFacade', COM_INITIALISED, 'MemoryError'] + RECONNECT + READ + ['~WMIFacade'],
                         result.lines)


if __name__ == '__main__':
    unittest.main()
