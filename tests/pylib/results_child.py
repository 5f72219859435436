"""Calls every method of the module once against the stand-in: the record methods for each
instance name given (one WQL-escaped name a line in the file argv[1]), then the sessions, the
timer read, the print functions and, when argv[2] is given, the timer write with that period.
The traces go to stdout; the last line on stderr is "RESULTS <repr of [method, name, result]
triples>", so a parent running the same interpreter gets the results with their types."""
import io
import sys

import Quillet


def main():
    with io.open(sys.argv[1], encoding='utf-8') as f:
        names = [name for name in f.read().split(u'\n') if name]
    facade = Quillet.WMIFacade()
    results = []
    for name in names:
        for method in ('GetMSiSCSI_HBAInformation', 'GetMSiSCSI_TCPIPConfig', 'GetMSiSCSI_NICConfig'):
            results.append((method, name, getattr(facade, method)(name)))
    results.append(('GetMSiSCSI_InitiatorSessionInfo', u'', facade.GetMSiSCSI_InitiatorSessionInfo(u'')))
    results.append(('GetPDORemovePeriod', None, facade.GetPDORemovePeriod()))
    results.append(('printSomething', None, facade.printSomething()))
    results.append(('printSomethingGlobal', None, Quillet.printSomethingGlobal()))
    if len(sys.argv) > 2:
        results.append(('SetPDORemovePeriod', None, facade.SetPDORemovePeriod(int(sys.argv[2]))))
    del facade
    sys.stdout.flush()
    sys.stderr.write('RESULTS %r\n' % (results,))


main()
