"""The module's Python face: names, docs, objects, the print methods and argument errors."""
import unittest

import source_tree
from facade_fixtures import PRELUDE, instance, timers
from scenario import ScenarioTestCase
from traces import CONNECT

VERSION = source_tree.version()


class ModuleTest(ScenarioTestCase):
    def run_scenario(self, code, **kwargs):
        return self.run_clean(PRELUDE + code, **kwargs)

    def test_names_and_docs(self):
        result = self.run_scenario(
            'print(Quillet.__doc__)\n'
            'print(Quillet.WMIFacade.__name__, Quillet.WMIFacade.__module__)\n'
            'print(Quillet.WMIFacade.__doc__)\n'
            'print(Quillet.printSomethingGlobal.__doc__)\n'
            'for name in ("printSomething", "GetMSiSCSI_HBAInformation", "GetMSiSCSI_TCPIPConfig",\n'
            '             "GetMSiSCSI_NICConfig", "GetMSiSCSI_InitiatorSessionInfo",\n'
            '             "GetPDORemovePeriod", "SetPDORemovePeriod"):\n'
            '    print(getattr(Quillet.WMIFacade, name).__doc__)\n'
            'f = Quillet.WMIFacade()\n'
            'print(hasattr(f, "__dict__"))\n'
            'print(Quillet.__version__)\n')
        self.assertEqual([
            'WMI through COM high level wrapper',
            'WMIFacade Quillet',
            'WMIFacade objects',
            'This global method prints something global',
            'This method prints something that the object says',
            'This method gets HBA Information in a dictionary',
            'This method gets HBA TCP/IP configuration information in a dictionary',
            'This method gets HBA NIC configuration information in a dictionary',
            'This method gets Initiator Session Information in a list/dictionary',
            'This method gets the PDORemovePeriod',
            'This method sets the PDORemovePeriod',
            'WMIFacade', 'False', VERSION, '~WMIFacade'], result.lines)

    def test_objects_own_an_engine_and_touch_no_wmi(self):
        result = self.run_scenario(
            'a = Quillet.WMIFacade()\n'
            'b = Quillet.WMIFacade(1, "x", key=2)\n'
            'print(a.printSomething())\n'
            'del a\n'
            'print("between")\n'
            'del b\n'
            'print(Quillet.printSomethingGlobal())\n')
        self.assertEqual(['WMIFacade', 'WMIFacade', 'Hola World!!!', '0', '~WMIFacade', 'between',
                          '~WMIFacade', 'Hola Universe!!!', '0'], result.lines)
        # Objects that never connected initialise nothing, so they uninitialise nothing either.
        self.assertEqual([], result.calls('Co'))

    def test_subclass_answers_every_method(self):
        result = self.run_scenario(
            'class Mine(Quillet.WMIFacade):\n'
            '    def extra(self):\n'
            '        return "extra"\n'
            'm = Mine()\n'
            'm.attribute = 5\n'
            'answers = m.extra(), m.attribute, m.printSomething()\n'
            'print(answers)\n'
            'print(m.GetPDORemovePeriod())\n'
            'del m\n', mof=timers(7))
        self.assertEqual(['WMIFacade', 'Hola World!!!', "('extra', 5, 0)"] + CONNECT +
                         [instance(0), ' PDORemovePeriod : 7', '7', '~WMIFacade'], result.lines)

    def test_argument_errors_write_nothing_and_leave_the_engine_alone(self):
        result = self.run_scenario(
            'f = Quillet.WMIFacade()\n'
            'calls = [lambda: Quillet.printSomethingGlobal(1),\n'
            '         lambda: f.printSomething(1),\n'
            '         lambda: f.GetPDORemovePeriod(1),\n'
            '         lambda: f.SetPDORemovePeriod(),\n'
            '         lambda: f.SetPDORemovePeriod("30"),\n'
            '         lambda: f.SetPDORemovePeriod(30, 31),\n'
            '         lambda: f.SetPDORemovePeriod(2 ** 31)]\n'
            'for call in calls:\n'
            '    try:\n'
            '        call()\n'
            '    except (TypeError, OverflowError) as e:\n'
            '        print(type(e).__name__)\n')
        self.assertEqual(['WMIFacade'] + ['TypeError'] * 6 + ['OverflowError', '~WMIFacade'],
                         result.lines)
        self.assertEqual([], result.calls('Co'))

    def test_threads_on_one_object_share_one_connection(self):
        result = self.run_scenario(
            'import threading\n'
            'f = Quillet.WMIFacade()\n'
            'results = []\n'
            'def work():\n'
            '    for _ in range(25):\n'
            '        results.append(f.GetPDORemovePeriod())\n'
            'threads = [threading.Thread(target=work) for _ in range(4)]\n'
            'for t in threads: t.start()\n'
            'for t in threads: t.join()\n'
            'print(len(results), sorted(set(results)))\n', mof=timers(12))
        self.assertIn('100 [12]', result.lines)
        self.assertEqual(1, len(result.calls('ConnectServer')))
        self.assertEqual(1, len(result.calls('CoInitializeEx')))
        # Serialised calls: every instance line is followed by its own period line.
        periods = [i for i, line in enumerate(result.lines) if line == ' PDORemovePeriod : 12']
        self.assertEqual(100, len(periods))
        for i in periods:
            self.assertEqual(instance(0), result.lines[i - 1])


if __name__ == '__main__':
    unittest.main()
