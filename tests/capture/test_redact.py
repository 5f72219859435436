"""/redact: no serial number, IQN, address or instance name of the host is left, and the same
value becomes the same placeholder everywhere, so the module still finds an adapter's TCP/IP,
NIC and session instances by the adapter's (redacted) name."""
import io
import re
import unittest

import capture_support as support
import scenario
from source_tree import SAMPLE_MOF

# Identifiers of the sample host, as they appear in its MOF text or as the capture would write them
# (checked in any case).
IDENTIFIERS = (
    u'VEN_1F3A', u'1c3f0a2b', u'Root\\\\MPIO', u'HN2604A01187', u'HN2604A01188', u'db-host-07',
    u'storvault', u'tarnwell', u'iqn.1991', u'iqn.2019', u'iqn.2021',
    u'169085717', u'169085953',            # 10.20.11.21, 10.20.11.1 as host-order integers
    u'{ 0, 144, 250, 60, 81, 142 }',       # MAC 00-90-FA-3C-51-8E
)


def sample_with_lower_case_names():
    """The sample host as one whose TCP/IP and NIC instances spell the adapters' names in lower case."""
    with io.open(SAMPLE_MOF, encoding='utf-8') as f:
        parts = f.read().split(u'instance of ')
    lower = (u'MSiSCSI_TCPIPConfig', u'MSiSCSI_NICConfig')
    return u'instance of '.join(part.replace(u'VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02',
                                             u'ven_1f3a&dev_0c21&subsys_00021f3a&rev_02')
                                if part.startswith(lower) else part for part in parts)


# One identifier each, and where else it stands: the properties of class Host, its instance, the
# texts that must be gone (in any case) and what must stand in the capture instead.
HIDDEN_EVERYWHERE = (
    (u'string SerialNumber; string Description;',
     u'SerialNumber = "HN2604A01187"; Description = "board hn2604a01187";',
     [u'hn2604a01187'], [u'Description = "board SERIAL-1";']),
    (u'string SerialNumber; string Description;',
     u'SerialNumber = "X7Q"; Description = "unit x7q/2";',
     [u'x7q'], [u'Description = "unit SERIAL-1/2";']),
    (u'uint32 SerialNumber; string Description;',
     u'SerialNumber = 12345678; Description = "unit 12345678";',
     [u'12345678'], [u'SerialNumber = 1;', u'Description = "unit SERIAL-1";']),
    (u'string InstanceName; string Description;',
     u'InstanceName = "PCI\\\\ADAPTER_7"; Description = "port of pci\\\\adapter_7, '
     u'WHERE InstanceName = \\"PCI\\\\\\\\Adapter_7\\"";',
     [u'adapter_7'], [u'Description = "port of REDACTED\\\\INSTANCE_1, '
                      u'WHERE InstanceName = \\"REDACTED\\\\\\\\INSTANCE_1\\"";']),
    (u'uint32 IpV4Address; string Description;',
     u'IpV4Address = 0x0A140B15; Description = "gateway 10.20.11.21 (169085717)";',
     [u'10.20.11.21', u'169085717'], [u'IpV4Address = 3221225985;', u'"gateway 192.0.2.1 (3221225985)"']),
    (u'uint8 MacAddress[]; string Description;',
     u'MacAddress = {0x00, 0x90, 0xFA, 0x3C, 0x51, 0x8E}; Description = "00-90-fa-3c-51-8e 00:90:FA:3C:51:8E 0090fa3c518e";',
     [u'3c-51-8e', u'3c:51:8e', u'3c518e'],
     [u'MacAddress = { 2, 0, 0, 0, 0, 1 };', u'"02-00-00-00-00-01 02:00:00:00:00:01 020000000001"']),
    (u'string Description;',
     u'Description = "logged in to iqn.2019-11.net.storvault:array1.vol-sql-data.";',
     [u'storvault', u'array1'], [u'"logged in to iqn.2000-01.invalid.redacted:name-1."']),
    (u'string InitiatoriSCSIName; string Description;',
     u'InitiatoriSCSIName = "iqn.1991-05.com.example:db-host-07.corp.example.com";'
     u'Description = "on DB-HOST-07, db-host-07.corp.example.com";',
     [u'db-host-07'], [u'"on host-1, host-1"']),
    (u'string Description;',
     u'Description = "eui.02004567A425678D naa.60A98000486E2F65746F4A6D4E6F6B31 '
     u'fe80::2a0:c9ff:fe12:3456%4 2001:DB8:0:0:8:800:200C:417A 10.0.0.1";',
     [u'A425678D', u'4E6F6B31', u'fe12:3456', u'200C:417A', u'10.0.0.1'],
     [u'"eui.0000000000000001 naa.00000000000000000000000000000002 2001:db8::1%4 2001:db8::2 192.0.2.3"']),
    # Kept: a version that looks like an address, a subnet mask, an unset MAC address.
    (u'string FirmwareVersion; string Description; uint8 MacAddress[];',
     u'FirmwareVersion = "4.6.233.0"; Description = "mask 255.255.255.0"; MacAddress = {0, 0, 0, 0, 0, 0};',
     [], [u'"4.6.233.0"', u'"mask 255.255.255.0"', u'{ 0, 0, 0, 0, 0, 0 }']),
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
            sample = work.file('host.mof', sample_with_lower_case_names())
            run = support.capture(['/redact'], repository=sample)
            self.assertEqual((0, u''), (run.returncode, run.error_text))
            text = run.text
            for identifier in IDENTIFIERS:
                self.assertNotIn(identifier.lower(), text.lower())
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

    def test_identifiers_are_hidden_in_every_case_and_form(self):
        with support.Workdir() as work:
            for properties, values, gone, placeholders in HIDDEN_EVERYWHERE:
                mof = u'class Host { %s };\ninstance of Host { %s };\n' % (properties, values)
                run = support.capture(['/redact', 'Host'], repository=work.file('host.mof', mof))
                self.assertEqual((0, u''), (run.returncode, run.error_text), values)
                for text in gone:
                    self.assertNotIn(text.lower(), run.text.lower(), values)
                for text in placeholders:
                    self.assertIn(text, run.text, values)
                # The redacted capture still loads.
                again = support.capture(['Host'], repository=work.file('again.mof', run.stdout))
                self.assertEqual(0, again.returncode, again.error_text)

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
