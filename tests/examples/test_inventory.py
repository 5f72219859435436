"""The inventory example against the sample initiator repository."""
import os
import shutil
import sys
import tempfile
import unittest

import scenario
from source_tree import SAMPLE_ADAPTERS, SAMPLE_MOF

SOURCE = os.environ.get('QUILLET_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..', '..'))
SCRIPT = os.path.join(SOURCE, 'examples', 'inventory.py')
ADAPTER_0, ADAPTER_1 = SAMPLE_ADAPTERS


class InventoryTest(unittest.TestCase):
    def setUp(self):
        # The example may write the period back: work on a copy of the sample.
        self.workdir = tempfile.mkdtemp(prefix='quillet-example-')
        self.repository = os.path.join(self.workdir, 'sample.mof')
        shutil.copy(SAMPLE_MOF, self.repository)

    def tearDown(self):
        shutil.rmtree(self.workdir, ignore_errors=True)

    def run_inventory(self, *args, **kwargs):
        run = scenario.run_program([sys.executable, SCRIPT] + list(args),
                                   repository=self.repository, faults=kwargs.get('faults'))
        return run.returncode, run.text, run.error_text, run.leaks

    def test_report_holds_every_section_of_the_sample(self):
        status, traces, report, leaks = self.run_inventory(ADAPTER_0, ADAPTER_1)
        self.assertEqual(0, status, report)
        self.assertEqual(scenario.NO_LEAKS, leaks)
        self.assertIn(u'Adapters with sessions: 2', report)
        self.assertIn(u'HN-ISX2 10GbE iSCSI Adapter', report)                   # HBA information
        self.assertIn(u'{40FC296B-47CA-6710-B31D-00DD0106620A}', report)        # GUID layout
        self.assertIn(u'10.20.11.21', report)                                    # TCP/IP
        self.assertIn(u'255.255.255.0', report)
        self.assertIn(u'00-90-FA-3C-51-8F', report)                              # NIC
        self.assertIn(u'iqn.2019-11.net.storvault:array1.vol-sql-data', report)  # sessions
        self.assertIn(u'Connection 18374967884590530562  CID 2  auth CHAP', report)  # second connection
        self.assertEqual(4, report.count(u'Connection '))
        self.assertIn(u'PDORemovePeriod: 20 s', report)
        self.assertIn(u' InstanceName : ', traces)                               # traces on stdout

    def test_quiet_drops_the_traces(self):
        status, traces, report, _ = self.run_inventory('--quiet', ADAPTER_0)
        self.assertEqual(0, status, report)
        self.assertEqual(u'', traces)
        self.assertIn(u'HN2604A01187', report)

    def test_period_round_trip(self):
        status, _, report, leaks = self.run_inventory('--set-period', '45')
        self.assertEqual(0, status, report)
        self.assertIn(u'Set PDORemovePeriod to 45 s: stored', report)
        self.assertIn(u'PDORemovePeriod read back: 45 s', report)
        self.assertEqual(scenario.NO_LEAKS, leaks)

    def test_unknown_adapter_is_reported_not_fatal(self):
        status, _, report, _ = self.run_inventory(u'PCI\\NO_SUCH_ADAPTER')
        self.assertEqual(0, status, report)
        self.assertIn(u'no HBA information for this instance name', report)

    def test_failed_configuration_reads_are_reported_not_fatal(self):
        status, _, report, leaks = self.run_inventory(
            ADAPTER_0, faults='ExecQuery:MSiSCSI_NICConfig=WBEM_E_FAILED,'
                              'ExecQuery:MSiSCSI_TCPIPConfig=WBEM_E_FAILED')
        self.assertEqual(0, status, report)
        self.assertIn(u'TCP/IP configuration: not available', report)
        self.assertIn(u'NIC configuration: not available', report)
        self.assertIn(u'PDORemovePeriod: 20 s', report)
        self.assertEqual(scenario.NO_LEAKS, leaks)


if __name__ == '__main__':
    unittest.main()
