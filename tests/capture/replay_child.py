"""Calls every method of the module once against the stand-in's repository: the record methods
for each instance name given (one WQL-escaped name a line in the file argv[1]), the session
method, the timer methods and the print functions. The traces go to stdout; the last line on
stderr is "RESULTS <repr of the results>"."""
from __future__ import print_function

import io
import sys

import Quillet


def main():
    with io.open(sys.argv[1], encoding='utf-8') as f:
        names = f.read().split(u'\n')
    facade = Quillet.WMIFacade()
    results = []
    facade.printSomething()
    Quillet.printSomethingGlobal()
    for name in names:
        results.append(facade.GetMSiSCSI_HBAInformation(name))
        results.append(facade.GetMSiSCSI_TCPIPConfig(name))
        results.append(facade.GetMSiSCSI_NICConfig(name))
    results.append(facade.GetMSiSCSI_InitiatorSessionInfo(u''))
    results.append(facade.GetPDORemovePeriod())
    results.append(facade.SetPDORemovePeriod(30))
    results.append(facade.GetPDORemovePeriod())
    del facade
    sys.stdout.flush()
    sys.stderr.write('RESULTS %r\n' % (results,))


main()
