"""A process forked while another thread is inside a call on an object (as multiprocessing does
on Linux): the child's copy of the object serves the child's own calls, the parent's call
completes, nothing leaks."""
from __future__ import print_function

import unittest

import scenario
from source_tree import sample_mof

# The parent connects (first query), then a thread sleeps inside the second query, holding the
# object, while the main thread forks. The child has a few seconds for its own call.
FORK_DURING_CALL = r'''
import os
import sys
import threading
import time

import Quillet

facade = Quillet.WMIFacade()
expected = facade.GetPDORemovePeriod()
answers = []
worker = threading.Thread(target=lambda: answers.append(facade.GetPDORemovePeriod()))
worker.start()
time.sleep(0.5)
busy = worker.is_alive()
sys.stdout.flush()
pid = os.fork()
if pid == 0:
    answer = facade.GetPDORemovePeriod()
    sys.stdout.flush()
    os._exit(0 if answer == expected else 3)
deadline = time.time() + 20
while True:
    done, status = os.waitpid(pid, os.WNOHANG)
    if done:
        break
    if time.time() > deadline:
        os.kill(pid, 9)
        os.waitpid(pid, 0)
        status = 'hung'
        break
    time.sleep(0.05)
worker.join()
del facade
sys.stdout.flush()
sys.stderr.write('OUTCOME %r\n' % ({'busy': busy, 'child': status, 'expected': expected,
                                    'worker': answers},))
'''


class ForkTest(unittest.TestCase):
    def test_child_calls_an_object_busy_in_the_parent(self):
        result = scenario.run(FORK_DURING_CALL, mof=sample_mof(), faults='Delay:ExecQuery#2=3000')
        self.assertEqual(0, result.returncode, result.stderr[-400:])
        outcome = result.reported('OUTCOME ')
        self.assertTrue(outcome['busy'], 'the worker was not inside its call at the fork')
        self.assertEqual(0, outcome['child'], 'the child did not answer in time (exit status %r)'
                         % (outcome['child'],))
        self.assertEqual(20, outcome['expected'])
        self.assertEqual([20], outcome['worker'])
        self.assertEqual(scenario.NO_LEAKS, result.leaks)


if __name__ == '__main__':
    unittest.main()
