"""One benchmark process: calls one method of a WMIFacade many times and reports on stderr
"BENCH <repr of dict>".

usage: bench_child.py <method> <repr of args> <calls> time|growth|capture|count
  time     one warm-up call (it connects), then <calls> timed calls between two marker lines on
           stdout; reports seconds and write system calls per call and the peak memory.
  growth   1,000 warm-up calls, then <calls> more; reports the resident memory before and after.
  capture  one warm-up call, then one call between the marker lines: its exact trace lines.
  count    one warm-up call, then <calls> calls and nothing else (for instruction counts).
"""
import resource
import sys
import time

import Quillet

START, END = 'BENCH-START', 'BENCH-END'

try:
    range = xrange  # Python 2: no list of the call numbers in the memory measured
except NameError:
    pass


def write_calls():
    with open('/proc/self/io') as f:
        for line in f:
            if line.startswith('syscw:'):
                return int(line.split()[1])


def resident_kb():
    with open('/proc/self/statm') as f:
        return int(f.read().split()[1]) * resource.getpagesize() // 1024


def peak_kb():
    # Not ru_maxrss: Linux carries the parent's peak over fork and exec into it.
    with open('/proc/self/status') as f:
        for line in f:
            if line.startswith('VmHWM:'):
                return int(line.split()[1])


def marker(text):
    sys.stdout.write(text + '\n')
    sys.stdout.flush()


def main():
    method, args, calls, mode = sys.argv[1], eval(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    facade = Quillet.WMIFacade()
    call = getattr(facade, method)
    report = {}
    if mode == 'time':
        call(*args)
        marker(START)
        writes, started = write_calls(), time.time()
        for _ in range(calls):
            call(*args)
        report['seconds'] = (time.time() - started) / calls
        report['writes'] = float(write_calls() - writes) / calls
        marker(END)
    elif mode == 'capture':
        call(*args)
        marker(START)
        call(*args)
        marker(END)
    elif mode == 'count':
        for _ in range(calls + 1):
            call(*args)
    else:
        for _ in range(1000):
            call(*args)
        report['before_kb'] = resident_kb()
        for _ in range(calls):
            call(*args)
        report['after_kb'] = resident_kb()
    report['peak_kb'] = peak_kb()
    del call, facade
    sys.stderr.write('BENCH %r\n' % (report,))


main()
