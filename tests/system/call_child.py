"""Scenario process of the fault sweep: one fresh WMIFacade, one call under the configured
faults, then a second call on the same object with the faults cleared (the stand-in reads
WMISIM_FAULTS at each call), then the object goes.

argv: method name, repr of the argument tuple. The outcome is the last line on stderr:
"OUTCOME <repr of dict>", the second call's outcome under the key 'again'.
"""
import os
import sys

import Quillet
import outcome

method, args = sys.argv[1], eval(sys.argv[2])
facade = Quillet.WMIFacade()
result = outcome.call(getattr(facade, method), method, args)
os.environ['WMISIM_FAULTS'] = ''
result['again'] = outcome.call(getattr(facade, method), method, args)
del facade
sys.stdout.flush()
sys.stderr.write('OUTCOME %r\n' % (result,))
