"""QuilletCapture.exe against a real WMI service (Wine's): what it captures, replayed on the
Linux stand-in, reads the same through the module's WMIObject readers as the live service:
the same trace lines (VARIANT types included) and the same values.

Run by the Windows build's ctest under Wine; the Linux build (build/, scripts/build.sh) supplies
the stand-in side. Only properties that do not change while the test runs are read.
"""
import os
import re
import shutil
import subprocess
import tempfile
import unittest

LINUX_BUILD = os.environ.get('QUILLET_LINUX_BUILD_DIR', os.path.join('..', '..', 'build'))
LINUX_READER = os.path.join(LINUX_BUILD, 'bin', 'read_properties')
LAUNCHER = os.environ.get('WINE_LAUNCHER', '').split()

CIMV2 = 'ROOT\\CIMV2'
CLASSES = (
    (CIMV2, 'Win32_OperatingSystem', (
        'string:Caption', 'string:BuildNumber', 'string:Version', 'string:OSArchitecture',
        'string:SerialNumber', 'string:InstallDate', 'long:OSType', 'long:OSLanguage',
        'long:ProductType', 'long:SuiteMask', 'short:ServicePackMajorVersion', 'bool:Primary',
        'uint64:TotalVisibleMemorySize', 'short:CurrentTimeZone', 'long:OperatingSystemSKU',
        'short:ServicePackMinorVersion', 'string:NoSuchProperty')),
    (CIMV2, 'Win32_Processor', (
        'string:Manufacturer', 'string:Name', 'string:ProcessorId', 'short:Architecture',
        'short:AddressWidth', 'short:Family', 'short:Level', 'short:Revision',
        'short:CpuStatus', 'short:DataWidth', 'short:ProcessorType', 'long:NumberOfCores',
        'long:NumberOfLogicalProcessors', 'long:MaxClockSpeed')),
    (CIMV2, 'Win32_BIOS', (
        'string:Manufacturer', 'string:SMBIOSBIOSVersion', 'string:ReleaseDate',
        'string:CurrentLanguage', 'short:SMBIOSMajorVersion', 'short:SMBIOSMinorVersion',
        'byte:SystemBiosMajorVersion', 'byte:EmbeddedControllerMajorVersion')),
    ('ROOT\\WMI', 'MSSMBios_RawSMBiosTables', ('bytes:SMBiosData',)),
)


def text_of(output):
    """Output as compared: Windows line ends made Unix ones, pointers masked."""
    text = output.decode('utf-8').replace(u'\r\n', u'\n')
    return re.sub(u' V_BYREF = [0-9a-fA-Fx]+\n', u' V_BYREF = <pointer>\n', text)


def run(command, env=None):
    environment = dict(os.environ)
    environment.update(env or {})
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=environment)
    out, err = process.communicate()
    return process.returncode, out, err.decode('utf-8', 'replace')


class WineCaptureTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.workdir = tempfile.mkdtemp(prefix='quillet-wine-capture-')

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.workdir, ignore_errors=True)

    def capture(self, name_space, classes):
        path = os.path.join(self.workdir, '%s.mof' % name_space.replace('\\', '_'))
        status, out, err = run(LAUNCHER + [os.environ['CAPTURE_EXE'], '/n', name_space, '/o', path] + list(classes))
        if status == 1 and err.startswith('SKIPPED'):
            self.skipTest(err)
        self.assertEqual((0, u''), (status, err))
        return path

    def test_captures_replay_on_the_stand_in_as_wine_serves_them(self):
        if not os.path.exists(LINUX_READER):
            self.skipTest('no Linux build at %s (bash scripts/build.sh first)' % LINUX_BUILD)
        captures = {}
        for name_space in sorted(set(entry[0] for entry in CLASSES)):
            captures[name_space] = self.capture(name_space, [c for n, c, _ in CLASSES if n == name_space])
        for name_space, class_name, readers in CLASSES:
            wine_status, wine_out, wine_err = run(LAUNCHER + [os.environ['READER_EXE'], name_space, class_name]
                                                  + list(readers))
            stand_in_status, stand_in_out, stand_in_err = run(
                [LINUX_READER, name_space, class_name] + list(readers),
                env={'WMISIM_REPOSITORY': captures[name_space]})
            self.assertEqual((0, 0), (wine_status, stand_in_status), wine_err + stand_in_err)
            self.assertEqual(text_of(wine_out), text_of(stand_in_out), class_name)
            self.assertIn(u'== ', text_of(wine_out))

    def test_the_output_file_is_replaced_whole_and_nothing_beside_it_is_touched(self):
        folder = tempfile.mkdtemp(dir=self.workdir)
        target = os.path.join(folder, 'host.mof')
        planted = target + '.partial'
        for path in (target, planted):
            with open(path, 'wb') as f:
                f.write(b'// old\n')
        status, _, err = run(LAUNCHER + [os.environ['CAPTURE_EXE'], '/o', target, 'MSSMBios_RawSMBiosTables'])
        self.assertEqual((0, u''), (status, err))
        with open(target, 'rb') as f:
            self.assertTrue(f.read().startswith(b'// Captured by QuilletCapture'))
        with open(planted, 'rb') as f:
            self.assertEqual(b'// old\n', f.read())
        self.assertEqual(['host.mof', 'host.mof.partial'], sorted(os.listdir(folder)))


if __name__ == '__main__':
    unittest.main()
