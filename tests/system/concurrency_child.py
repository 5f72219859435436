"""Scenario process of the concurrency test: 16 threads x 500 calls mixing every method on one
shared object and on each thread's private object, each answer compared with the answer of a
single-threaded call. Traces go to /dev/null once the expected answers are known.

argv: the adapter's instance name as WQL wants it. The last line on stderr is
"OUTCOME <repr of dict>": the problems found and the number of calls made.
"""
import os
import random
import sys
import threading

import Quillet
import outcome
from pycompat import to_text

THREADS, CALLS = 16, 500
NAME = to_text(sys.argv[1])
PERIODS = (20, 31, 42)  # 20 is the sample's own

METHODS = (('GetMSiSCSI_HBAInformation', (NAME,)), ('GetMSiSCSI_TCPIPConfig', (NAME,)),
           ('GetMSiSCSI_NICConfig', (NAME,)), ('GetMSiSCSI_InitiatorSessionInfo', (u'',)),
           ('GetPDORemovePeriod', ()), ('SetPDORemovePeriod', None), ('printSomething', ()))

shared = Quillet.WMIFacade()
expected = dict((method, getattr(shared, method)(*args))
                for method, args in METHODS if args is not None)
expected['SetPDORemovePeriod'] = 1
sys.stdout.flush()
os.dup2(os.open(os.devnull, os.O_WRONLY), 1)

# Answers worth comparing: the sample holds every record asked for.
problems = ['%s found nothing single-threaded' % method
            for method, value in expected.items() if value in ({}, [], None)]
calls = [0]
tally = threading.Lock()


def right(method, value):
    if method == 'GetPDORemovePeriod':
        return value in PERIODS  # another thread may have set any of them
    return value == expected[method]


def worker(seed):
    rng = random.Random(seed)
    private = Quillet.WMIFacade()
    found = []
    for n in range(CALLS):
        method, args = rng.choice(METHODS)
        if args is None:
            args = (rng.choice(PERIODS),)
        target = shared if n % 2 else private
        result = outcome.call(getattr(target, method), method, args, keep_value=True)
        if result['problem'] or result['error'] or not right(method, result.get('value')):
            found.append('%s%r: %r' % (method, args, result))
    del private
    with tally:
        problems.extend(found[:5])
        calls[0] += CALLS


threads = [threading.Thread(target=worker, args=(seed,)) for seed in range(THREADS)]
for thread in threads:
    thread.start()
for thread in threads:
    thread.join()
del shared
sys.stderr.write('OUTCOME %r\n' % ({'problems': problems, 'calls': calls[0],
                                    'objects': THREADS + 1},))
