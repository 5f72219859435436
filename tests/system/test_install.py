"""The ways users install the module: the source distribution installed with pip into a fresh
prefix (by the interpreter under test, when it has setuptools), and a wheel built from that
source distribution (by Debian's python3, which has the wheel tooling; from the Python 3 suite).
Each installed module is imported from another directory and reads a fixture."""
import glob
import json
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest

SOURCE = os.environ.get('QUILLET_SOURCE_DIR', os.path.join(os.path.dirname(__file__), '..', '..'))
DEBIAN_PYTHON3 = '/usr/bin/python3'
TIMERS = (b'class MPIO_TIMERS_COUNTERS { string InstanceName; uint32 PDORemovePeriod; };\n'
          b'instance of MPIO_TIMERS_COUNTERS { InstanceName = "T"; PDORemovePeriod = 17; };\n')
USE = ('import Quillet\n'
       'print(Quillet.__version__)\n'
       'print(Quillet.WMIFacade().GetPDORemovePeriod())\n')


def has_modules(python, *modules):
    if not os.path.exists(python):
        return False
    return subprocess.call([python, '-c', 'import ' + ', '.join(modules)],
                           stdout=open(os.devnull, 'w'), stderr=subprocess.STDOUT) == 0


def quiet(command, **kwargs):
    """Runs command; its output appears only when it fails."""
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **kwargs)
    output = process.communicate()[0]
    if process.returncode:
        raise AssertionError('%s failed (%d):\n%s' % (' '.join(command), process.returncode,
                                                      output.decode('utf-8', 'replace')[-3000:]))


# The extension setup.py declares, as build_ext receives it.
DECLARED = (
    'import json, runpy, setuptools, sys\n'
    'declared = {}\n'
    'setuptools.setup = lambda **arguments: declared.update(arguments)\n'
    'sys.argv = ["setup.py"]\n'
    'runpy.run_path("setup.py")\n'
    'extension = declared["ext_modules"][0]\n'
    'print(json.dumps([extension.depends, extension.define_macros,\n'
    '                  getattr(extension, "py_limited_api", False)]))\n')


class DeclarationTest(unittest.TestCase):
    def test_extension_rebuilds_for_a_changed_header_or_version(self):
        # setup.py rebuilds when a source or a declared dependency is newer than the module.
        if not has_modules(sys.executable, 'setuptools'):
            self.skipTest('%s has no setuptools' % sys.executable)
        output = subprocess.check_output([sys.executable, '-c', DECLARED], cwd=SOURCE)
        depends, macros, limited = json.loads(output.decode('utf-8').splitlines()[-1])
        headers = []
        for folder in ('facade', 'platform/include', 'platform/sim', 'platform/com',
                       'platform/wmi'):
            for directory, _, names in os.walk(os.path.join(SOURCE, folder)):
                headers += [os.path.relpath(os.path.join(directory, name), SOURCE)
                            for name in names if name.endswith('.h')]
        self.assertEqual([], sorted(set(headers + ['VERSION']) - set(depends)))
        # One module for every Python 3.8+: the limited API and its file name.
        self.assertEqual(sys.version_info >= (3, 8), limited)
        self.assertEqual(sys.version_info >= (3, 8), ['Py_LIMITED_API', '0x03080000'] in macros)


class InstallTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix='quillet-install-')
        with open(os.path.join(SOURCE, 'VERSION')) as f:
            self.version = f.read().strip()

    def tearDown(self):
        shutil.rmtree(self.workdir, ignore_errors=True)

    def make_sdist(self, python):
        quiet([python, 'setup.py', '-q', 'egg_info', '--egg-base', self.workdir,
               'sdist', '--dist-dir', self.workdir], cwd=SOURCE)
        tarball = os.path.join(self.workdir, 'Quillet-%s.tar.gz' % self.version)
        with tarfile.open(tarball) as archive:
            names = archive.getnames()
        root = 'Quillet-%s/' % self.version
        for needed in ('VERSION', 'pyproject.toml', 'Quillet.pyi', 'facade/python/py_compat.h',
                       'facade/module/facade_lifecycle.h', 'platform/include/wbemidl.h',
                       'platform/sim/sim.h'):
            self.assertIn(root + needed, names)
        self.assertEqual([], [name for name in names
                              if name.startswith((root + 'build', root + 'tests/'))])
        return tarball

    def assertUsable(self, python, site):
        """Imports the module installed in site from a directory of its own and reads a fixture."""
        run_dir = os.path.join(self.workdir, 'elsewhere')
        os.mkdir(run_dir)
        repository = os.path.join(run_dir, 'timers.mof')
        with open(repository, 'wb') as f:
            f.write(TIMERS)
        env = dict(os.environ, PYTHONPATH=site, WMISIM_REPOSITORY=repository)
        env.pop('WMISIM_FAULTS', None)
        output = subprocess.check_output([python, '-c', USE + 'print(Quillet.__file__)'],
                                         cwd=run_dir, env=env).decode('utf-8').splitlines()
        self.assertEqual([self.version, ' InstanceName : T', ' PDORemovePeriod : 17', '17'],
                         [line for line in output if not line.startswith(('Co', 'WMIFacade',
                                                                           '~WMIFacade'))][:4])
        self.assertTrue(output[-1].startswith(site), output[-1])
        # The type stubs: beside the module for editors, as a stub-only package for mypy.
        for stub in ('Quillet.pyi', os.path.join('Quillet-stubs', '__init__.pyi')):
            self.assertTrue(os.path.isfile(os.path.join(site, stub)), stub)

    def test_source_distribution_installs_with_pip(self):
        if not has_modules(sys.executable, 'setuptools', 'pip'):
            self.skipTest('%s has no setuptools: the CMake build serves it' % sys.executable)
        tarball = self.make_sdist(sys.executable)
        prefix = os.path.join(self.workdir, 'prefix')
        command = [sys.executable, '-m', 'pip', 'install', '-q', '--no-index',
                   '--no-build-isolation', '--prefix', prefix, tarball]
        if not has_modules(sys.executable, 'wheel'):
            command.insert(-1, '--no-use-pep517')  # pip then runs setup.py install itself
        quiet(command, cwd=self.workdir)
        site = os.path.join(prefix, 'lib', 'python%d.%d' % sys.version_info[:2], 'site-packages')
        self.assertUsable(sys.executable, site)

    def test_wheel_builds_from_the_source_distribution_and_installs(self):
        if sys.version_info[0] < 3:
            self.skipTest('the wheel is checked once, from the Python 3 suite')
        if not has_modules(DEBIAN_PYTHON3, 'setuptools', 'wheel', 'pip'):
            self.skipTest('%s lacks setuptools, wheel or pip' % DEBIAN_PYTHON3)
        tarball = self.make_sdist(DEBIAN_PYTHON3)
        wheels = os.path.join(self.workdir, 'wheels')
        quiet([DEBIAN_PYTHON3, '-m', 'pip', 'wheel', '-q', '--no-index', '--no-build-isolation',
               '--no-deps', '--wheel-dir', wheels, tarball], cwd=self.workdir)
        built = glob.glob(os.path.join(wheels,
                                       'Quillet-%s-cp38-abi3-linux_x86_64.whl' % self.version))
        self.assertEqual(1, len(built), os.listdir(wheels))
        target = os.path.join(self.workdir, 'target')
        quiet([DEBIAN_PYTHON3, '-m', 'pip', 'install', '-q', '--no-index', '--no-deps',
               '--target', target, built[0]], cwd=self.workdir)
        self.assertUsable(DEBIAN_PYTHON3, target)

    def test_debian_python3_installs_as_the_installing_page_says(self):
        # Debian's python3 refuses to install into its own site-packages (externally managed):
        # the page's commands make a virtual environment first; run here as written, in an
        # unpacked source distribution, with HOME a fresh folder.
        if sys.version_info[0] < 3:
            self.skipTest('checked once, from the Python 3 suite')
        if not has_modules(DEBIAN_PYTHON3, 'setuptools', 'wheel', 'pip', 'venv'):
            self.skipTest('%s lacks setuptools, wheel, pip or venv' % DEBIAN_PYTHON3)
        with tarfile.open(self.make_sdist(DEBIAN_PYTHON3)) as archive:
            # The 'data' filter where tarfile has it (3.12+ warn without a filter).
            extract = {'filter': 'data'} if hasattr(tarfile, 'data_filter') else {}
            archive.extractall(self.workdir, **extract)
        unpacked = os.path.join(self.workdir, 'Quillet-%s' % self.version)
        home = os.path.join(self.workdir, 'home')
        os.mkdir(home)
        quiet(['bash', '-euc', documented_commands(DEBIAN_BLOCK)], cwd=unpacked,
              env=dict(os.environ, HOME=home, PATH='/usr/bin:/bin'))
        site = glob.glob(os.path.join(home, 'quillet-env', 'lib', 'python3*', 'site-packages'))
        self.assertEqual(1, len(site), site)
        self.assertUsable(os.path.join(home, 'quillet-env', 'bin', 'python'), site[0])


# The code block of docs/installing.md for Debian's python3 starts with this comment line.
DEBIAN_BLOCK = "# Debian 12's python3"


def documented_commands(marker):
    """The commands of the fenced block of docs/installing.md whose first line is `marker`."""
    with open(os.path.join(SOURCE, 'docs', 'installing.md')) as f:
        lines = f.read().splitlines()
    start = lines.index(marker)
    end = lines.index('```', start)
    return '\n'.join(line for line in lines[start:end] if not line.startswith('#'))


if __name__ == '__main__':
    unittest.main()
