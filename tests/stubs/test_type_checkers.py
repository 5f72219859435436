"""Quillet.pyi with Debian's mypy: stubtest finds nothing in the built Python 3 module that the
stub lacks or declares in vain, and mypy checks a script's use of the results against it. Runs
under Debian's python3, whose mypy it uses; stubtest imports the module of this build that this
interpreter can load (the stable-ABI one, or one built for its version)."""
import glob
import importlib.machinery
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

from stub_shapes import STUB, describe

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
        path = os.path.join(self.stubs, 'Quillet.pyi')
        with open(path, 'w') as f:
            f.write(stub_text)
        # The TypedDicts and aliases exist for type checkers only; everything else must match.
        typing_only = describe(path)
        with open(os.path.join(self.stubs, 'typing-only.txt'), 'w') as f:
            f.write(''.join('Quillet.%s\n' % name
                            for name in list(typing_only['typeddicts']) + list(typing_only['aliases'])))
        env = dict(os.environ, MYPYPATH=self.stubs, PYTHONPATH=self.module_dir)
        process = subprocess.run([sys.executable, '-m', 'mypy.stubtest', 'Quillet',
                                  '--allowlist', 'typing-only.txt'], env=env,
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


# A script as its author would write it: mypy must accept the first part and refuse each line
# of the second, where the stub's types catch a real mistake.
SCRIPT = '''
import Quillet
facade = Quillet.WMIFacade()
info = facade.GetMSiSCSI_HBAInformation("ROOT\\\\ISCSIPRT\\\\0000_0")
if info:
    vendor: str = info["VendorID"]
    guid: tuple = info["GenerationalGuid"]
    address: int = facade.GetMSiSCSI_TCPIPConfig("x")["IpAddress"]["IpV4Address"]
for adapter in facade.GetMSiSCSI_InitiatorSessionInfo(""):
    for session in adapter["SessionsList"]:
        cids = [connection["CID"] + 1 for connection in session["ConnectionsList"]]
period = facade.GetPDORemovePeriod()
seconds: int = period if period is not None else 0
stored = facade.SetPDORemovePeriod(30)
'''
MISTAKES = [
    'ports: str = info["NumberOfPorts"]',                  # wrong value type
    'serial = info["Serial"]',                             # no such key
    'facade.GetMSiSCSI_NICConfig(b"x")',                   # bytes for the instance name
    'facade.SetPDORemovePeriod("30")',                     # text for the period
    'later: int = facade.GetPDORemovePeriod()',            # None not handled
    'mac: str = facade.GetMSiSCSI_NICConfig("x")["MacAddress"]',
]


class MypyTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix='quillet-mypy-')
        shutil.copy(STUB, os.path.join(self.workdir, 'Quillet.pyi'))

    def tearDown(self):
        shutil.rmtree(self.workdir, ignore_errors=True)

    def mypy(self, text):
        with open(os.path.join(self.workdir, 'script.py'), 'w') as f:
            f.write(text)
        process = subprocess.run([sys.executable, '-m', 'mypy', 'script.py'],
                                 cwd=self.workdir, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                 env=dict(os.environ, MYPYPATH=self.workdir))
        return process.returncode, process.stdout.decode('utf-8', 'replace')

    def test_script_passes_and_each_mistake_is_caught(self):
        status, output = self.mypy(SCRIPT)
        self.assertEqual(0, status, output)
        lines = SCRIPT.splitlines()
        first = len(lines) + 1
        status, output = self.mypy('\n'.join(lines + MISTAKES) + '\n')
        self.assertEqual(1, status, output)
        flagged = set(int(line.split(':')[1]) for line in output.splitlines() if ': error:' in line)
        self.assertEqual(set(range(first, first + len(MISTAKES))), flagged, output)


if __name__ == '__main__':
    unittest.main()
