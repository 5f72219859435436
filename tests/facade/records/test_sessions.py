"""GetMSiSCSI_InitiatorSessionInfo end to end: nested result, trace order, record lifetimes."""
import unittest

import scenario
from session_fixtures import adapter, connection, repository, session
from traces import CONNECT, QUERY_FAILED, RELEASING

ADAPTER_0 = u'ROOT\\ISCSIPRT\\0000_0'
ADAPTER_1 = u'ROOT\\ISCSIPRT\\0000_1'
OBJECT_ARRAY = [u' type = d', u' V_ISARRAY = 2000', u' V_ISBYREF = 0', u'num dims? 1']


def call(mof, argument=u"u'ROOT\\\\ISCSIPRT\\\\0000_0'", faults=None):
    return scenario.call('GetMSiSCSI_InitiatorSessionInfo', argument, mof, faults)


def one_adapter(sessions):
    return repository(adapter(ADAPTER_0, 7, sessions))


class WholeTraceTest(scenario.ScenarioTestCase):
    def test_one_adapter_one_session_one_connection(self):
        outcome = call(one_adapter([session(4294967297, u'iqn.1991-05.com.example:t1',
                                            [connection(18446744073709551615, 2, 1)])]))
        self.assertEqual([{u'UniqueAdapterId': u'7', u'SessionsList': [{
            u'UniqueSessionId': u'4294967297',
            u'TargetiSCSIName': u'iqn.1991-05.com.example:t1',
            u'ConnectionsList': [{u'UniqueConnectionId': u'18446744073709551615',
                                  u'AuthType': 1, u'CID': 2}]}]}], outcome.value)
        self.assertEqual(CONNECT + [
            u' InstanceName : ' + ADAPTER_0,
            u'MSiSCSI_InitiatorSessionInfo',
            u'UniqueAdapterId = 7 type = 8',
            u'UINT64 ----- UniqueAdapterId = 7',
        ] + OBJECT_ARRAY + [
            u'ISCSI_SessionStatic',
            u'UniqueSessionId = 4294967297 type = 8',
            u'UINT64 ----- UniqueSessionId = 4294967297',
            u'TargetiSCSIName = iqn.1991-05.com.example:t1 type = 8',
        ] + OBJECT_ARRAY + [
            u'UniqueConnectionId = 18446744073709551615 type = 8',
            u'UINT64 ----- UniqueConnectionId = 18446744073709551615',
            u'CID = 2 type = 3',
            u'AuthType = 1 type = 3',
            RELEASING,
            u'~ISCSI_SessionStatic', RELEASING,
            u'~MSiSCSI_InitiatorSessionInfo', RELEASING,
        ], outcome.trace)
        self.assertEqual([u'~WMIFacade'], outcome.after)
        self.assertClean(outcome)

    def test_the_argument_text_is_not_used(self):
        mof = one_adapter([session(1, u't', [connection(2)])])
        first = call(mof, u"u''")
        for argument in (u"u'no such adapter'", u"u'quote\" and \\\\\\\\ back'"):
            other = call(mof, argument)
            self.assertEqual(first.value, other.value, argument)
            self.assertEqual(first.trace, other.trace, argument)
            self.assertEqual([u'ExecQuery WQL 0x30 SELECT * FROM MSiSCSI_InitiatorSessionInfo = 0x00000000'],
                             other.run.calls(u'ExecQuery'))

    def test_arguments_other_than_one_unicode_string_are_refused(self):
        for argument in (u"b'byte string'", u'', u"u'a', u'b'", u'None'):
            outcome = call(one_adapter([]), argument)
            self.assertTrue(outcome.error.startswith('TypeError: '), (argument, outcome.error))
            self.assertEqual([], outcome.trace, argument)
            self.assertEqual([], outcome.run.calls(u'ExecQuery'))
            self.assertClean(outcome)


class ShapeTest(scenario.ScenarioTestCase):
    def test_two_adapters_two_sessions_each_keep_their_order(self):
        def sessions(base):
            return [session(base + i, u'target%d' % (base + i), [connection(100 * (base + i))])
                    for i in (1, 2)]
        outcome = call(repository(adapter(ADAPTER_0, 10, sessions(10)),
                                  adapter(ADAPTER_1, 20, sessions(20))))
        self.assertEqual([u'10', u'20'], [a[u'UniqueAdapterId'] for a in outcome.value])
        for found, base in zip(outcome.value, (10, 20)):
            self.assertEqual(set([u'UniqueAdapterId', u'SessionsList']), set(found))
            self.assertEqual([u'%d' % (base + 1), u'%d' % (base + 2)],
                             [s[u'UniqueSessionId'] for s in found[u'SessionsList']])
            self.assertEqual([[u'%d' % (100 * (base + i))] for i in (1, 2)],
                             [[c[u'UniqueConnectionId'] for c in s[u'ConnectionsList']]
                              for s in found[u'SessionsList']])
        # Both adapter records exist before either is converted; each adapter builds its two
        # session records before converting the first.
        traces = outcome.trace
        self.assertEqual([u' InstanceName : ' + ADAPTER_0, u'MSiSCSI_InitiatorSessionInfo',
                          u' InstanceName : ' + ADAPTER_1, u'MSiSCSI_InitiatorSessionInfo'],
                         traces[2:6])
        start = traces.index(u'UINT64 ----- UniqueAdapterId = 10')
        self.assertEqual(OBJECT_ARRAY + [u'ISCSI_SessionStatic', u'ISCSI_SessionStatic',
                                         u'UniqueSessionId = 11 type = 8'],
                         traces[start + 1:start + 8])
        # Adapter records are deleted one after the other, once both were converted.
        self.assertEqual([u'~MSiSCSI_InitiatorSessionInfo', RELEASING] * 2, traces[-4:])
        self.assertTrue(traces.index(u'UINT64 ----- UniqueAdapterId = 20') <
                        traces.index(u'~MSiSCSI_InitiatorSessionInfo'))
        # Every record is released once: 2 adapters, 4 sessions, 4 connections.
        self.assertEqual(10, traces.count(RELEASING))
        self.assertNotIn(u'~WMIObject', traces)
        for i, line in enumerate(traces):
            if line in (u'~ISCSI_SessionStatic', u'~MSiSCSI_InitiatorSessionInfo'):
                self.assertEqual(RELEASING, traces[i + 1])
        self.assertClean(outcome)

    def test_null_and_empty_lists_give_empty_lists(self):
        outcome = call(repository(
            adapter(ADAPTER_0, 1, None),
            adapter(ADAPTER_1, 2, [session(3, u't', [])]),
            u'instance of MSiSCSI_InitiatorSessionInfo { InstanceName = "x"; UniqueAdapterId = 4;'
            u' SessionsList = {}; };\n'
            u'instance of MSiSCSI_InitiatorSessionInfo { InstanceName = "y"; UniqueAdapterId = 5;'
            u' SessionsList = { instance of ISCSI_SessionStatic { UniqueSessionId = 6; } }; };\n'))
        self.assertEqual([
            {u'UniqueAdapterId': u'1', u'SessionsList': []},
            {u'UniqueAdapterId': u'2', u'SessionsList': [
                {u'UniqueSessionId': u'3', u'TargetiSCSIName': u't', u'ConnectionsList': []}]},
            {u'UniqueAdapterId': u'4', u'SessionsList': []},
            {u'UniqueAdapterId': u'5', u'SessionsList': [
                {u'UniqueSessionId': u'6', u'TargetiSCSIName': u'<null>', u'ConnectionsList': []}]},
        ], outcome.value)
        traces = outcome.trace
        start = traces.index(u'UINT64 ----- UniqueAdapterId = 1')
        self.assertEqual([u' type = 1', u' V_ISARRAY = 0', u' V_ISBYREF = 0', u'VT_NULL',
                          u'UniqueAdapterId = 2 type = 8'], traces[start + 1:start + 6])
        # An empty array is read (its dimensions traced) but builds nothing.
        start = traces.index(u'UINT64 ----- UniqueAdapterId = 4')
        self.assertEqual(OBJECT_ARRAY + [u'UniqueAdapterId = 5 type = 8'], traces[start + 1:start + 6])
        self.assertClean(outcome)

    def test_value_ranges_and_null_properties(self):
        outcome = call(repository(
            adapter(ADAPTER_0, 18446744073709551615, [
                session(1, u'\u00e9t\u00e9', [connection(2, 65535, 4294967295)]),
                u'instance of ISCSI_SessionStatic { ConnectionsList = { '
                u'instance of ISCSI_ConnectionStatic { CID = 0; } }; }']),
            u'instance of MSiSCSI_InitiatorSessionInfo { InstanceName = "bare"; };\n'))
        first, bare = outcome.value
        self.assertEqual(u'18446744073709551615', first[u'UniqueAdapterId'])
        full, empty = first[u'SessionsList']
        self.assertEqual(u'\u00e9t\u00e9', full[u'TargetiSCSIName'])
        self.assertEqual([{u'UniqueConnectionId': u'2', u'CID': 65535, u'AuthType': -1}],
                         full[u'ConnectionsList'])
        self.assertEqual({u'UniqueSessionId': u'0', u'TargetiSCSIName': u'<null>',
                          u'ConnectionsList': [{u'UniqueConnectionId': u'0', u'CID': 0,
                                                u'AuthType': 0}]}, empty)
        self.assertEqual({u'UniqueAdapterId': u'0', u'SessionsList': []}, bare)
        self.assertIn(u'UINT64 ----- UniqueSessionId = 0', outcome.trace)
        self.assertIn(u'CID = 65535 type = 3', outcome.trace)
        self.assertIn(u'AuthType = 4294967295 type = 3', outcome.trace)
        self.assertClean(outcome)

    def test_large_repository_is_returned_whole(self):
        adapters = [adapter(u'A%d' % a, a, [
            session(a * 100 + s, u'iqn.target.%d.%d' % (a, s),
                    [connection(a * 10000 + s * 10 + c, c, c % 2) for c in range(4)])
            for s in range(10)]) for a in range(200)]
        outcome = call(repository(*adapters))
        self.assertEqual(200, len(outcome.value))
        self.assertEqual(u'199', outcome.value[-1][u'UniqueAdapterId'])
        self.assertEqual([10] * 200, [len(a[u'SessionsList']) for a in outcome.value])
        self.assertEqual(8000, sum(len(s[u'ConnectionsList'])
                                   for a in outcome.value for s in a[u'SessionsList']))
        last = outcome.value[-1][u'SessionsList'][-1][u'ConnectionsList'][-1]
        self.assertEqual({u'UniqueConnectionId': u'1990093', u'CID': 3, u'AuthType': 1}, last)
        self.assertEqual(200 + 2000 + 8000, outcome.trace.count(RELEASING))
        self.assertClean(outcome)


class FailureTest(scenario.ScenarioTestCase):
    def test_no_instance_gives_an_empty_list_and_only_engine_lines(self):
        outcome = call(repository())
        self.assertEqual([], outcome.value)
        self.assertEqual(CONNECT, outcome.trace)
        self.assertClean(outcome)

    def test_unknown_class_fails_like_a_query(self):
        # WMI reports the missing class through the enumerator.
        outcome = call(u'')
        self.assertEqual([], outcome.value)
        self.assertEqual(CONNECT + [
            QUERY_FAILED + u'80041010'], outcome.trace)
        self.assertClean(outcome)

    def test_enumeration_error_after_an_instance_deletes_its_record(self):
        outcome = call(repository(adapter(ADAPTER_0, 1, []), adapter(ADAPTER_1, 2, [])),
                       faults=u'Next#2=WBEM_E_FAILED')
        self.assertEqual([], outcome.value)
        self.assertEqual(CONNECT + [
            u' InstanceName : ' + ADAPTER_0, u'MSiSCSI_InitiatorSessionInfo',
            QUERY_FAILED + u'80041001',
            u'~MSiSCSI_InitiatorSessionInfo', RELEASING], outcome.trace)
        self.assertClean(outcome)

    def test_failed_query_gives_an_empty_list(self):
        outcome = call(one_adapter([]), faults=u'ExecQuery=WBEM_E_FAILED')
        self.assertEqual([], outcome.value)
        self.assertEqual(CONNECT + [
            QUERY_FAILED + u'80041001'], outcome.trace)
        self.assertClean(outcome)

    def test_null_element_gives_an_empty_record(self):
        outcome = call(one_adapter([u'NULL', session(5, u't', [connection(6)])]))
        self.assertEqual([
            {u'UniqueSessionId': u'', u'TargetiSCSIName': u'', u'ConnectionsList': []},
            {u'UniqueSessionId': u'5', u'TargetiSCSIName': u't', u'ConnectionsList': [
                {u'UniqueConnectionId': u'6', u'CID': 1, u'AuthType': 0}]},
        ], outcome.value[0][u'SessionsList'])
        traces = outcome.trace
        start = traces.index(u'UINT64 ----- UniqueSessionId = ')
        # Nothing attached: no reader lines, no array lines.
        self.assertEqual(u'UINT64 ----- UniqueSessionId = 5', traces[start + 2])
        self.assertIn(u'~WMIObject', traces)
        self.assertEqual(3, traces.count(RELEASING))
        self.assertClean(outcome)

    def test_element_fetch_failure_keeps_the_elements_before_it(self):
        sessions = [session(i, u't%d' % i, [connection(10 * i)]) for i in (1, 2, 3)]
        # Index 1 of the first array read with more than one element: the sessions.
        outcome = call(one_adapter(sessions), faults=u'SafeArrayGetElement:1=E_FAIL')
        self.assertEqual([u'1'], [s[u'UniqueSessionId'] for s in outcome.value[0][u'SessionsList']])
        traces = outcome.trace
        start = traces.index(u'UINT64 ----- UniqueAdapterId = 7')
        self.assertEqual(OBJECT_ARRAY + [u'ISCSI_SessionStatic',
                                         u'SafeArrayGetElement ISCSI_SessionStatic failed',
                                         u'UniqueSessionId = 1 type = 8'],
                         traces[start + 1:start + 8])
        self.assertClean(outcome)

        outcome = call(one_adapter([session(1, u't', [connection(2), connection(3)])]),
                       faults=u'SafeArrayGetElement:1=E_FAIL')
        self.assertEqual([u'2'], [c[u'UniqueConnectionId']
                                  for c in outcome.value[0][u'SessionsList'][0][u'ConnectionsList']])
        self.assertIn(u'SafeArrayGetElement ISCSI_ConnectionStatic failed', outcome.trace)
        self.assertClean(outcome)


if __name__ == '__main__':
    unittest.main()
