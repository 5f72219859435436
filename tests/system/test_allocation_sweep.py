"""One heap allocation of a call failing, at every position in turn: each record and timer method
runs on a fresh object in a fresh process whose N-th allocation during the call fails (the
preloaded allocation_shim), for N from 1 to the call's allocation count. The process must not
abort or die by a signal; the call answers in full, with the documented failure answer, with a
record whose failed read kept its default, or raises MemoryError; the leak line is clean; and
the same call on a fresh object in that process answers in full.

The allocations are counted by a clean run first. By default a sample of the positions runs
(see positions()) to keep the test command quick; QUILLET_ALLOCATION_SWEEP=full runs all of
them (about 3,600 processes, some six minutes on two cores). The shim cannot work under the
sanitizer runtime, which replaces the allocator ahead of it: the test is skipped there.
"""
from __future__ import print_function

import collections
import os
import sys
import unittest

import harness
import scenario
from test_fault_sweep import METHODS

SHIM = os.environ.get('ALLOCATION_SHIM', '')
FULL_SWEEP = os.environ.get('QUILLET_ALLOCATION_SWEEP') == 'full'
# The sample, per method: the first and the last allocations (the process's first platform
# calls, the last trace and log lines) and some spread evenly over the rest.
SAMPLE_HEAD, SAMPLE_SPREAD, SAMPLE_TAIL = 12, 36, 12


def run(method, args, position):
    environment = {'ALLOCATION_SHIM': SHIM,
                   'LD_PRELOAD': ' '.join(filter(None, [os.environ.get('LD_PRELOAD'), SHIM]))}
    return harness.run_child('allocation_child.py', (method, repr(args), str(position)),
                             env=environment)


def positions(count):
    if FULL_SWEEP or count <= SAMPLE_HEAD + SAMPLE_SPREAD + SAMPLE_TAIL:
        return list(range(1, count + 1))
    step = float(count - SAMPLE_HEAD - SAMPLE_TAIL) / SAMPLE_SPREAD
    spread = {SAMPLE_HEAD + 1 + int(i * step) for i in range(SAMPLE_SPREAD)}
    return sorted(set(range(1, SAMPLE_HEAD + 1)) | spread |
                  set(range(count - SAMPLE_TAIL + 1, count + 1)))


def kind_of(outcome, answer):
    """How the armed call ended: 'full', 'failure answer', 'default kept', 'MemoryError', or
    None when it ended in a way the module does not promise."""
    if outcome['problem']:
        return None
    if outcome['error']:
        return 'MemoryError' if outcome['error'] == 'MemoryError' else None
    if outcome['value'] == answer:
        return 'full'
    if outcome['empty']:
        return 'failure answer'
    # A failed property read leaves that value at its default; the shape was checked.
    return 'default kept'


def problems_of(answer, result):
    """(kind of the armed call's end, what is wrong with the run)."""
    outcome = harness.outcome_of(result)
    if result.returncode != 0 or outcome is None:
        return None, ['exit %s, stderr %r' % (result.returncode, result.stderr[-600:])]
    problems = []
    kind = kind_of(outcome, answer)
    if kind is None:
        problems.append('the call: %r' % ({k: outcome[k] for k in ('error', 'problem')},))
    again = outcome['again']
    if again['problem'] or again['error'] or again['value'] != answer:
        problems.append('a fresh object afterwards: %r' % (again,))
    if result.leaks != scenario.NO_LEAKS:
        problems.append('leak line %r' % (result.leaks,))
    if not outcome['reached']:
        kind = 'not reached'  # this run made fewer allocations than the clean one
    return kind, problems


class AllocationSweep(unittest.TestCase):
    maxDiff = None

    def test_every_allocation_of_every_method_failing_once(self):
        if not SHIM:
            self.skipTest('ALLOCATION_SHIM names no shim library')
        baselines = scenario.parallel(lambda m: run(m[0], m[1], 0), METHODS)
        probe = harness.outcome_of(baselines[0])
        if probe is not None and probe.get('inactive'):
            self.skipTest('another allocator (a sanitizer runtime) is ahead of the shim')

        runs, answers, counts = [], {}, {}
        for (method, args), baseline in zip(METHODS, baselines):
            outcome = harness.outcome_of(baseline)
            self.assertIsNotNone(outcome, baseline.stderr[-600:])
            answers[method] = outcome['value']
            self.assertEqual(('not reached', []), problems_of(answers[method], baseline))
            counts[method] = outcome['allocations']
            self.assertFalse(outcome['empty'], method + ' found nothing in the sample')
            runs += [(method, args, position) for position in positions(counts[method])]

        results = scenario.parallel(lambda r: (r, run(*r)), runs)
        problems, kinds = [], collections.defaultdict(collections.Counter)
        for (method, args, position), result in results:
            kind, found = problems_of(answers[method], result)
            kinds[method][kind or 'fault'] += 1
            problems += ['%s, allocation %d of %d: %s' % (method, position, counts[method], p)
                         for p in found]
        summary = ['%s %d of %d positions (%s)' % (
            method, sum(kinds[method].values()), counts[method],
            ', '.join('%s %d' % item for item in sorted(kinds[method].items())))
            for method, _ in METHODS]
        print('allocation sweep: ' + '; '.join(summary), file=sys.stderr)
        self.assertEqual([], problems)


# Each position in a thread of its own, so that every one meets a thread's first trace line;
# the name makes a line longer than a line buffer's first size.
THREAD_SWEEP = u'''
import ctypes, os, sys, threading
shim = ctypes.CDLL(os.environ['ALLOCATION_SHIM'])
shim.allocation_shim_arm.argtypes = [ctypes.c_long]
shim.allocation_shim_disarm.restype = ctypes.c_long
import Quillet
NAME = u'n' * 300
def armed(position, answers, done):
    shim.allocation_shim_arm(position)
    try:
        facade = Quillet.WMIFacade()
        facade.GetMSiSCSI_HBAInformation(NAME)
        del facade
        answers.append('ok')
    except MemoryError:
        answers.append('MemoryError')
    answers.append(shim.allocation_shim_disarm())
    done.release()
for position in range(int(sys.argv[1]) + 1):
    answers, done = [], threading.Lock()
    done.acquire()
    thread = threading.Thread(target=armed, args=(position, answers, done))
    thread.start()
    done.acquire()  # unlike join, allocates nothing while the thread's call is armed
    thread.join()
    print('#%d %s %d' % (position, answers[0], answers[1]))
    sys.stdout.flush()
'''


class ThreadTraceMemory(unittest.TestCase):
    def test_no_trace_line_is_lost_when_memory_runs_out(self):
        # A call either raises MemoryError or leaves every one of its lines, whichever
        # allocation fails: the first of a thread's line buffer, or its growth for a long line.
        if not SHIM:
            self.skipTest('ALLOCATION_SHIM names no shim library')
        environment = {'ALLOCATION_SHIM': SHIM,
                       'LD_PRELOAD': ' '.join(filter(None, [os.environ.get('LD_PRELOAD'), SHIM]))}
        clean = scenario.run(THREAD_SWEEP, env=environment, args=('0',))
        self.assertEqual(0, clean.returncode, clean.stderr)
        count = int(clean.lines[-1].split()[-1])
        if count == 0:
            self.skipTest('another allocator (a sanitizer runtime) is ahead of the shim')
        result = scenario.run(THREAD_SWEEP, env=environment, args=(str(count),))
        self.assertEqual(0, result.returncode, result.stderr[-600:])
        lost, lines = [], []
        for line in result.lines:
            if not line.startswith('#'):
                lines.append(line)
                continue
            position, answer = line.split()[:2]
            needed = ['WMIFacade', u'hbsInstName = ' + u'n' * 300, '~WMIFacade']
            if answer == 'ok' and [l for l in lines if l in needed] != needed:
                lost.append((position, lines))
            lines = []
        self.assertEqual(count + 1, len([l for l in result.lines if l.startswith('#')]))
        self.assertEqual([], lost)


if __name__ == '__main__':
    unittest.main()
