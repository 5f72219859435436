"""mypy's stubtest finds nothing in the built Python 3 module that Quillet.pyi lacks or
declares in vain. Runs under Debian's python3, whose mypy it uses; it imports the module of
this build that this interpreter can load (the stable-ABI one, or one built for its version)."""
import glob
import importlib.machinery
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from stub_shapes import STUB

BUILD_DIR = os.environ.get('QUILLET_BUILD_DIR', 'build-py3')


def loadable_module_dir():
    """The build folder holding a Quillet this interpreter imports, or None."""
    # A bare ".so" is the 2.7 module's name; it has no Python 3 entry point.
    for suffix in importlib.machinery.EXTENSION_SUFFIXES:
        if suffix != '.so':
            found = sorted(glob.glob(os.path.join(BUILD_DIR, '*', 'Quillet' + suffix)))
            if found:
                return os.path.dirname(found[0])
    return None


class StubtestTest(unittest.TestCase):
    def setUp(self):
        self.module_dir = loadable_module_dir()
        if self.module_dir is None:
            self.fail('no module in %s that %s can import (build the stable-ABI module, or one for '
                      'Python %d.%d)' % (BUILD_DIR, sys.executable, *sys.version_info[:2]))
        self.stubs = tempfile.mkdtemp(prefix='quillet-stubtest-')

    def tearDown(self):
        shutil.rmtree(self.stubs, ignore_errors=True)

    def stubtest(self, stub_text):
        with open(os.path.join(self.stubs, 'Quillet.pyi'), 'w') as f:
            f.write(stub_text)
        env = dict(os.environ, MYPYPATH=self.stubs, PYTHONPATH=self.module_dir)
        process = subprocess.run([sys.executable, '-m', 'mypy.stubtest', 'Quillet'], env=env,
                                 cwd=self.stubs, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        return process.returncode, process.stdout.decode('utf-8', 'replace')

    def test_stub_matches_the_module(self):
        with open(STUB) as f:
            status, output = self.stubtest(f.read())
        self.assertEqual(0, status, output)

    def test_a_missing_method_is_found(self):
        with open(STUB) as f:
            stub = f.read()
        status, output = self.stubtest(stub.replace('def GetPDORemovePeriod', 'def _GetPDORemovePeriod'))
        self.assertNotEqual(0, status, output)
        self.assertIn('WMIFacade.GetPDORemovePeriod', output)


if __name__ == '__main__':
    unittest.main()
