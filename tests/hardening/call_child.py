"""Scenario process of the fault sweep: one fresh WMIFacade, one call, then the object goes.

argv: method name, repr of the argument tuple. The outcome is the last line on stderr:
"OUTCOME <repr of dict>".
"""
import sys

import Quillet
import outcome

method, args = sys.argv[1], eval(sys.argv[2])
facade = Quillet.WMIFacade()
result = outcome.call(getattr(facade, method), method, args)
del facade
sys.stdout.flush()
sys.stderr.write('OUTCOME %r\n' % (result,))
