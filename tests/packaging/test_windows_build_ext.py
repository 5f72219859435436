"""setup.py's Windows flags, per compiler, Python version and pointer size (runs on any host)."""
from __future__ import print_function

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'packaging'))

from setuptools import Distribution, Extension  # noqa: E402
from distutils.errors import DistutilsPlatformError  # noqa: E402

import windows_build_ext  # noqa: E402
from windows_build_ext import WindowsBuildExt, command_line_macros, compiler_flags  # noqa: E402

VS_PROMPT = {'DISTUTILS_USE_SDK': '1', 'MSSdk': '1'}


class CompilerFlagsTest(unittest.TestCase):
    def test_microsoft_cpp(self):
        self.assertEqual((['/EHsc', '/std:c++17'], [], []),
                         compiler_flags('msvc', (3, 11), 8, environ={}))
        # 2.7 through a Visual Studio prompt; C5033 is the headers' "register".
        self.assertEqual((['/EHsc', '/std:c++17', '/wd5033'], [], []),
                         compiler_flags('msvc', (2, 7), 8, environ=VS_PROMPT))

    def test_python27_refuses_visual_cpp_9(self):
        for environ in ({}, {'DISTUTILS_USE_SDK': '1'}):
            with self.assertRaises(DistutilsPlatformError) as raised:
                compiler_flags('msvc', (2, 7), 8, environ=environ)
            self.assertIn('Visual C++ 9.0', str(raised.exception))
            self.assertIn('--compiler=mingw32', str(raised.exception))

    def test_mingw(self):
        compile_args, link_args, macros = compiler_flags('mingw32', (2, 7), 8)
        self.assertEqual(['-std=c++17', '-Wno-register'], compile_args)
        self.assertEqual(['-static'], link_args)
        self.assertEqual([('MS_WIN64', None), ('_hypot', 'hypot')], macros)

        # Python 3's headers leave hypot alone; a 32-bit interpreter has no MS_WIN64.
        self.assertEqual((['-std=c++17'], ['-static'], [('MS_WIN64', None)]),
                         compiler_flags('mingw32', (3, 11), 8))
        self.assertEqual((['-std=c++17'], ['-static'], []), compiler_flags('mingw32', (3, 11), 4))

    def test_other_compilers_are_refused(self):
        for compiler in ('cygwin', 'bcpp', 'unix'):
            with self.assertRaises(DistutilsPlatformError) as raised:
                compiler_flags(compiler, (3, 11), 8)
            self.assertIn(repr(compiler), str(raised.exception))


class CommandLineMacrosTest(unittest.TestCase):
    def test_string_literals_keep_their_quotes_on_python2(self):
        macros = [('QUILLET_VERSION', '"1.0"'), ('MS_WIN64', None), ('_hypot', 'hypot')]
        escaped = [('QUILLET_VERSION', '\\"1.0\\"'), ('MS_WIN64', None), ('_hypot', 'hypot')]
        self.assertEqual(escaped, command_line_macros(macros, (2, 7)))
        self.assertEqual(macros, command_line_macros(macros, (3, 12)))


class FakeCompiler(object):
    compiler_type = 'mingw32'


class WindowsBuildExtTest(unittest.TestCase):
    def test_flags_join_each_extension_s_own(self):
        extension = Extension('Quillet', sources=['module.cpp'], extra_compile_args=['-O2'],
                              define_macros=[('QUILLET_VERSION', '"1.0"')], libraries=['ole32'])
        command = WindowsBuildExt(Distribution({'ext_modules': [extension]}))
        command.extensions = [extension]
        command.compiler = FakeCompiler()
        built = []
        base = windows_build_ext.build_ext.build_extensions
        windows_build_ext.build_ext.build_extensions = lambda self: built.append(list(self.extensions))
        try:
            command.build_extensions()
        finally:
            windows_build_ext.build_ext.build_extensions = base
        expected_compile, expected_link, expected_macros = compiler_flags('mingw32')
        self.assertEqual([[extension]], built)
        self.assertEqual(expected_compile + ['-O2'], extension.extra_compile_args)
        self.assertEqual(expected_link, extension.extra_link_args)
        self.assertEqual(command_line_macros(expected_macros + [('QUILLET_VERSION', '"1.0"')]),
                         extension.define_macros)
        self.assertEqual(['ole32'], extension.libraries)


if __name__ == '__main__':
    unittest.main()
