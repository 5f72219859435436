"""Bounded fuzzing of the module: random calls with random arguments over random repositories.
Only argument and memory errors may escape, every answer keeps its documented shape, nothing
leaks. FUZZ_SEED picks other repositories and calls (CI keeps the fixed one)."""
import os
import random
import sys
import unittest

import harness
import mof_fixtures
import scenario

SEED = int(os.environ.get('FUZZ_SEED', '20261208'))
REPOSITORIES = 40
CALLS_PER_REPOSITORY = 100


def fuzz(seed):
    mof = mof_fixtures.repository(random.Random(seed))
    result = harness.run_child('fuzz_child.py', (str(seed), str(CALLS_PER_REPOSITORY)), mof=mof)
    return seed, mof, result


class ModuleFuzz(unittest.TestCase):
    def test_random_calls_over_random_repositories(self):
        seeds = [SEED * 1000 + n for n in range(REPOSITORIES)]
        problems = []
        seen = {}
        for seed, mof, result in scenario.parallel(fuzz, seeds):
            report = harness.outcome_of(result)
            where = 'seed %d' % seed
            if result.returncode != 0 or report is None:
                problems.append('%s: exit %s, stderr %r' % (where, result.returncode,
                                                            result.stderr[-600:]))
                continue
            if not [line for line in result.log if line.startswith('ConnectServer ') and
                    line.endswith('= 0x00000000')]:
                problems.append('%s: the generated repository did not load: %r'
                                % (where, result.stderr[-300:]))
            problems += ['%s: %s' % (where, p) for p in report['problems']]
            if result.leaks != scenario.NO_LEAKS:
                problems.append('%s: %r' % (where, result.leaks))
            for key, count in report['seen'].items():
                seen[key] = seen.get(key, 0) + count
        sys.stderr.write('module fuzz: %d calls, %r\n' % (sum(seen.values()), seen))
        self.assertEqual([], problems)
        # The fuzzer reached the conversions, not only the argument parser.
        self.assertGreater(seen.get('answered', 0), REPOSITORIES * CALLS_PER_REPOSITORY / 10)


if __name__ == '__main__':
    unittest.main()
