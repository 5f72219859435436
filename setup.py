"""Builds and installs the Quillet module for Python 2.7.

On Linux the module is linked with the stand-in platform (COM, OLE Automation and a simulated
WMI service fed from the MOF file named by WMISIM_REPOSITORY); on Windows with the system's COM
libraries.

    python2.7 setup.py install        (or: pip install .)
"""
import glob
import os
import sys

from setuptools import Extension, setup

HERE = os.path.dirname(os.path.abspath(__file__))


def sources(*patterns):
    found = []
    for pattern in patterns:
        found.extend(sorted(glob.glob(os.path.join(HERE, pattern))))
    return [os.path.relpath(path, HERE) for path in found]


facade_sources = sources('facade/module/*.cpp', 'facade/engine/*.cpp', 'facade/wmiobject/*.cpp',
                         'facade/records/*.cpp', 'facade/trace/*.cpp', 'facade/com/*.cpp')

cmdclass = {}
if sys.platform == 'win32':
    # The flags depend on the compiler build_ext picks (Microsoft C++ or MinGW-w64).
    sys.path.insert(0, HERE)
    from setup_windows import WindowsBuildExt
    cmdclass['build_ext'] = WindowsBuildExt
    extension = Extension('Quillet', sources=facade_sources, language='c++',
                          include_dirs=['facade'],
                          libraries=['ole32', 'oleaut32', 'wbemuuid', 'uuid'])
else:
    platform_sources = sources('platform/sim/*.cpp', 'platform/com/*.cpp', 'platform/wmi/*.cpp')
    extension = Extension('Quillet', sources=facade_sources + platform_sources, language='c++',
                          include_dirs=['platform/include', 'platform', 'facade'],
                          extra_compile_args=['-std=c++17'],
                          libraries=['pthread'])

setup(name='Quillet',
      version='1.0',
      description='WMI through COM high level wrapper: iSCSI initiator and MPIO timer access',
      ext_modules=[extension],
      cmdclass=cmdclass,
      zip_safe=False)
