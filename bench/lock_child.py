"""How much of the interpreter a call leaves to other threads: a Python thread counts alone for
a second, then while the main thread makes one call. Reports on stderr
"BENCH {'solo': counts per second, 'loaded': counts per second during the call, 'seconds': the
call's duration}".

usage: lock_child.py <method> <repr of args> [WMISIM_FAULTS for the measured call]
"""
import os
import sys
import threading
import time

import Quillet

counter = [0]
running = [True]


def count():
    while running[0]:
        counter[0] += 1


def counted_during(action):
    before, started = counter[0], time.time()
    action()
    seconds = time.time() - started
    return (counter[0] - before) / seconds, seconds


def main():
    method, args = sys.argv[1], eval(sys.argv[2])
    facade = Quillet.WMIFacade()
    call = getattr(facade, method)
    call(*args)  # connects, and loads the repository
    if len(sys.argv) > 3:
        os.environ['WMISIM_FAULTS'] = sys.argv[3]
    counting = threading.Thread(target=count)
    counting.start()
    solo, _ = counted_during(lambda: time.sleep(1.0))
    loaded, seconds = counted_during(lambda: call(*args))
    running[0] = False
    counting.join()
    sys.stdout.flush()
    sys.stderr.write('BENCH %r\n' % ({'solo': solo, 'loaded': loaded, 'seconds': seconds},))


main()
