"""What the three record methods share: argument checks, the name as the engine's query receives
it, and the behaviour when nothing can be queried."""
import unittest

from pycompat import PY3
from recordcase import RecordTestCase, call
from traces import QUERY_FAILED

METHODS = (('GetMSiSCSI_HBAInformation', 'MSiSCSI_HBAInformation', None),
           ('GetMSiSCSI_TCPIPConfig', 'MSiSCSI_TCPIPConfig', 'MSiSCSI_TCPIPConfig'),
           ('GetMSiSCSI_NICConfig', 'MSiSCSI_NICConfig', 'MSiSCSI_NICConfig'))


class ArgumentTest(RecordTestCase):
    def assertRefused(self, result, method, message):
        self.assertClean(result)
        self.assertEqual([], result.trace)
        self.assertIsNone(result.value)
        self.assertTrue(result.error.startswith('TypeError: '), result.error)
        self.assertIn(method, result.error)
        self.assertIn(message.lower(), result.error.lower())
        self.assertEqual([], result.run.calls('ExecQuery'))
        self.assertEqual([], result.run.calls('ConnectServer'))

    def test_wrong_arguments_are_refused_before_anything_happens(self):
        for method, _, _ in METHODS:
            # A byte string is not text: str on Python 2, bytes on Python 3.
            self.assertRefused(call(method, argument="b'ROOT'"), method,
                               'must be str, not bytes' if PY3 else 'must be unicode, not str')
            self.assertRefused(call(method, argument=''), method, 'argument')
            self.assertRefused(call(method, argument="u'a', u'b'"), method, 'argument')

    def test_name_with_nul_is_refused(self):
        for method, _, _ in METHODS:
            self.assertRefused(call(method, name=u'ROOT\\ISCSIPRT\\0000_0\x00x'), method, 'nul')

    def test_name_reaches_the_query_unchanged(self):
        name = u'ROOT\\ISCSI"PRT\'\\\\0000_0 \u00e9'
        for method, wmi_class, constructed in METHODS:
            result = call(method, name=name)
            self.assertClean(result)
            queries = result.run.calls('ExecQuery')
            self.assertEqual(1, len(queries))
            self.assertTrue(queries[0].startswith(
                u'ExecQuery WQL 0x30 SELECT * FROM %s WHERE InstanceName = "%s" = '
                % (wmi_class, name)), queries[0])
            self.assertIn(u'InstName = ' + name, result.trace[1 if constructed else 0])

    def test_failed_query_gives_the_empty_dictionary(self):
        for method, wmi_class, constructed in METHODS:
            result = call(method, faults='ExecQuery=WBEM_E_INVALID_QUERY')
            self.assertClean(result)
            self.assertEqual({}, result.value)
            self.assertIn(QUERY_FAILED + '80041017', result.trace)
            self.assertEqual('~', result.trace[-2][0])
            if constructed:
                self.assertEqual(constructed, result.trace[0])


if __name__ == '__main__':
    unittest.main()
