"""Trace lines leave whole: from many threads at once, around writes that standard output
refuses or that signals interrupt, and however long. Each scenario compares its lines with the
lines of single reference calls made in the same process (after the same number base switch)."""
from __future__ import print_function

import collections
import re
import sys
import unittest

import harness
ARGUMENT = harness.ADAPTER_0_WQL if sys.version_info[0] >= 3 else harness.ADAPTER_0_WQL.encode('utf-8')
# The one line whose text changes from call to call: the address of a byte array.
POINTER = re.compile(r'^ V_BYREF = 0x[0-9a-f]+$')


def run_child(mode, slow_reader=False):
    """(phases, outcome): the stdout lines of each phase, and the child's OUTCOME dict."""
    # No call log: a line per platform call would outweigh the traces being checked. Python
    # buffers the child's own writes as it does by default (an empty PYTHONUNBUFFERED is unset).
    # A slow reader lets the pipe fill up and the child's writes block, so that signals
    # interrupt them.
    result = harness.run_child('trace_lines_child.py', (mode, ARGUMENT), log=False,
                               slow_reader=slow_reader, env={'PYTHONUNBUFFERED': ''})
    outcome = harness.outcome_of(result)
    if result.returncode != 0 or outcome is None:
        raise AssertionError('%s: exit %s: %s' % (mode, result.returncode,
                                                  result.error_text[-800:]))
    phases = collections.OrderedDict()
    lines = None
    for line in result.lines:
        if line.startswith('PHASE '):
            lines = phases.setdefault(line[len('PHASE '):], [])
        elif lines is not None:
            lines.append(POINTER.sub(' V_BYREF = <pointer>', line))
    return phases, outcome


def references(phases):
    """Method -> the lines of its reference call."""
    return dict((name[len('reference '):], lines) for name, lines in phases.items()
                if name.startswith('reference '))


def all_reference_lines(phases):
    return [line for name, lines in phases.items() if name.startswith('reference ')
            for line in lines]


class TraceLines(unittest.TestCase):
    def assertSameLines(self, expected, seen, what):
        """Equal as multisets; on failure names the lines that are no known line at all."""
        expected, seen = collections.Counter(expected), collections.Counter(seen)
        if seen != expected:
            unknown = sorted(line for line in seen if line not in expected)
            self.fail('%s: %d lines, %d expected; lines of no known form (%d): %r' % (
                what, sum(seen.values()), sum(expected.values()), len(unknown),
                [line[:120] for line in unknown[:10]]))

    def test_threads_on_own_and_shared_objects_write_whole_lines(self):
        phases, outcome = run_child('threads')
        reference = references(phases)
        expected = []
        for method, calls in outcome['calls'].items():
            self.assertTrue(reference[method], method)
            expected.extend(reference[method] * calls)
        self.assertSameLines(expected, phases['threads'], 'threads')

    def test_refused_writes_lose_only_their_lines(self):
        phases, outcome = run_child('refused')
        one_round = all_reference_lines(phases)
        for way in ('EPIPE', 'ENOSPC', 'EBADF'):
            self.assertEqual([], phases['refused ' + way], way)
            # Every later line arrives, and the script's own write after them works.
            self.assertEqual(one_round + ['own write after ' + way], phases['after ' + way], way)
        self.assertEqual([], outcome['failed_own_writes'])

    def test_signals_interrupting_blocked_writes_cut_no_line(self):
        phases, outcome = run_child('signals', slow_reader=True)
        self.assertGreater(outcome['signals'], 0)
        self.assertSameLines(all_reference_lines(phases) * outcome['calls'], phases['signals'],
                             'signals')

    def test_name_of_a_hundred_million_characters_is_written_whole(self):
        phases, outcome = run_child('long')
        if outcome['error'] == 'MemoryError':
            return  # the other answer allowed: no memory, said so
        self.assertEqual(None, outcome['error'])
        long_lines = [line for line in phases['long'] if len(line) > 1000]
        self.assertEqual(1, len(long_lines))
        self.assertEqual('hbsInstName = ' + 'n' * 100000000, long_lines[0])


if __name__ == '__main__':
    unittest.main()
