"""Scenario process of the success-code tests: one fresh WMIFacade, `repeats` calls under the
configured faults, one call more with the faults cleared, then the object goes.

argv: method name, repr of the argument tuple, number of faulted calls. The outcome is the last
line on stderr: "OUTCOME <repr of dict>" with the faulted calls' outcomes under 'faulted' and the
last call's under 'again', each with its answer.
"""
from __future__ import print_function

import os
import sys

import Quillet
import outcome

method, args, repeats = sys.argv[1], eval(sys.argv[2]), int(sys.argv[3])
facade = Quillet.WMIFacade()
function = getattr(facade, method)
result = {'faulted': [outcome.call(function, method, args, keep_value=True) for _ in range(repeats)]}
os.environ['WMISIM_FAULTS'] = ''
result['again'] = outcome.call(function, method, args, keep_value=True)
del function, facade
sys.stdout.flush()
sys.stderr.write('OUTCOME %r\n' % (result,))
