"""Shared scenario plumbing of the record-method tests: fixtures, one call per process, and the
trace lines that one call writes."""
import os
import re
import unittest

import scenario
from pycompat import string_types

HERE = os.path.dirname(os.path.abspath(__file__))


def fixture(name):
    with open(os.path.join(HERE, 'fixtures', name), 'rb') as f:
        return f.read().decode('utf-8')


CLASSES = fixture('classes.mof')
ADAPTER = CLASSES + fixture('adapter.mof')
# The adapter's InstanceName, and the same name as a caller passes it: WQL text, in which a
# backslash is written twice (the engine inserts the name unescaped).
INSTANCE = u'ROOT\\ISCSIPRT\\0000_0'
NAME = INSTANCE.replace(u'\\', u'\\\\')

# The pointer that getByteArray traces differs from run to run.
POINTER = re.compile(r'^ V_BYREF = (0x[0-9a-f]+|0)$')

CONNECT = [
    'CoInitializeEx returned S_OK || RPC_E_CHANGED_MODE hres = 0x0',
    'Connected to ROOT\\CIMV2 WMI namespace',
]

_CALL = u'''
import sys
import Quillet
facade = Quillet.WMIFacade()
sys.stdout.write('<<<\\n')
try:
    result = facade.%(method)s(%(argument)s)
except Exception as error:
    sys.stdout.write('!!! %%s: %%s\\n' %% (type(error).__name__, error))
else:
    sys.stdout.write('>>> %%r\\n' %% (result,))
%(after)s
del facade
'''


class Call(object):
    """One method call in its own process: `trace` holds the lines it wrote, `value` what it
    returned (None when it raised), `error` the exception line, `run` the raw scenario."""

    def __init__(self, run):
        self.run = run
        lines = run.lines
        start = lines.index('<<<')
        end = next(i for i in range(start, len(lines)) if lines[i][:4] in ('>>> ', '!!! '))
        self.trace = lines[start + 1:end]
        self.after = lines[end + 1:]
        self.value = eval(lines[end][4:]) if lines[end].startswith('>>> ') else None
        self.error = lines[end][4:] if lines[end].startswith('!!! ') else None


def call(method, name=NAME, mof=ADAPTER, faults=None, argument=None, after=''):
    """Calls facade.<method>(name) once; `argument` replaces the repr of name."""
    code = _CALL % {'method': method, 'argument': repr(name) if argument is None else argument, 'after': after}
    return Call(scenario.run(code, mof=mof, faults=faults))


class RecordTestCase(unittest.TestCase):
    maxDiff = None

    def assertTrace(self, actual, expected):
        """Line by line; an expected item is a text or a compiled pattern."""
        shown = [item if isinstance(item, string_types) else '/%s/' % item.pattern
                 for item in expected]
        matches = len(actual) == len(expected) and all(
            line == item if isinstance(item, string_types) else item.match(line)
            for line, item in zip(actual, expected))
        if not matches:
            self.assertEqual(actual, shown)

    def assertClean(self, result):
        self.assertEqual(result.run.returncode, 0, result.run.stderr)
        self.assertEqual(result.run.leaks, scenario.NO_LEAKS)

    def assertExactly(self, value, expected):
        """Equal, and of the same Python type at every level (on Python 2, int is not long)."""
        self.assertEqual(value, expected)
        self.assertEqual(_types(value), _types(expected))


def _types(value):
    if isinstance(value, dict):
        return dict((key, _types(item)) for key, item in value.items())
    if isinstance(value, tuple):
        return tuple(_types(item) for item in value)
    return type(value)


def byte_array_lines(type_code='2011'):
    return [' type = ' + type_code, ' V_ISARRAY = ' + ('2000' if type_code != '1' else '0'),
            POINTER]
