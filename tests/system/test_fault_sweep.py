"""Every platform call that each record and timer method makes, failed once at its first and at
a later occurrence: the process survives, the answer keeps its documented shape, nothing leaks,
and the same object answers in full once the fault is gone.

The calls to fail come from a clean run's call log, so a method that starts making a new call
is swept without editing this file. Array and string allocation sites are not logged; they are
listed per method below.
"""
import collections
import re
import sys
import unittest

import harness
import scenario

METHODS = (
    ('GetMSiSCSI_HBAInformation', (harness.ADAPTER_0_WQL,)),
    ('GetMSiSCSI_TCPIPConfig', (harness.ADAPTER_0_WQL,)),
    ('GetMSiSCSI_NICConfig', (harness.ADAPTER_0_WQL,)),
    ('GetMSiSCSI_InitiatorSessionInfo', (u'',)),
    ('GetPDORemovePeriod', ()),
    ('SetPDORemovePeriod', (30,)),
)

FAILURE = 'WBEM_E_FAILED'

# Sites missing from the call log, by the reads each method makes. The sample's arrays of
# sessions and connections have at most two elements: indexes 0 and 1 at #1 and #2.
UNLOGGED = {
    'GetMSiSCSI_HBAInformation': ['SafeArrayAccessData#1'],
    'GetMSiSCSI_NICConfig': ['SafeArrayAccessData#1'],
    'GetMSiSCSI_InitiatorSessionInfo': ['SafeArrayGetElement#1', 'SafeArrayGetElement#4']
    + ['SafeArrayGetElement:%d#%d' % (index, nth) for index in (0, 1) for nth in (1, 2)],
}
# Each COM string the method builds; a fault that finds no call leaves no "= NULL" line and is
# dropped from the count.
STRING_ALLOCATIONS = ['SysAllocString#%d' % n for n in range(1, 7)]

_LOGGED_SITES = (
    (re.compile(r'^(CoInitializeEx|CoInitializeSecurity|CoCreateInstance|ConnectServer|'
                r'CoSetProxyBlanket) '), None),
    (re.compile(r'^ExecQuery \S+ \S+ SELECT \* FROM (\w+)'), 'ExecQuery'),
    (re.compile(r'^(Next|Get|Put) (\w+) '), None),
    (re.compile(r'^PutInstance (.*) 0x[0-9a-f]+ = '), 'PutInstance'),
)


def logged_calls(log):
    """(site, selector) of every fault site in a call log, in order; selector None if it has none."""
    calls = []
    for line in log:
        for pattern, site in _LOGGED_SITES:
            match = pattern.match(line)
            if not match:
                continue
            if site is not None:
                calls.append((site, match.group(1)))
            elif match.lastindex == 2:
                calls.append((match.group(1), match.group(2)))
            else:
                calls.append((match.group(1), None))
            break
    return calls


def fault_entries(log):
    """Each logged site, and each selector of it, at #1 and at its last occurrence."""
    calls = logged_calls(log)
    by_site = collections.Counter(site for site, _ in calls)
    by_selector = collections.Counter(call for call in calls if call[1] is not None)
    entries = []
    for site, count in by_site.items():
        entries += ['%s#%d' % (site, n) for n in sorted({1, count})]
    for (site, selector), count in by_selector.items():
        entries += ['%s:%s#%d' % (site, selector, n) for n in sorted({1, count})]
    return entries


def call(method, args, faults=None):
    return harness.run_child('call_child.py', (method, repr(args)), faults=faults)


def problems_of(method, entry, result):
    """What is wrong with one run; empty when it is sound."""
    problems = []
    outcome = harness.outcome_of(result)
    if result.returncode != 0 or outcome is None:
        problems.append('exit %s, stderr %r' % (result.returncode, result.stderr[-400:]))
    elif outcome['problem']:
        problems.append(outcome['problem'])
    elif outcome['error'] and not (outcome['error'] == 'MemoryError' and
                                   entry.startswith('SysAllocString')):
        problems.append('raised ' + outcome['error'])
    again = (outcome or {}).get('again')
    if again and (again['problem'] or again['error'] or again['empty']):
        problems.append('the call after the fault: %r' % again)
    extra = [line for line in result.error_text.splitlines()
             if not line.startswith('OUTCOME ')]
    if extra:
        problems.append('stderr: %r' % extra[:3])
    if result.leaks != scenario.NO_LEAKS:
        problems.append('leak line %r' % result.leaks)
    return ['%s with %s: %s' % (method, entry, p) for p in problems]


class FaultSweep(unittest.TestCase):
    def test_every_fault_site_of_every_method(self):
        baselines = scenario.parallel(lambda m: call(*m), METHODS)
        runs = []
        for (method, args), baseline in zip(METHODS, baselines):
            self.assertEqual([], problems_of(method, 'no fault', baseline))
            self.assertFalse(harness.outcome_of(baseline)['empty'],
                             method + ' found nothing in the sample: the sweep would prove little')
            entries = fault_entries(baseline.log) + UNLOGGED.get(method, []) + STRING_ALLOCATIONS
            runs += [(method, args, entry) for entry in entries]

        def sweep(run):
            method, args, entry = run
            # A failed string allocation returns NULL whatever the result says.
            result = 'E_OUTOFMEMORY' if entry.startswith('SysAllocString') else FAILURE
            faults = entry + '=' + result
            return run, call(method, args, faults)

        problems = []
        counted = collections.Counter()
        for (method, args, entry), result in scenario.parallel(sweep, runs):
            if entry.startswith('SysAllocString') and not [
                    line for line in result.log if line.startswith('SysAllocString ')]:
                continue  # the method makes fewer string allocations than this
            counted[method] += 1
            problems += problems_of(method, entry, result)
        sys.stderr.write('fault sweep: %d runs (%s)\n' % (
            sum(counted.values()), ', '.join('%s %d' % item for item in sorted(counted.items()))))
        self.assertEqual([], problems)
        # The sweep reached the deeper sites, not just the connection.
        self.assertGreater(counted['GetMSiSCSI_InitiatorSessionInfo'], 20)


if __name__ == '__main__':
    unittest.main()
