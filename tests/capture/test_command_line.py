"""The command line, checked strictly: each refused form gets the usage text on stderr and exit
code 2, and nothing on stdout; each accepted form captures what it names."""
import unittest

import capture_support as support
import scenario
import source_tree
from source_tree import SAMPLE_MOF

# The program's version is the package's.
VERSION = source_tree.version()

USAGE = 2
REFUSED = (
    ['/x'], ['/N', 'ROOT\\WMI'], ['/n'], ['/n', ''], ['/n', 'ROOT\\W MI'], ['/o'], ['/o', ''],
    ['/n', 'ROOT\\WMI', '/n', 'ROOT\\WMI'], ['/o', 'a.mof', '/o', 'b.mof'], ['/redact', '/redact'],
    ['/REDACT'], ['-redact'], ['MSiSCSI_NICConfig', '/redact'], ['1Class'], ['Class-Name'],
    ['Bad Name'], ['MSiSCSI_NICConfig', 'msiscsi_nicconfig'], [''], ['/'],
)
DEFAULT_CLASSES = (u'MSiSCSI_HBAInformation, MSiSCSI_TCPIPConfig, MSiSCSI_NICConfig, '
                   u'MSiSCSI_InitiatorSessionInfo, MPIO_TIMERS_COUNTERS')


class CommandLineTest(unittest.TestCase):
    def test_refused_forms(self):
        with support.Workdir() as work:
            for args in REFUSED:
                run = support.capture(args, repository=SAMPLE_MOF)
                self.assertEqual((USAGE, b''), (run.returncode, run.stdout), args)
                self.assertIn(u'\tQuilletCapture [/n NAMESPACE] [/o FILE] [/redact] [CLASS ...]\n', run.error_text, args)
                # Refused before COM: the stand-in saw no call.
                self.assertEqual([scenario.NO_LEAKS], run.log, args)

    def header(self, run):
        self.assertEqual((0, u''), (run.returncode, run.error_text))
        return run.text.split(u'\n')[:3]

    def test_accepted_forms(self):
        with support.Workdir() as work:
            cases = (
                ([], u'ROOT\\WMI', DEFAULT_CLASSES),
                (['/n', 'root/wmi'], u'root/wmi', DEFAULT_CLASSES),
                (['/redact', 'MPIO_TIMERS_COUNTERS'], u'ROOT\\WMI', u'MPIO_TIMERS_COUNTERS'),
                (['/n', 'ROOT\\WMI', '/redact', 'mpio_timers_counters', 'MSiSCSI_NICConfig'], u'ROOT\\WMI',
                 u'mpio_timers_counters, MSiSCSI_NICConfig'),
            )
            for args, name_space, classes in cases:
                run = support.capture(args, repository=SAMPLE_MOF)
                self.assertEqual([u'// Captured by QuilletCapture ' + VERSION, u'// Namespace: ' + name_space,
                                  u'// Classes: ' + classes], self.header(run), args)
                self.assertEqual(scenario.NO_LEAKS, run.log[-1])

    def test_output_file_and_switch_order(self):
        with support.Workdir() as work:
            target = work.file('out.mof')
            run = support.capture(['/redact', '/o', target, '/n', 'ROOT\\WMI', 'MSiSCSI_NICConfig'],
                                  repository=SAMPLE_MOF)
            self.assertEqual((0, b'', u''), (run.returncode, run.stdout, run.error_text))
            with open(target, 'rb') as f:
                self.assertIn(b'MacAddress = { 2, 0, 0, 0, 0, 1 };', f.read())


if __name__ == '__main__':
    unittest.main()
