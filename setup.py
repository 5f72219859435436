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


def sources(*patterns):
    found = []
    for pattern in patterns:
        found.extend(sorted(glob.glob(os.path.join(HERE, pattern))))
    return [os.path.relpath(path, HERE) for path in found]


facade_sources = sources('facade/module/*.cpp', 'facade/engine/*.cpp', 'facade/wmiobject/*.cpp',
                         'facade/records/*.cpp', 'facade/python/*.cpp', 'facade/trace/*.cpp',
                         'facade/com/*.cpp')
macros = [('QUILLET_VERSION', '"%s"' % VERSION)]
# On Python 3.8 and later the module keeps to the limited API of 3.8, so that one build serves
# every later 3.x (Quillet.abi3.so; the wheel is tagged abi3 by bdist_wheel --py-limited-api=cp38).
limited_api = sys.version_info >= (3, 8)
if limited_api:
    macros.append(('Py_LIMITED_API', '0x03080000'))
# What the sources are built from besides themselves: a changed header or VERSION (the version
# macro) rebuilds the module.
depends = sources('facade/*/*.h') + ['VERSION']

if sys.platform == 'win32':
    # The flags depend on the compiler build_ext picks (Microsoft C++ or MinGW-w64).
    sys.path.insert(0, os.path.join(HERE, 'packaging'))
    from windows_build_ext import WindowsBuildExt
    extension = Extension('Quillet', sources=facade_sources, language='c++',
                          include_dirs=['facade'], define_macros=macros,
                          py_limited_api=limited_api, depends=depends,
                          libraries=['ole32', 'oleaut32', 'wbemuuid', 'uuid'])
else:
    platform_sources = sources('platform/sim/*.cpp', 'platform/com/*.cpp', 'platform/wmi/*.cpp')
    # The interpreter's headers as system headers: they are not ours to keep warning-free (2.7's
    # use `register`, which C++17 removed).
    extension = Extension('Quillet', sources=facade_sources + platform_sources, language='c++',
                          include_dirs=['platform/include', 'platform', 'facade'],
                          define_macros=macros, py_limited_api=limited_api,
                          depends=depends + sources('platform/include/*.h', 'platform/sim/*.h',
                                                    'platform/com/*.h', 'platform/wmi/*.h'),
                          extra_compile_args=['-std=c++17', '-isystem',
                                              sysconfig.get_paths()['include']],
                          libraries=['pthread'])


def with_type_stubs(command):
    """The build_ext command that also puts the module's type stubs (Quillet.pyi, when the tree
    has them) beside the built module, so that every wheel and install carries them."""

    class BuildExtWithStubs(command):
        def run(self):
            command.run(self)
            stubs = os.path.join(HERE, 'Quillet.pyi')
            if os.path.exists(stubs) and not self.inplace:
                self.copy_file(stubs, os.path.join(self.build_lib, 'Quillet.pyi'))

    return BuildExtWithStubs


class BuildExt(build_ext):
    """Drops the C-only flags the interpreter's own build options bring (-Wstrict-prototypes),
    which the C++ compiler would warn about for every file."""

    def build_extensions(self):
        compiler_so = getattr(self.compiler, 'compiler_so', None)
        if compiler_so:
            self.compiler.compiler_so = [flag for flag in compiler_so
                                         if flag != '-Wstrict-prototypes']
        build_ext.build_extensions(self)


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
      zip_safe=False)
