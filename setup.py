"""Builds and installs the Quillet module for Python 2.7 or Python 3.

On Linux the module is linked with the stand-in platform (COM, OLE Automation and a simulated
WMI service fed from the MOF file named by WMISIM_REPOSITORY); on Windows with the system's COM
libraries.

    pip install --no-build-isolation .      (an interpreter with setuptools and wheel)
    python setup.py install                 (an interpreter with setuptools only)
"""
import glob
import io
import os
import sys
import sysconfig

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = os.path.dirname(os.path.abspath(__file__))


def read(name):
    with io.open(os.path.join(HERE, name), encoding='utf-8') as f:
        return f.read()


VERSION = read('VERSION').strip()


def sources(*sets):
    """The sources of the named sets, as every build reads them from cmake/sources/<set>.txt:
    one path or glob pattern a line, relative to this folder; '#' starts a comment line."""
    found = []
    for name in sets:
        for line in read(os.path.join('cmake', 'sources', name + '.txt')).splitlines():
            pattern = str(line.strip())  # 2.7's Extension takes byte strings only
            if pattern and not pattern.startswith('#'):
                found.extend(sorted(glob.glob(os.path.join(HERE, pattern))))
    return [os.path.relpath(path, HERE) for path in found]


facade_sources = sources('core', 'python', 'module')
macros = [('QUILLET_VERSION', '"%s"' % VERSION)]
# On Python 3.8 and later the module keeps to the limited API of 3.8, so that one build serves
# every later 3.x (Quillet.abi3.so; the wheel is tagged abi3 by bdist_wheel --py-limited-api=cp38).
limited_api = sys.version_info >= (3, 8)
if limited_api:
    macros.append(('Py_LIMITED_API', '0x03080000'))


def headers(*folders):
    found = []
    for folder in folders:
        found.extend(sorted(glob.glob(os.path.join(HERE, folder, '*.h'))))
    return [os.path.relpath(path, HERE) for path in found]


# What the sources are built from besides themselves: a changed header or VERSION (the version
# macro) rebuilds the module.
depends = headers(*glob.glob(os.path.join('facade', '*'))) + ['VERSION']

if sys.platform == 'win32':
    # The flags depend on the compiler build_ext picks (Microsoft C++ or MinGW-w64).
    sys.path.insert(0, os.path.join(HERE, 'packaging'))
    from windows_build_ext import WindowsBuildExt
    extension = Extension('Quillet', sources=facade_sources, language='c++',
                          include_dirs=['facade'], define_macros=macros,
                          py_limited_api=limited_api, depends=depends,
                          libraries=['ole32', 'oleaut32', 'wbemuuid', 'uuid'])
else:
    platform_sources = sources('utf8', 'standin')
    # The interpreter's headers as system headers: they are not ours to keep warning-free (2.7's
    # use `register`, which C++17 removed).
    extension = Extension('Quillet', sources=facade_sources + platform_sources, language='c++',
                          include_dirs=['platform/include', 'platform', 'common', 'facade'],
                          define_macros=macros, py_limited_api=limited_api,
                          depends=depends + headers('common/utf8', 'common/variant',
                                                    'platform/include', 'platform/sim',
                                                    'platform/com', 'platform/wmi'),
                          extra_compile_args=['-std=c++17', '-isystem',
                                              sysconfig.get_paths()['include']],
                          libraries=['pthread'])


class BuildExt(build_ext):
    """Drops the C-only flags the interpreter's own build options bring (-Wstrict-prototypes),
    which the C++ compiler would warn about for every file."""

    def build_extensions(self):
        compiler_so = getattr(self.compiler, 'compiler_so', None)
        if compiler_so:
            self.compiler.compiler_so = [flag for flag in compiler_so
                                         if flag != '-Wstrict-prototypes']
        build_ext.build_extensions(self)


def with_type_stubs(command):
    """build_ext that also puts Quillet.pyi into the build: beside the module, where editors look,
    and as the stub-only package Quillet-stubs, the one place mypy looks for an installed module
    (a lone .pyi in site-packages is not enough for it). Install and wheels take the build whole."""

    class BuildExtWithStubs(command):
        def stub_targets(self):
            # In place the module lands beside the tree's own Quillet.pyi.
            if self.inplace:
                return []
            return [os.path.join(self.build_lib, 'Quillet.pyi'),
                    os.path.join(self.build_lib, 'Quillet-stubs', '__init__.pyi')]

        def run(self):
            command.run(self)
            for target in self.stub_targets():
                self.mkpath(os.path.dirname(target))
                self.copy_file(os.path.join(HERE, 'Quillet.pyi'), target)

        def get_outputs(self):
            # Listed, an install records them and an uninstall removes them.
            return command.get_outputs(self) + self.stub_targets()

    return BuildExtWithStubs


setup(name='Quillet',
      version=VERSION,
      description='WMI through COM high level wrapper: iSCSI initiator and MPIO timer access',
      long_description=read('README.md'),
      long_description_content_type='text/markdown',
      author='Quillet developers',
      license='Proprietary',
      platforms=['Windows', 'POSIX'],
      classifiers=[
          'Development Status :: 5 - Production/Stable',
          'Intended Audience :: System Administrators',
          'License :: Other/Proprietary License',
          'Operating System :: Microsoft :: Windows',
          'Operating System :: POSIX :: Linux',
          'Programming Language :: C++',
          'Programming Language :: Python :: 2',
          'Programming Language :: Python :: 2.7',
          'Programming Language :: Python :: 3',
          'Topic :: System :: Hardware',
          'Topic :: System :: Systems Administration',
      ],
      python_requires='>=2.7, !=3.0.*, !=3.1.*, !=3.2.*, !=3.3.*, !=3.4.*, !=3.5.*',
      ext_modules=[extension],
      cmdclass={'build_ext': with_type_stubs(WindowsBuildExt if sys.platform == 'win32'
                                             else BuildExt)},
      # A wheel of the limited-API module says so in its tag, whoever builds it (pip wheel too).
      options={'bdist_wheel': {'py_limited_api': 'cp38'}} if limited_api else {},
      zip_safe=False)
