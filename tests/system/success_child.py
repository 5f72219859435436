"""Scenario process of the success-code tests: one fresh WMIFacade, `repeats` calls under the
configured faults, one call more with the faults cleared (the stand-in reads WMISIM_FAULTS at
each call), then the object goes.

argv: method name, repr of the argument tuple, number of faulted calls. The outcome is the last
line on stderr: "OUTCOME <repr of dict>", each call as {'value': answer, 'error': exception name
or None}, the faulted ones under 'faulted', the last under 'again'.
"""
import os
import sys

import Quillet

method, args, repeats = sys.argv[1], eval(sys.argv[2]), int(sys.argv[3])


def call(function):
    try:
        return {'value': function(*args), 'error': None}
    except Exception:
        return {'value': None, 'error': sys.exc_info()[0].__name__}


facade = Quillet.WMIFacade()
function = getattr(facade, method)
result = {'faulted': [call(function) for _ in range(repeats)]}
os.environ['WMISIM_FAULTS'] = ''
result['again'] = call(function)
del function, facade
sys.stdout.flush()
sys.stderr.write('OUTCOME %r\n' % (result,))
