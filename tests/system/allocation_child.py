"""Scenario process of the allocation-failure sweep, run with allocation_shim preloaded: one
call on a fresh WMIFacade with the N-th heap allocation of that call failing, then the object
goes, then the same call on a fresh object with nothing failing.

argv: method name, repr of the argument tuple, N (0: nothing fails, the allocations are only
counted). The outcome is the last line on stderr: "OUTCOME <repr of dict>" with the armed
call's outcome (its answer under 'value'), the number of allocations counted, whether the N-th
was reached, and the fresh object's outcome under 'again'; {'inactive': True} when the shim is
not the process's allocator.
"""
import ctypes
import gc
import os
import sys

import outcome

shim = ctypes.CDLL(os.environ['ALLOCATION_SHIM'])
shim.allocation_shim_arm.restype = None
shim.allocation_shim_arm.argtypes = [ctypes.c_long]
shim.allocation_shim_disarm.restype = ctypes.c_long

if not shim.allocation_shim_active():
    sys.stderr.write('OUTCOME %r\n' % ({'inactive': True},))
    sys.exit(0)

import Quillet  # noqa: E402 (after the check: the module is not needed without the shim)

method, args, position = sys.argv[1], eval(sys.argv[2]), int(sys.argv[3])
counted = []


def armed(function):
    """function with the shim armed for exactly the time of the call."""
    def call(*arguments):
        shim.allocation_shim_arm(position)
        try:
            return function(*arguments)
        finally:
            counted.append(shim.allocation_shim_disarm())
    return call


facade = Quillet.WMIFacade()
result = outcome.call(armed(getattr(facade, method)), method, args, keep_value=True)
result['allocations'] = counted[0]
result['reached'] = bool(shim.allocation_shim_failed())
del facade
gc.collect()
fresh = Quillet.WMIFacade()
result['again'] = outcome.call(getattr(fresh, method), method, args, keep_value=True)
del fresh
sys.stdout.flush()
sys.stderr.write('OUTCOME %r\n' % (result,))
