"""Scenario process of the trace line tests. Every phase is opened by a marker line on stdout
("PHASE <name>"); the last line on stderr is "OUTCOME <repr of dict>".

argv: the mode, then the adapter's instance name as WQL wants it (UTF-8).
  threads   one reference call of each method ("PHASE reference <method>"), then 4 threads on
            their own objects and 4 on one shared object ("PHASE threads"); reports the calls
            made per method.
  refused   a reference call, then for each way a write is refused (a closed pipe, a full
            device, a closed descriptor) a call while standard output refuses everything and
            one after it is restored ("PHASE after <way>"), each followed by the script's own
            write; reports the ways whose own write raised.
  signals   calls while SIGALRM keeps interrupting writes blocked on a pipe that the parent
            drains slowly ("PHASE signals"); reports the calls made and the signals received.
  long      one call with an instance name of 100 million characters ("PHASE long").
"""
from __future__ import print_function

import os
import signal
import sys
import threading

import Quillet
from child_threads import marker, run_threads
from pycompat import to_text

MODE = sys.argv[1]
NAME = to_text(sys.argv[2])
METHODS = (('GetMSiSCSI_HBAInformation', (NAME,)), ('GetMSiSCSI_TCPIPConfig', (NAME,)),
           ('GetMSiSCSI_NICConfig', (NAME,)), ('GetMSiSCSI_InitiatorSessionInfo', (u'',)),
           ('GetPDORemovePeriod', ()), ('SetPDORemovePeriod', (20,)))  # 20: the sample's own
THREADS, CALLS = 8, 400


def call_all(facade):
    for method, args in METHODS:
        getattr(facade, method)(*args)


def reference(facade):
    for method, args in METHODS:
        marker('reference ' + method)
        getattr(facade, method)(*args)


def referenced_facade():
    """A connected object, after one reference call of each method."""
    facade = Quillet.WMIFacade()
    call_all(facade)
    reference(facade)
    return facade


def threads():
    shared = Quillet.WMIFacade()
    private = [Quillet.WMIFacade() for _ in range(THREADS // 2)]
    for facade in private + [shared]:
        call_all(facade)  # connected before the counted calls
    reference(shared)
    calls = dict((method, 0) for method, _ in METHODS)
    tally = threading.Lock()

    def worker(number):
        facade = private[number] if number < len(private) else shared
        made = dict((method, 0) for method, _ in METHODS)
        for n in range(CALLS):
            method, args = METHODS[(number + n) % len(METHODS)]
            getattr(facade, method)(*args)
            made[method] += 1
        with tally:
            for method in made:
                calls[method] += made[method]

    marker('threads')
    run_threads(worker, THREADS)
    marker('end')
    return {'calls': calls}


def refused():
    facade = referenced_facade()
    closed_pipe = os.pipe()
    os.close(closed_pipe[0])
    ways = (('EPIPE', closed_pipe[1]), ('ENOSPC', os.open('/dev/full', os.O_WRONLY)),
            ('EBADF', None))
    failed_own_writes = []
    for way, target in ways:
        marker('refused ' + way)
        saved = os.dup(1)
        if target is None:
            os.close(1)
        else:
            os.dup2(target, 1)
        call_all(facade)
        os.dup2(saved, 1)
        os.close(saved)
        marker('after ' + way)
        call_all(facade)
        try:
            sys.stdout.write('own write after %s\n' % way)
            sys.stdout.flush()
        except (IOError, OSError) as error:
            failed_own_writes.append('%s: %s' % (way, error))
    marker('end')
    return {'failed_own_writes': failed_own_writes}


def signals():
    facade = referenced_facade()
    received = [0]

    def count(number, frame):
        received[0] += 1

    signal.signal(signal.SIGALRM, count)
    marker('signals')
    signal.setitimer(signal.ITIMER_REAL, 0.002, 0.002)
    calls = 0
    while calls < 300 or (received[0] < 20 and calls < 3000):
        call_all(facade)
        calls += 1
    signal.setitimer(signal.ITIMER_REAL, 0)
    marker('end')
    return {'calls': calls, 'signals': received[0]}


def long_name():
    facade = Quillet.WMIFacade()
    marker('long')
    try:
        facade.GetMSiSCSI_HBAInformation(u'n' * 100000000)
        error = None
    except MemoryError:
        error = 'MemoryError'
    marker('end')
    return {'error': error}


outcome = {'threads': threads, 'refused': refused, 'signals': signals, 'long': long_name}[MODE]()
sys.stdout.flush()
sys.stderr.write('OUTCOME %r\n' % (outcome,))
