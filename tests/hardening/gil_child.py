"""Scenario process of the interpreter-lock test: each method runs while ExecQuery is delayed
(Delay:ExecQuery in WMISIM_FAULTS) and another Python thread keeps counting. A method that
held the lock through the query would stop the counter for the whole delay.

argv: the adapter's instance name as WQL wants it, the delay in milliseconds. The last line on
stderr is "OUTCOME <repr of dict>": per method, the seconds the call took and the counts made
meanwhile.
"""
import os
import sys
import threading
import time

import Quillet
from pycompat import to_text

NAME = to_text(sys.argv[1])
DELAY_MS = int(sys.argv[2])
METHODS = (('GetMSiSCSI_HBAInformation', (NAME,)), ('GetMSiSCSI_TCPIPConfig', (NAME,)),
           ('GetMSiSCSI_NICConfig', (NAME,)), ('GetMSiSCSI_InitiatorSessionInfo', (u'',)),
           ('GetPDORemovePeriod', ()), ('SetPDORemovePeriod', (30,)))

counter = [0]
running = [True]


def count():
    while running[0]:
        counter[0] += 1


facade = Quillet.WMIFacade()
facade.printSomething()
os.environ['WMISIM_FAULTS'] = 'Delay:ExecQuery=%d' % DELAY_MS
counting = threading.Thread(target=count)
counting.start()
report = {}
for method, args in METHODS:
    before, started = counter[0], time.time()
    getattr(facade, method)(*args)
    report[method] = (time.time() - started, counter[0] - before)
running[0] = False
counting.join()
del facade
sys.stdout.flush()
sys.stderr.write('OUTCOME %r\n' % (report,))
