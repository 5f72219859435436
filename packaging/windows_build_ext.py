"""Building the extension on Windows: setup.py's compiler flags for the compiler in use.

distutils picks the compiler when build_ext runs (Microsoft C++ by default, MinGW-w64 with
--compiler=mingw32), so the flags are chosen there, not when the Extension is declared.
"""
import os
import struct
import sys

from setuptools.command.build_ext import build_ext
# After setuptools, which supplies distutils where the standard library no longer has it.
from distutils.errors import DistutilsPlatformError  # noqa: E402

VC9_MESSAGE = (
    "Python 2.7's own compiler, Visual C++ 9.0, cannot compile this C++17 code. Build with "
    "MinGW-w64 (setup.py build_ext --compiler=mingw32), or from a Visual Studio 2017 or later "
    "x64 Native Tools prompt with DISTUTILS_USE_SDK=1 and MSSdk=1 set, so that its cl.exe "
    "is used.")


def compiler_flags(compiler_type, python_version=None, pointer_size=None, environ=None):
    """(extra_compile_args, extra_link_args, define_macros) for one Windows compiler."""
    python_version = python_version or sys.version_info[:2]
    pointer_size = pointer_size or struct.calcsize('P')
    environ = os.environ if environ is None else environ
    python2 = python_version[0] == 2
    if compiler_type == 'msvc':
        # On 2.7 distutils finds Visual C++ 9.0 unless told to take cl.exe from the prompt.
        if python2 and not ('DISTUTILS_USE_SDK' in environ and 'MSSdk' in environ):
            raise DistutilsPlatformError(VC9_MESSAGE)
        # C5033: the 2.7 headers use "register".
        compile_args = ['/EHsc', '/std:c++17'] + (['/wd5033'] if python2 else [])
        return compile_args, [], []
    if compiler_type == 'mingw32':
        compile_args = ['-std=c++17']
        macros = []
        # The interpreter's pyconfig.h sets MS_WIN64 for Microsoft's compiler only: without it
        # Py_ssize_t is 32-bit here and the module does not match a 64-bit interpreter.
        if pointer_size == 8:
            macros.append(('MS_WIN64', None))
        if python2:
            # 2.7's pyconfig.h defines hypot as _hypot, which breaks <cmath>; naming _hypot
            # hypot makes that definition a no-op.
            macros.append(('_hypot', 'hypot'))
            compile_args.append('-Wno-register')
        # libstdc++, libgcc and winpthread linked in: no MinGW DLL needed at run time.
        return compile_args, ['-static'], macros
    raise DistutilsPlatformError(
        "no Windows flags for compiler %r: use Microsoft C++ (msvc) or MinGW-w64 "
        "(--compiler=mingw32)" % compiler_type)


def command_line_macros(macros, python_version=None):
    """The macros with their values made to survive the Windows command line.

    Python 2's distutils passes arguments to the compiler unescaped, and the program's
    command-line parser drops bare double quotes: a string literal such as the version's
    '"1.0"' would arrive as 1.0. Python 3's escapes them itself."""
    python_version = python_version or sys.version_info[:2]
    if python_version[0] != 2:
        return list(macros)
    return [(name, value.replace('"', '\\"') if value else value) for name, value in macros]


class WindowsBuildExt(build_ext):
    """build_ext that adds the flags of the compiler in use to every extension."""

    def build_extensions(self):
        compile_args, link_args, macros = compiler_flags(self.compiler.compiler_type)
        for extension in self.extensions:
            extension.extra_compile_args = compile_args + list(extension.extra_compile_args or [])
            extension.extra_link_args = link_args + list(extension.extra_link_args or [])
            extension.define_macros = command_line_macros(
                macros + list(extension.define_macros or []))
        # distutils' commands are old-style classes on Python 2.
        build_ext.build_extensions(self)
