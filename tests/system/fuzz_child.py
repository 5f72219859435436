"""Scenario process of the module fuzzer: random calls of every method with random argument
tuples, now and then under a random fault, against the repository the parent generated.

argv: seed, number of calls. The last line on stderr is "OUTCOME <repr of dict>" with the
problems found and what the calls raised and returned.
"""
import collections
import os
import random
import sys

import Quillet
import mof_fixtures
import outcome
from pycompat import long_type, string_types, text_type

RECORD_METHODS = ('GetMSiSCSI_HBAInformation', 'GetMSiSCSI_TCPIPConfig', 'GetMSiSCSI_NICConfig',
                  'GetMSiSCSI_InitiatorSessionInfo')
METHODS = RECORD_METHODS + ('printSomething', 'GetPDORemovePeriod', 'SetPDORemovePeriod',
                            'printSomethingGlobal', 'WMIFacade')

FAULTS = ('Get=WBEM_E_FAILED', 'Get#3=WBEM_E_NOT_FOUND', 'Next#2=WBEM_E_FAILED',
          'ExecQuery=WBEM_E_INVALID_QUERY', 'SafeArrayGetElement#2=E_INVALIDARG',
          'SafeArrayAccessData=E_UNEXPECTED', 'PutInstance=WBEM_E_ACCESS_DENIED',
          'Put=WBEM_E_TYPE_MISMATCH', 'SysAllocString#2=E_OUTOFMEMORY', 'ConnectServer=E_FAIL',
          'CoSetProxyBlanket=E_ACCESSDENIED', 'Delay:Next=1')

INTEGERS = (0, 1, -1, 30, 2 ** 31 - 1, 2 ** 31, -2 ** 31, -2 ** 31 - 1, 2 ** 32, 2 ** 63,
            -2 ** 63 - 1, 2 ** 64, long_type(5), True)
# Byte strings are never names, on Python 2 (str) or 3 (bytes).
OTHERS = (None, [], {}, (), object(), bytearray(b'x'), 1.5, float('nan'), float('inf'),
          b'ROOT\\ISCSIPRT\\0000_0', b'', b'\xff\xfe', b'a\x00b', u'a\x00b', u'\x00', u'\ud800',
          u'\udc00x', u'\U0001F600')


def random_argument(rng):
    roll = rng.random()
    if roll < 0.35:
        name = rng.choice(mof_fixtures.NAMES)
        return mof_fixtures.wql_escaped(name) if rng.random() < 0.7 else name
    if roll < 0.5:
        return mof_fixtures.random_text(rng)
    if roll < 0.7:
        return rng.choice(INTEGERS)
    if roll < 0.995:
        return rng.choice(OTHERS)
    return u'\\' * 2 ** 20 if rng.random() < 0.5 else u'\U0001F600' * 2 ** 20  # 1 MB and more


def random_arguments(rng):
    count = rng.choice((0, 1, 1, 1, 1, 2, 3))
    args = tuple(random_argument(rng) for _ in range(count))
    kwargs = {'name': u'x'} if rng.random() < 0.03 else None
    return args, kwargs


def well_formed(method, args, kwargs):
    """Arguments every method must take without raising anything (memory aside)."""
    if kwargs:
        return False
    if method in RECORD_METHODS:
        return len(args) == 1 and isinstance(args[0], text_type) and u'\0' not in args[0]
    if method == 'SetPDORemovePeriod':
        return (len(args) == 1 and type(args[0]) in (int, long_type, bool)
                and outcome.INT32[0] <= args[0] <= outcome.INT32[1])
    return args == () or method == 'WMIFacade'


def main():
    seed, count = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    shared = Quillet.WMIFacade()
    problems = []
    seen = collections.Counter()
    for case in range(count):
        method = rng.choice(METHODS)
        args, kwargs = random_arguments(rng)
        fault = rng.choice(FAULTS) if rng.random() < 0.1 else ''
        os.environ['WMISIM_FAULTS'] = fault
        if method == 'WMIFacade':
            result = _construct(args, kwargs)
        elif method == 'printSomethingGlobal':
            result = outcome.call(Quillet.printSomethingGlobal, method, args, kwargs)
        else:
            target = shared if rng.random() < 0.7 else Quillet.WMIFacade()
            result = outcome.call(getattr(target, method), method, args, kwargs)
        os.environ['WMISIM_FAULTS'] = ''
        label = 'case %d: %s%r%s under %r' % (case, method, _short(args),
                                               ' **%r' % kwargs if kwargs else '', fault)
        if result['problem']:
            problems.append('%s: %s' % (label, result['problem']))
        elif result['error'] and well_formed(method, args, kwargs) and not (
                result['error'] == 'MemoryError' and (fault or _huge(args))):
            problems.append('%s: raised %s for well-formed arguments' % (label, result['error']))
        seen[result['error'] or ('empty' if result['empty'] else 'answered')] += 1
    del shared
    sys.stdout.flush()
    sys.stderr.write('OUTCOME %r\n' % ({'problems': problems, 'seen': dict(seen)},))


def _construct(args, kwargs):
    created = {'error': None, 'problem': None, 'empty': False}
    try:
        facade = Quillet.WMIFacade(*args, **(kwargs or {}))
    except Exception:
        created['error'] = sys.exc_info()[0].__name__
        created['problem'] = 'creation raised %s' % created['error']
        return created
    if type(facade) is not Quillet.WMIFacade:
        created['problem'] = 'creation gave %r' % (facade,)
    return created


def _huge(args):
    return any(isinstance(a, string_types + (bytes,)) and len(a) >= 2 ** 20 for a in args)


def _short(args):
    return tuple(a[:20] + type(a)('...') if isinstance(a, string_types + (bytes,)) and len(a) > 40 else a
                 for a in args)


main()
