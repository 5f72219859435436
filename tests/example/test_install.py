"""setup.py installs the module so that `import Quillet` works from any directory."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE = os.environ.get('QUILLET_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..', '..'))


class InstallTest(unittest.TestCase):
    def test_installs_into_a_fresh_prefix_and_imports(self):
        workdir = tempfile.mkdtemp(prefix='quillet-install-')
        try:
            prefix = os.path.join(workdir, 'prefix')
            subprocess.check_call(
                [sys.executable, 'setup.py', '-q',
                 'egg_info', '--egg-base', workdir,
                 'build', '--build-base', os.path.join(workdir, 'build'),
                 'install', '--prefix', prefix, '--single-version-externally-managed',
                 '--record', os.path.join(workdir, 'installed.txt')],
                cwd=SOURCE, stdout=open(os.devnull, 'w'))
            site = os.path.join(prefix, 'lib', 'python2.7', 'site-packages')
            env = dict(os.environ, PYTHONPATH=site)
            output = subprocess.check_output(
                [sys.executable, '-c',
                 'import Quillet; print Quillet.__doc__; print Quillet.WMIFacade().printSomething()'],
                cwd=workdir, env=env)
            lines = output.decode('utf-8').splitlines()
            self.assertEqual('WMI through COM high level wrapper', lines[0])
            self.assertIn('Hola World!!!', lines)
            self.assertTrue(os.path.dirname(
                subprocess.check_output([sys.executable, '-c', 'import Quillet; print Quillet.__file__'],
                                        cwd=workdir, env=env).strip()).startswith(site))
        finally:
            shutil.rmtree(workdir, ignore_errors=True)


if __name__ == '__main__':
    unittest.main()
