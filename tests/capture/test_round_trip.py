"""The key property of a capture: the module cannot tell it from the repository it was taken
from. Capturing the stand-in loaded with a fixture, then loading the capture, gives the same
traces and the same results for every method; capturing the capture gives the same file.

A few trace lines show pointers (a byte array's V_BYREF): addresses, masked before comparing.
Beyond them, the original runs twice and what differs between those two runs is left out of
the comparison. Random fixtures that give properties types the module does not
expect make it read a VARIANT's pointer as a number, which depends on the heap and not on the
data: for those the capture must reproduce itself exactly (it writes every type and value the
service delivers, so a capture that captures to itself delivers what the original did) and
the module must run on it.
"""
import io
import os
import random
import unittest

import capture_support as support
import mof_fixtures
import scenario
from source_tree import SAMPLE_ADAPTERS, sample_mof

FIRST_SEED = int(os.environ.get('FUZZ_SEED', '1700'))
FUZZ_SEEDS = range(FIRST_SEED, FIRST_SEED + 16)


POINTER_LINE = b' V_BYREF = '


def trace_lines(run):
    """stdout's lines with the byte arrays' addresses masked: two runs of one repository may or
    may not place an array at the same address (an allocator may repeat itself)."""
    return [line[:len(POINTER_LINE)] + b'<pointer>' if line.startswith(POINTER_LINE) else line
            for line in run.stdout.splitlines()]


def stable(first, second):
    """Indexes at which two runs of the same input agree; None when they do not line up."""
    if len(first) != len(second):
        return None
    return [index for index, (a, b) in enumerate(zip(first, second)) if a == b]


def compare(name, expected, again, replayed):
    """Problems where `replayed` differs from `expected` at a place where `again` (a second run
    of the original) agrees with it."""
    keep = stable(expected, again)
    if keep is None:
        return ['%s: two runs of the original differ in length' % name]
    if len(replayed) != len(expected):
        return ['%s: %d items vs %d' % (name, len(expected), len(replayed))]
    return ['%s differ at %d:\n  %r\n  %r' % (name, index, expected[index], replayed[index])
            for index in keep if expected[index] != replayed[index]][:3]


def round_trip(fixture_text, names, compare_module=True):
    """Problems found for one fixture, as a list of texts (empty when it round-trips)."""
    with support.Workdir() as work:
        original = work.file('original.mof', fixture_text)
        first = support.capture(['/o', work.file('first.mof')], repository=original)
        problems = []
        if first.returncode != 0 or first.error_text or first.stdout:
            return ['capture: exit %d, stderr %r' % (first.returncode, first.error_text)]
        if first.log[-1:] != [scenario.NO_LEAKS]:
            problems.append('capture leaked: %r' % first.log[-1:])
        second = support.capture([], repository=work.file('first.mof'))
        with io.open(work.file('first.mof'), encoding='utf-8') as f:
            first_text = f.read()
        if second.returncode != 0 or support.without_capture_time(second.text) != support.without_capture_time(first_text):
            problems.append('capturing the capture gave another file (exit %d)' % second.returncode)

        expected = support.replay(work.path, original, names)
        replayed = support.replay(work.path, work.file('first.mof'), names)
        if expected.reported('RESULTS ') is None or replayed.reported('RESULTS ') is None:
            return problems + ['the module failed: %s'
                               % (expected.error_text or replayed.error_text)[-500:]]
        if not compare_module:
            return problems
        again = support.replay(work.path, original, names)
        problems += compare('traces', trace_lines(expected), trace_lines(again),
                            trace_lines(replayed))
        problems += compare('results', expected.reported('RESULTS '), again.reported('RESULTS '),
                            replayed.reported('RESULTS '))
        return problems


class RoundTripTest(unittest.TestCase):
    def test_sample_repository(self):
        names = list(SAMPLE_ADAPTERS) + [u'no such adapter']
        self.assertEqual([], round_trip(sample_mof(), names))

    def check_random(self, odd_rate):
        def one(seed):
            fixture = mof_fixtures.repository(random.Random(seed), odd_rate=odd_rate)
            return ['seed %d: %s' % (seed, problem)
                    for problem in round_trip(fixture, mof_fixtures.NAMES, compare_module=odd_rate == 0)]

        problems = sum(scenario.parallel(one, FUZZ_SEEDS), [])
        self.assertEqual([], problems, '\n'.join(problems))

    def test_random_repositories_of_the_expected_types(self):
        self.check_random(odd_rate=0)

    def test_random_repositories_of_odd_types(self):
        self.check_random(odd_rate=0.15)


if __name__ == '__main__':
    unittest.main()
