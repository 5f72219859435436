"""Fixtures and assertions of the record-method tests; each call runs in its own process
(scenario.call)."""
import os
import re

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


def call(method, name=NAME, mof=ADAPTER, faults=None, argument=None, after=''):
    """Calls facade.<method>(name) once; `argument` (source text) replaces the repr of name."""
    return scenario.call(method, repr(name) if argument is None else argument, mof, faults, after)


class RecordTestCase(scenario.ScenarioTestCase):
    def assertTrace(self, expected, actual):
        """Line by line; an expected item is a text or a compiled pattern."""
        shown = [item if isinstance(item, string_types) else '/%s/' % item.pattern
                 for item in expected]
        matches = len(actual) == len(expected) and all(
            line == item if isinstance(item, string_types) else item.match(line)
            for line, item in zip(actual, expected))
        if not matches:
            self.assertEqual(shown, actual)

    def assertOwnedOnce(self, method, key):
        """The result of one call and its value under key are each held by one reference, the
        script's own (getrefcount adds its argument's)."""
        result = call(method, after='print(sys.getrefcount(result), sys.getrefcount(result[%r]))'
                      % key)
        self.assertClean(result)
        self.assertEqual('2 2', result.after[0])

    def assertExactly(self, expected, actual):
        """Equal, and of the same Python type at every level (on Python 2, int is not long)."""
        self.assertEqual(expected, actual)
        self.assertEqual(_types(expected), _types(actual))


def _types(value):
    if isinstance(value, dict):
        return dict((key, _types(item)) for key, item in value.items())
    if isinstance(value, tuple):
        return tuple(_types(item) for item in value)
    return type(value)


def byte_array_lines(type_code='2011'):
    return [' type = ' + type_code, ' V_ISARRAY = ' + ('2000' if type_code != '1' else '0'),
            POINTER]
