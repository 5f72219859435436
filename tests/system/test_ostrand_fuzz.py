"""Random argument vectors for the setup command: each run either prints the usage text with
exit status -1 and calls nothing, or makes exactly one library call with the exact arguments
and exits with its result. The expectation is worked out here, independently of the program."""
import os
import random
import sys
import unittest

import ostrand_cases
import ostrand_runner
import scenario

SEED = int(os.environ.get('FUZZ_SEED', '20261208'))
RUNS = 300

ENTRY_POINTS = {'/i': 'CallInstallMPIO 0 null ', '/u': 'CallUninstallMPIO 0 1 ',
                '/c': 'CallCanUninstallMPIO 0 1 '}
SWITCHES = ('/i', '/u', '/c', '/I', '/U', '/C', '-i', 'i', '/i ', ' /u', '/iu', '/install',
            '/', '', '/x', '//c', '/\xc3\xa9', '/c\t')
RESULTS = (0, 1, -1, 3010, 2 ** 31 - 1, -2 ** 31, 256)
_BYTES = [chr(b) for b in range(1, 256)]  # anything but NUL, which argv cannot carry


def random_word(rng):
    roll = rng.random()
    if roll < 0.4:
        return rng.choice(SWITCHES)
    if roll < 0.5:
        return ''
    length = rng.choice((1, 2, 10, 100, 4000))
    if rng.random() < 0.5:
        return ''.join(rng.choice(' C:\\Program Files"\'*?$;&|') for _ in range(length))
    return ''.join(rng.choice(_BYTES) for _ in range(length))


def random_vector(rng):
    count = rng.choice((0, 1, 2, 2, 2, 2, 3, 4))
    words = [random_word(rng) for _ in range(count)]
    if count == 2 and rng.random() < 0.5:
        words[0] = rng.choice(('/i', '/u', '/c'))  # many valid switches, random directories
    return words


def expected(words, result):
    """(exit status, stdout, library log) the command must produce."""
    if len(words) == 2 and words[0] in ENTRY_POINTS and words[1] != '':
        return result & 0xFF, '', ENTRY_POINTS[words[0]] + words[1] + '\n'
    return 255, ostrand_cases.USAGE, None


def one_run(item):
    words, result = item
    return words, result, ostrand_runner.run(words, result=result)


@unittest.skipIf(ostrand_runner.launcher(), 'one emulator start per run would be too slow')
class SetupCommandFuzz(unittest.TestCase):
    def test_random_argument_vectors(self):
        rng = random.Random(SEED)
        items = [(random_vector(rng), rng.choice(RESULTS)) for _ in range(RUNS)]
        problems = []
        calls = 0
        for words, result, run in scenario.parallel(one_run, items):
            status, stdout, log = expected(words, result)
            calls += log is not None
            actual = (run.status, run.stdout, run.stderr, run.log)
            if actual != (status, stdout, '', log):
                problems.append('%r with result %d: got %r' % ([w[:60] for w in words], result,
                                                               (actual[0], actual[1][:80],
                                                                actual[2][:200], actual[3])))
        sys.stderr.write('setup fuzz: %d runs, %d library calls\n' % (RUNS, calls))
        self.assertEqual([], problems)
        self.assertGreater(calls, RUNS / 10)


if __name__ == '__main__':
    unittest.main()
