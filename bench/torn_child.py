"""Threads on shared objects: one reference call per method ("PHASE reference <method>"), then
<threads> threads, thread n on object n % <objects>, each making <calls> calls that alternate
between the HBA and the TCP/IP method ("PHASE threads"). The parent counts the lines that are
no line of a reference call.

usage: torn_child.py <instance name, WQL-escaped> <threads> <objects> <calls>
"""
import sys

import Quillet
from child_threads import marker, run_threads
from pycompat import to_text

NAME = to_text(sys.argv[1])
THREADS, OBJECTS, CALLS = int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
METHODS = ('GetMSiSCSI_HBAInformation', 'GetMSiSCSI_TCPIPConfig')


objects = [Quillet.WMIFacade() for _ in range(OBJECTS)]
for facade in objects:
    for method in METHODS:
        getattr(facade, method)(NAME)  # connected before the reference
for method in METHODS:
    marker('reference ' + method)
    getattr(objects[0], method)(NAME)


def worker(number):
    facade = objects[number % OBJECTS]
    for n in range(CALLS):
        getattr(facade, METHODS[n % 2])(NAME)


marker('threads')
run_threads(worker, THREADS)
marker('end')
