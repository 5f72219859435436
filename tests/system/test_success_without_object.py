"""Platform calls that report success but hand out nothing: no locator, no services, no
enumerator, no instance, an empty property value, no array data, a null array element. Each is
the failure of its own step or an empty value, never a crash or a leak, and the same object
answers in full once the fault is gone."""
from __future__ import print_function

import copy
import unittest

import harness
import scenario
from traces import COM_INITIALISED, CONNECTED, QUERY_FAILED, RETRY

ADAPTER = (harness.ADAPTER_0_WQL,)
ANY = (u'',)

TIMERS = [' InstanceName : Root\\MPIO\\0000_0', ' PDORemovePeriod : 20']
EMPTY_SESSION = {u'UniqueSessionId': u'', u'TargetiSCSIName': u'', u'ConnectionsList': []}


def call(method, args, faults=None, repeats=1):
    return harness.run_child('success_child.py', (method, repr(args), str(repeats)), faults=faults)


def replaced(path, value):
    """The baseline answer with the item at `path` (keys and indexes) replaced by value."""
    def expected(baseline):
        answer = copy.deepcopy(baseline)
        target = answer
        for key in path[:-1]:
            target = target[key]
        target[path[-1]] = value
        return answer
    return expected


def constant(value):
    return lambda baseline: value


def contains_block(lines, block):
    return any(lines[i:i + len(block)] == block for i in range(len(lines) - len(block) + 1))


class SuccessWithoutObject(unittest.TestCase):
    baselines = {}

    def baseline(self, method, args):
        if method not in self.baselines:
            answer = harness.outcome_of(call(method, args))['again']
            self.assertEqual(None, answer['error'], method)
            self.assertNotIn(answer['value'], (None, {}, []), method)
            self.baselines[method] = answer['value']
        return self.baselines[method]

    def check(self, method, args, faults, first, trace, repeats=1, whole=False):
        """first(baseline) gives the answer under the fault; trace is the whole trace when
        `whole` is set, else a block of consecutive lines it must contain."""
        result = call(method, args, faults, repeats)
        what = '%s with %s' % (method, faults)
        self.assertEqual(0, result.returncode, '%s: %r' % (what, result.stderr[-400:]))
        self.assertEqual([], [line for line in result.error_text.splitlines()
                              if not line.startswith('OUTCOME ')], what)
        self.assertEqual(scenario.NO_LEAKS, result.leaks, what)
        outcome = harness.outcome_of(result)
        baseline = self.baseline(method, args)
        for faulted in outcome['faulted']:
            self.assertEqual(None, faulted['error'], what)
            self.assertEqual(first(baseline), faulted['value'], what)
        self.assertEqual({'value': baseline, 'error': None}, outcome['again'], what)
        if whole:
            self.assertEqual(trace, result.lines, what)
        else:
            self.assertTrue(contains_block(result.lines, trace), '%s: %r not in %r' % (
                what, trace, result.lines))

    def test_connection_without_locator_or_services(self):
        for code, text in (('S_OK', '0'), ('S_FALSE', '1')):
            self.check('GetPDORemovePeriod', (), 'CoCreateInstance#1=' + code, constant(None),
                       ['WMIFacade', COM_INITIALISED,
                        'Failed to create IWbemLocator object. Err code = 0x' + text] +
                       RETRY + [CONNECTED] + TIMERS + ['~WMIFacade'], whole=True)
        # Each attempt gives its locator back: four failed calls leave nothing behind.
        failed = 'Could not connect. Error code = 0x0'
        self.check('GetPDORemovePeriod', (), 'ConnectServer=S_OK', constant(None),
                   ['WMIFacade', COM_INITIALISED, failed] + (RETRY + [failed]) * 3 + RETRY +
                   [CONNECTED] + TIMERS + ['~WMIFacade'], repeats=4, whole=True)

    def test_query_without_enumerator_or_instance(self):
        self.check('GetMSiSCSI_NICConfig', ADAPTER, 'ExecQuery#1=S_OK', constant({}),
                   [COM_INITIALISED, CONNECTED, QUERY_FAILED + '0', '~MSiSCSI_NICConfig', '~WMIObject'])
        self.check('GetPDORemovePeriod', (), 'Next#1=S_OK', constant(None),
                   ['WMIFacade', COM_INITIALISED, CONNECTED, QUERY_FAILED + '0'] + TIMERS +
                   ['~WMIFacade'], whole=True)
        # The first adapter was delivered, the second call broke: the records made go.
        self.check('GetMSiSCSI_InitiatorSessionInfo', ANY, 'Next#2=S_OK', constant([]),
                   ['MSiSCSI_InitiatorSessionInfo', QUERY_FAILED + '0',
                    '~MSiSCSI_InitiatorSessionInfo', '~WMIObject - releasing'])

    def test_property_without_value(self):
        self.check('GetPDORemovePeriod', (), 'Get:PDORemovePeriod#1=S_OK', constant(None),
                   ['WMIFacade', COM_INITIALISED, CONNECTED, TIMERS[0]] + TIMERS + ['~WMIFacade'],
                   whole=True)
        self.check('GetMSiSCSI_TCPIPConfig', ADAPTER, 'Get:IpAddress#1=S_OK',
                   replaced(['IpAddress'], {'IpV4Address': 0, 'Type': 0}),
                   ['--- GetObject -----------------------------', ' _type = 0', ' type = 0',
                    ' V_ISARRAY = 0', ' V_ISBYREF = 0', '*** GetObject is non-NULL',
                    '*** GetObject failed',
                    '--- GetObject COMPLETED ret = -----------------------------0'])
        self.check('GetMSiSCSI_InitiatorSessionInfo', ANY, 'Get:SessionsList#1=S_OK',
                   replaced([0, 'SessionsList'], []),
                   ['UINT64 ----- UniqueAdapterId = 18374967884590399488', ' type = 0',
                    ' V_ISARRAY = 0', ' V_ISBYREF = 0',
                    'UniqueAdapterId = 18374967884590399489 type = 8'])

    def test_array_without_data_or_element(self):
        self.check('GetMSiSCSI_NICConfig', ADAPTER, 'SafeArrayAccessData#1=S_OK',
                   replaced(['MacAddress'], (0,) * 6), [' V_ISARRAY = 2000'])
        self.check('GetMSiSCSI_HBAInformation', ADAPTER, 'SafeArrayAccessData#1=S_OK',
                   replaced(['GenerationalGuid'], (0,) * 16), [' V_ISARRAY = 2000'])
        # A null element is an element with nothing in it, as a NULL in an array of objects.
        self.check('GetMSiSCSI_InitiatorSessionInfo', ANY, 'SafeArrayGetElement#1=S_OK',
                   replaced([0, 'SessionsList', 0], EMPTY_SESSION),
                   ['ISCSI_SessionStatic', 'ISCSI_SessionStatic', 'UINT64 ----- UniqueSessionId = '])


if __name__ == '__main__':
    unittest.main()
