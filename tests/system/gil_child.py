"""Scenario process of the interpreter-lock tests: each method runs while one platform call is
slowed and another Python thread keeps counting. A method that held the lock through the slowed
call would stop the counter for the whole delay.

argv: the adapter's instance name as WQL wants it, the delay in milliseconds, the call to slow:
"ExecQuery" (the engine's query, every method) or "Get" (the third property read of the call,
which is the record's own reading; the record methods only). The last line on stderr is
"OUTCOME <repr of dict>": per method, the seconds the call took, the counts made meanwhile and
the counts made while this thread slept as long as the delay.
"""
from __future__ import print_function

import os
import sys
import time

import Quillet
from child_threads import Counter
from pycompat import to_text

NAME = to_text(sys.argv[1])
DELAY_MS = int(sys.argv[2])
SITE = sys.argv[3]
RECORD_METHODS = (('GetMSiSCSI_HBAInformation', (NAME,)), ('GetMSiSCSI_TCPIPConfig', (NAME,)),
                  ('GetMSiSCSI_NICConfig', (NAME,)), ('GetMSiSCSI_InitiatorSessionInfo', (u'',)))
METHODS = RECORD_METHODS + (('GetPDORemovePeriod', ()), ('SetPDORemovePeriod', (30,)))

def faults(index):
    if SITE == 'ExecQuery':
        return 'Delay:ExecQuery=%d' % DELAY_MS
    # The first Get of a call is the engine's InstanceName read (two of them for the two
    # adapters of the session query), so the third belongs to the record. A text of its own per
    # method (one millisecond more each) makes the stand-in count the calls afresh.
    return 'Delay:Get#3=%d' % (DELAY_MS + index)


facade = Quillet.WMIFacade()
facade.printSomething()
counter = Counter()
report = {}
for index, (method, args) in enumerate(METHODS if SITE == 'ExecQuery' else RECORD_METHODS):
    os.environ['WMISIM_FAULTS'] = faults(index)
    seconds, counted = counter.during(lambda: getattr(facade, method)(*args))
    _, counted_asleep = counter.during(lambda: time.sleep(DELAY_MS / 1000.0))
    report[method] = (seconds, counted, counted_asleep)
counter.stop()
del facade
sys.stdout.flush()
sys.stderr.write('OUTCOME %r\n' % (report,))
