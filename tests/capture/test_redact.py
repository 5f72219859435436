"""/redact: no serial number, IQN, address or instance name of the host is left, and the same
value becomes the same placeholder everywhere, so the module still finds an adapter's TCP/IP,
NIC and session instances by the adapter's (redacted) name."""
import re
import unittest

import capture_support as support
import scenario
from source_tree import SAMPLE_MOF

# Identifiers of the sample host, as they appear in its MOF text or as the capture would write them.
IDENTIFIERS = (
    u'VEN_1F3A', u'1c3f0a2b', u'Root\\\\MPIO', u'HN2604A01187', u'HN2604A01188', u'db-host-07',
    u'storvault', u'tarnwell', u'iqn.1991', u'iqn.2019', u'iqn.2021',
    u'169085717', u'169085953',            # 10.20.11.21, 10.20.11.1 as host-order integers
    u'{ 0, 144, 250, 60, 81, 142 }',       # MAC 00-90-FA-3C-51-8E
)


SCENARIO = u'''import sys
import Quillet
f = Quillet.WMIFacade()
found = []
for name in (u'REDACTED\\\\\\\\INSTANCE_1', u'REDACTED\\\\\\\\INSTANCE_2'):
    found.append((f.GetMSiSCSI_HBAInformation(name).get('InstanceName'),
                  bool(f.GetMSiSCSI_TCPIPConfig(name)), bool(f.GetMSiSCSI_NICConfig(name))))
sessions = [s for a in f.GetMSiSCSI_InitiatorSessionInfo(u'') for s in a['SessionsList']]
sys.stderr.write('RESULT %r\\n' % ((found, sorted(s['TargetiSCSIName'] for s in sessions)),))
'''


class RedactTest(unittest.TestCase):
    def test_no_identifier_is_left_and_references_still_match(self):
        with support.Workdir() as work:
            run = support.capture(['/redact'], repository=SAMPLE_MOF)
            self.assertEqual((0, u''), (run.returncode, run.error_text))
            text = run.text
            for identifier in IDENTIFIERS:
                self.assertNotIn(identifier, text)
            # Every value got one placeholder: two adapters, two serial numbers, four IQNs.
            self.assertEqual(set([u'REDACTED\\\\INSTANCE_1', u'REDACTED\\\\INSTANCE_2', u'REDACTED\\\\INSTANCE_3']),
                             set(re.findall(u'REDACTED\\\\\\\\INSTANCE_\\d+', text)))
            self.assertEqual([u'SERIAL-1', u'SERIAL-2'], re.findall(u'SERIAL-\\d+', text))
            self.assertEqual(4, len(set(re.findall(u'iqn\\.2000-01\\.invalid\\.redacted:name-\\d+', text))))
            # The subnet mask says nothing about the host and stays.
            self.assertIn(u'IpV4Address = 4294967040;', text)

            found, targets = scenario.run(SCENARIO, mof=run.stdout).reported('RESULT ')
            self.assertEqual([(u'REDACTED\\INSTANCE_1', True, True), (u'REDACTED\\INSTANCE_2', True, True)], found)
            self.assertEqual([u'iqn.2000-01.invalid.redacted:name-%d' % n for n in (2, 3, 4)], targets)

    def test_same_capture_same_placeholders(self):
        with support.Workdir() as work:
            first = support.capture(['/redact'], repository=SAMPLE_MOF)
            second = support.capture(['/redact'], repository=SAMPLE_MOF)
            self.assertEqual(support.without_capture_time(first.text), support.without_capture_time(second.text))

    def test_identifiers_inside_other_strings_are_hidden(self):
        mof = (u'class Adapter { string InstanceName; string SerialNumber; string Description; };\n'
               u'instance of Adapter { InstanceName = "PCI\\\\ADAPTER_7"; SerialNumber = "SN12345";\n'
               u'  Description = "port of PCI\\\\ADAPTER_7, serial SN12345"; };\n')
        with support.Workdir() as work:
            run = support.capture(['/redact', 'Adapter'], repository=work.file('host.mof', mof))
            self.assertEqual(0, run.returncode, run.error_text)
            self.assertIn(u'Description = "port of REDACTED\\\\INSTANCE_1, serial SERIAL-1";', run.text)


if __name__ == '__main__':
    unittest.main()
