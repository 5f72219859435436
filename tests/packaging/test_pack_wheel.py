"""Wheels of prebuilt modules: the sdist's metadata, the tag, the stubs beside the module."""
import io
import os
import shutil
import sys
import tarfile
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'packaging'))

from pack_wheel import pack  # noqa: E402

PKG_INFO = (u'Metadata-Version: 2.1\nName: Quillet\nVersion: 9.8.7\nSummary: WMI wrapper\n'
            u'Description-Content-Type: text/markdown\n\n# Quillet\n\nText with a caf\u00e9.\n')


class PackWheelTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.work)
        self.sdist = self.path('Quillet-9.8.7.tar.gz')
        with tarfile.open(self.sdist, 'w:gz') as archive:
            for name, text in (('Quillet-9.8.7/PKG-INFO', PKG_INFO),
                               ('Quillet-9.8.7/Quillet.egg-info/PKG-INFO', u'Name: Other\n')):
                data = text.encode('utf-8')
                member = tarfile.TarInfo(name)
                member.size = len(data)
                archive.addfile(member, io.BytesIO(data))
        self.module = self.path('Quillet.pyd')
        with open(self.module, 'wb') as f:
            f.write(b'MZ module')

    def path(self, name):
        return os.path.join(self.work, name)

    def wheel(self, tag, stubs):
        pack(self.module, tag, self.sdist, self.path('dist'), stubs=stubs)
        names = os.listdir(self.path('dist'))
        self.assertEqual(['Quillet-9.8.7-%s.whl' % tag], names)
        return zipfile.ZipFile(self.path(os.path.join('dist', names[0])))

    def test_metadata_is_the_sdist_s_and_the_tag_names_the_wheel(self):
        with self.wheel('cp38-abi3-win32', stubs=self.path('absent.pyi')) as wheel:
            self.assertEqual(PKG_INFO.encode('utf-8'),
                             wheel.read('Quillet-9.8.7.dist-info/METADATA'))
            self.assertIn(b'Tag: cp38-abi3-win32\n', wheel.read('Quillet-9.8.7.dist-info/WHEEL'))
            self.assertIn(b'Root-Is-Purelib: false', wheel.read('Quillet-9.8.7.dist-info/WHEEL'))
            self.assertEqual(b'MZ module', wheel.read('Quillet.pyd'))
            self.assertEqual(['Quillet-9.8.7.dist-info/METADATA', 'Quillet-9.8.7.dist-info/RECORD',
                              'Quillet-9.8.7.dist-info/WHEEL', 'Quillet.pyd'],
                             sorted(wheel.namelist()))

    def test_stubs_go_beside_the_module_and_as_the_stub_package(self):
        stubs = self.path('Quillet.pyi')
        with open(stubs, 'w') as f:
            f.write('class WMIFacade: ...\n')
        with self.wheel('cp27-cp27m-win_amd64', stubs=stubs) as wheel:
            self.assertEqual(b'class WMIFacade: ...\n', wheel.read('Quillet.pyi'))
            self.assertEqual(b'class WMIFacade: ...\n', wheel.read('Quillet-stubs/__init__.pyi'))


if __name__ == '__main__':
    unittest.main()
