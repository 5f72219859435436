"""Every result of every method, on the sample repository, on a capture of it and when every
call fails, has exactly the keys and value types that the stub Quillet.pyi declares for it."""
import os
import shutil
import subprocess
import tempfile
import unittest

from module_results import module_results
from scenario import stand_in_environment
from source_tree import SAMPLE_MOF
import stub_shapes

SAMPLE_ADAPTERS = (u'PCI\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\4&1c3f0a2b&0&00E0_0',
                   u'PCI\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\4&1c3f0a2b&0&00E1_1',
                   u'no such adapter')
CAPTURE_EXE = os.path.join(os.environ.get('QUILLET_BUILD_DIR', 'build'), 'bin', 'QuilletCapture')


class ResultShapesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.stub = stub_shapes.describe()

    def assertConforms(self, results):
        found = []
        for method, name, result in results:
            declared = self.stub['functions'].get('WMIFacade.' + method,
                                                  self.stub['functions'].get(method))
            found += stub_shapes.problems(result, declared, self.stub, '%s(%r)' % (method, name))
        self.assertEqual([], found, '\n'.join(found))
        # Every function the stub declares was called, so none goes unchecked.
        self.assertEqual(sorted(self.stub['functions']),
                         sorted(set(('' if method == 'printSomethingGlobal' else 'WMIFacade.') + method
                                    for method, _, _ in results)))

    def test_sample_repository(self):
        results = module_results(SAMPLE_MOF, SAMPLE_ADAPTERS, period=30)
        self.assertEqual(2, len(results[-5][2]))  # the sample's adapters with sessions
        self.assertConforms(results)

    def test_capture_of_the_sample(self):
        workdir = tempfile.mkdtemp(prefix='quillet-shapes-')
        try:
            capture = os.path.join(workdir, 'host.mof')
            subprocess.check_call([CAPTURE_EXE, '/o', capture],
                                  env=stand_in_environment(SAMPLE_MOF))
            self.assertConforms(module_results(capture, SAMPLE_ADAPTERS, period=30))
        finally:
            shutil.rmtree(workdir, ignore_errors=True)

    def test_failure_results(self):
        # No connection: {} from the record methods, [] from the sessions, None from the timers.
        results = module_results(SAMPLE_MOF, SAMPLE_ADAPTERS[:1], faults='ConnectServer=WBEM_E_FAILED',
                                 period=30)
        self.assertEqual([{}, {}, {}, [], None], [result for _, _, result in results[:5]])
        self.assertEqual(None, results[-1][2])
        self.assertConforms(results)


if __name__ == '__main__':
    unittest.main()
