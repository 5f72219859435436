"""How a capture fails: a missing class is skipped and the exit code says partial; a refused
connection or a failed read ends with a message and its own exit code, and never leaves a
half-written file (an existing one stays as it was)."""
import io
import os
import unittest

import capture_support as support
import scenario
from source_tree import SAMPLE_MOF

COMPLETE, PARTIAL, CONNECTION, ACCESS_DENIED, FAILED, OUTPUT = 0, 1, 3, 4, 5, 6
OLD_CONTENT = u'// the previous capture\n'


class MissingClassTest(unittest.TestCase):
    def check_partial(self, run, missing, kept, reason):
        self.assertEqual(PARTIAL, run.returncode, run.error_text)
        self.assertEqual(u'QuilletCapture: class %s is not in namespace ROOT\\WMI (%s), skipped\n' % (missing, reason),
                         run.error_text)
        self.assertNotIn(missing, support.without_capture_time(run.text).split(u'\n', 3)[3])
        for name in kept:
            self.assertIn(u'instance of %s {' % name, run.text)
        self.assertEqual(scenario.NO_LEAKS, run.log[-1])

    def test_a_class_the_namespace_lacks_is_skipped(self):
        with support.Workdir() as work:
            run = support.capture(['MSiSCSI_NICConfig', 'NoSuchClass', 'MPIO_TIMERS_COUNTERS'],
                                  repository=SAMPLE_MOF)
            self.check_partial(run, u'NoSuchClass', [u'MSiSCSI_NICConfig', u'MPIO_TIMERS_COUNTERS'],
                               u'0x80041002 (WBEM_E_NOT_FOUND)')
            # What was captured still replays.
            replay = support.capture([], repository=work.file('partial.mof', run.stdout))
            self.assertEqual(PARTIAL, replay.returncode, replay.error_text)

    def test_invalid_class_from_next_skips_the_class_and_its_embedded_classes(self):
        with support.Workdir() as work:
            run = support.capture(['MSiSCSI_TCPIPConfig', 'MPIO_TIMERS_COUNTERS'],
                                  repository=SAMPLE_MOF,
                                  faults='Next:MSiSCSI_TCPIPConfig=WBEM_E_INVALID_CLASS')
            self.check_partial(run, u'MSiSCSI_TCPIPConfig', [u'MPIO_TIMERS_COUNTERS'],
                               u'0x80041010 (WBEM_E_INVALID_CLASS)')
            self.assertNotIn(u'ISCSI_IP_Address', run.text)


class FailureTest(unittest.TestCase):
    """Each failure with /o over an existing file and without /o."""

    def check_failure(self, code, message, faults=None, args=()):
        with support.Workdir() as work:
            target = work.file('host.mof', OLD_CONTENT)
            to_file = support.capture(['/o', target] + list(args), repository=SAMPLE_MOF,
                                      faults=faults)
            self.assertEqual(code, to_file.returncode, to_file.error_text)
            self.assertEqual(message + u'\n', to_file.error_text)
            with io.open(target, encoding='utf-8') as f:
                self.assertEqual(OLD_CONTENT, f.read())
            self.assertEqual(['host.mof'], os.listdir(work.path))
            self.assertEqual(scenario.NO_LEAKS, to_file.log[-1])

            to_stdout = support.capture(list(args), repository=SAMPLE_MOF, faults=faults)
            self.assertEqual((code, b'', message + u'\n'),
                             (to_stdout.returncode, to_stdout.stdout, to_stdout.error_text))

    def test_failed_connection(self):
        self.check_failure(CONNECTION, u'QuilletCapture: cannot connect to namespace ROOT\\WMI: ConnectServer failed '
                                       u'with 0x80041001 (WBEM_E_FAILED)', faults='ConnectServer=WBEM_E_FAILED')

    def test_unknown_namespace(self):
        self.check_failure(CONNECTION, u'QuilletCapture: cannot connect to namespace ROOT\\NOPE: ConnectServer failed '
                                       u'with 0x8004100e (WBEM_E_INVALID_NAMESPACE)', args=['/n', 'ROOT\\NOPE'])

    def test_access_denied(self):
        self.check_failure(ACCESS_DENIED, u'QuilletCapture: cannot connect to namespace ROOT\\WMI: ConnectServer '
                                          u'failed with 0x80041003 (WBEM_E_ACCESS_DENIED) (access denied: run as '
                                          u'an administrator)', faults='ConnectServer=WBEM_E_ACCESS_DENIED')

    def test_failed_com_initialisation(self):
        self.check_failure(CONNECTION, u'QuilletCapture: cannot connect to namespace ROOT\\WMI: CoInitializeEx '
                                       u'failed with 0x8007000e (E_OUTOFMEMORY)', faults='CoInitializeEx=E_OUTOFMEMORY')

    def test_failed_next_in_a_later_class(self):
        self.check_failure(FAILED, u'QuilletCapture: reading the instances of class MSiSCSI_NICConfig failed: '
                                   u'0x80041001 (WBEM_E_FAILED); nothing written',
                           faults='Next:MSiSCSI_NICConfig#2=WBEM_E_FAILED')

    def test_invalid_class_from_next_after_an_instance_is_a_failed_read(self):
        for reason in (u'0x80041010 (WBEM_E_INVALID_CLASS)', u'0x80041002 (WBEM_E_NOT_FOUND)'):
            self.check_failure(FAILED, u'QuilletCapture: reading the instances of class MSiSCSI_NICConfig failed: '
                                       u'%s; nothing written' % reason,
                               faults='Next:MSiSCSI_NICConfig#2=' + reason.split()[0])

    def test_success_codes_without_a_result(self):
        for code in (u'0x00000000 (S_OK)', u'0x00000001 (S_FALSE)'):
            result = code.split()[0]
            self.check_failure(CONNECTION, u'QuilletCapture: cannot connect to namespace ROOT\\WMI: '
                                           u'CoCreateInstance(WbemLocator) answered %s without a result' % code,
                               faults='CoCreateInstance=' + result)
            self.check_failure(FAILED, u'QuilletCapture: ExecQuery answered %s without a result for class '
                                       u'MSiSCSI_HBAInformation; nothing written' % code, faults='ExecQuery=' + result)
            self.check_failure(FAILED, u'QuilletCapture: SafeArrayAccessData answered %s without a result for class '
                                       u'MSiSCSI_HBAInformation; nothing written' % code,
                               faults='SafeArrayAccessData=' + result)
        # S_FALSE without an object is the end of the instances.
        self.check_failure(FAILED, u'QuilletCapture: Next answered 0x00000000 (S_OK) without a result for class '
                                   u'MSiSCSI_NICConfig; nothing written', faults='Next:MSiSCSI_NICConfig#2=S_OK')

    def test_failed_property_read(self):
        self.check_failure(FAILED, u'QuilletCapture: Get failed for class ISCSI_SessionStaticInfo, property TSID: '
                                   u'0x80041001 (WBEM_E_FAILED); nothing written', faults='Get:TSID#2=WBEM_E_FAILED')

    def test_unwritable_output(self):
        with support.Workdir() as work:
            target = os.path.join(work.path, 'no such folder', 'host.mof')
            run = support.capture(['/o', target], repository=SAMPLE_MOF)
            self.assertEqual(OUTPUT, run.returncode)
            self.assertEqual(u'QuilletCapture: cannot create a temporary file beside %s: No such file or directory\n'
                             % target, run.error_text)

    def test_complete_capture_replaces_the_file(self):
        with support.Workdir() as work:
            target = work.file('host.mof', OLD_CONTENT)
            run = support.capture(['/o', target], repository=SAMPLE_MOF)
            self.assertEqual((COMPLETE, b'', u''), (run.returncode, run.stdout, run.error_text))
            with io.open(target, encoding='utf-8') as f:
                self.assertTrue(f.read().startswith(u'// Captured by QuilletCapture'))
            self.assertEqual(['host.mof'], sorted(os.listdir(work.path))[-1:])


class FaultSweepTest(unittest.TestCase):
    """Every platform call the capture makes, failed at its first, second and fifth use: the
    capture ends with a documented exit code, releases everything, and writes either a whole
    capture or nothing."""

    SITES = ('CoInitializeEx', 'CoInitializeSecurity', 'CoCreateInstance', 'ConnectServer',
             'CoSetProxyBlanket', 'ExecQuery', 'Next', 'Get', 'SafeArrayAccessData', 'SysAllocString')

    def test_every_site(self):
        problems = []
        with support.Workdir() as work:
            for site in self.SITES:
                for nth in (1, 2, 5):
                    fault = '%s#%d=WBEM_E_FAILED' % (site, nth)
                    run = support.capture([], repository=SAMPLE_MOF, faults=fault)
                    whole = run.stdout.endswith(b'};\n\n') and run.returncode in (COMPLETE, PARTIAL)
                    if run.returncode not in (COMPLETE, PARTIAL, CONNECTION, FAILED):
                        problems.append('%s: exit %d' % (fault, run.returncode))
                    elif not whole and run.stdout:
                        problems.append('%s: exit %d with output' % (fault, run.returncode))
                    elif run.returncode != COMPLETE and not run.error_text.startswith(u'QuilletCapture: '):
                        problems.append('%s: exit %d without a message' % (fault, run.returncode))
                    if run.log[-1:] != [scenario.NO_LEAKS]:
                        problems.append('%s: %r' % (fault, run.log[-1:]))
        self.assertEqual([], problems, '\n'.join(problems))


if __name__ == '__main__':
    unittest.main()
