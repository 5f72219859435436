"""How much of the interpreter a call leaves to other threads: a Python thread counts alone for
a second, then while the main thread makes one call. Reports on stderr
"BENCH {'solo': counts per second, 'loaded': counts per second during the call, 'seconds': the
call's duration}".

usage: lock_child.py <method> <repr of args> [WMISIM_FAULTS for the measured call]
"""
import os
import sys
import time

import Quillet
from child_threads import Counter


def rate_during(counter, action):
    seconds, counted = counter.during(action)
    return counted / seconds, seconds


def main():
    method, args = sys.argv[1], eval(sys.argv[2])
    facade = Quillet.WMIFacade()
    call = getattr(facade, method)
    call(*args)  # connects, and loads the repository
    if len(sys.argv) > 3:
        os.environ['WMISIM_FAULTS'] = sys.argv[3]
    counter = Counter()
    solo, _ = rate_during(counter, lambda: time.sleep(1.0))
    loaded, seconds = rate_during(counter, lambda: call(*args))
    counter.stop()
    sys.stdout.flush()
    sys.stderr.write('BENCH %r\n' % ({'solo': solo, 'loaded': loaded, 'seconds': seconds},))


main()
