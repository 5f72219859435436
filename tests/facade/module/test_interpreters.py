# -*- coding: utf-8 -*-
"""What must hold on Python 2.7 and 3 alike: the script's own output keeps its place among the
traces when stdout is a pipe, text beyond the Basic Multilingual Plane passes whole both ways,
and text arguments and timer values are checked the same way."""
import unittest

from facade_fixtures import PRELUDE, instance, timers
from scenario import ScenarioTestCase
from traces import CONNECT

GRINNING = u'\U0001F600'
HBA_CLASS = (u'class MSiSCSI_HBAInformation { string InstanceName; string VendorModel; };\n'
             u'instance of MSiSCSI_HBAInformation { InstanceName = "A%s"; VendorModel = "M%s"; };\n'
             % (GRINNING, GRINNING))


class InterpreterTest(ScenarioTestCase):
    def run_scenario(self, code, mof=None):
        return self.run_clean(PRELUDE + code, mof=timers(9) if mof is None else mof)

    def test_script_output_keeps_its_place_among_the_traces(self):
        # stdout is a pipe here, so Python 3 buffers print until something flushes it. A stdout
        # whose flush fails, or no stdout at all, must neither stop nor break the call.
        result = self.run_scenario(
            'import sys\n'
            'print("before creation")\n'
            'f = Quillet.WMIFacade()\n'
            'print("before the call")\n'
            'period = f.GetPDORemovePeriod()\n'
            'print("after the call", period)\n'
            'class Broken(object):\n'
            '    def write(self, text):\n'
            '        pass\n'
            '    def flush(self):\n'
            '        raise IOError("flush failed")\n'
            'real, sys.stdout = sys.stdout, Broken()\n'
            'second = f.GetPDORemovePeriod()\n'
            'sys.stdout = None\n'
            'third = f.SetPDORemovePeriod(10)\n'
            'sys.stdout = real\n'
            'print("results", second, third)\n'
            'print("before deletion")\n'
            'del f\n'
            'print("the end")\n')
        read = [instance(0), ' PDORemovePeriod : 9']
        self.assertEqual(['before creation', 'WMIFacade', 'before the call'] + CONNECT + read +
                         ['after the call 9'] + read + ['period = 10', instance(0), 'results 9 1',
                          'before deletion',
                          '~WMIFacade', 'the end'], result.lines)

    def test_text_beyond_the_basic_plane_passes_whole(self):
        result = self.run_scenario(
            'class Name(type(u"")):\n'
            '    pass\n'
            'f = Quillet.WMIFacade()\n'
            'value = f.GetMSiSCSI_HBAInformation(Name(u"A\\U0001F600"))\n'
            'model = value["VendorModel"]\n'
            'print(len(model), model == u"M\\U0001F600", value["InstanceName"] == u"A\\U0001F600")\n',
            mof=HBA_CLASS)
        self.assertIn(u'hbsInstName = A' + GRINNING, result.lines)
        self.assertIn(u'VendorModel = M' + GRINNING + u' type = 8', result.lines)
        self.assertIn('2 True True', result.lines)
        self.assertEqual([u'ExecQuery WQL 0x30 SELECT * FROM MSiSCSI_HBAInformation WHERE '
                          u'InstanceName = "A' + GRINNING + u'" = 0x00000000'],
                         result.calls('ExecQuery'))

    def test_period_values_are_checked_as_32_bit_integers(self):
        result = self.run_scenario(
            'f = Quillet.WMIFacade()\n'
            'for value in (2 ** 31, -2 ** 31 - 1, 2 ** 40, 1.5, "7", None):\n'
            '    try:\n'
            '        f.SetPDORemovePeriod(value)\n'
            '    except (TypeError, OverflowError) as error:\n'
            '        print(type(error).__name__)\n'
            'print(f.SetPDORemovePeriod(True), f.GetPDORemovePeriod())\n')
        self.assertEqual(['WMIFacade'] + ['OverflowError'] * 3 + ['TypeError'] * 3 +
                         ['period = 1'] + CONNECT + [instance(0), instance(0),
                                                     ' PDORemovePeriod : 1', '1 1', '~WMIFacade'], result.lines)


if __name__ == '__main__':
    unittest.main()
