"""MOF repositories and expected trace pieces shared by the engine and module scenarios."""

TIMERS_CLASS = 'class MPIO_TIMERS_COUNTERS { string InstanceName; uint32 PDORemovePeriod; };\n'


def timers(*periods):
    """A repository with one MPIO_TIMERS_COUNTERS instance per period (None: a NULL period)."""
    text = TIMERS_CLASS
    for index, period in enumerate(periods):
        value = 'NULL' if period is None else str(period)
        text += ('instance of MPIO_TIMERS_COUNTERS { InstanceName = "MPIO\\\\Timers_%d"; '
                 'PDORemovePeriod = %s; };\n' % (index, value))
    return text


def instance(index):
    return ' InstanceName : MPIO\\Timers_%d' % index


CONNECT = ['CoInitializeEx returned S_OK || RPC_E_CHANGED_MODE hres = 0x0',
           'Connected to ROOT\\CIMV2 WMI namespace']
# A later connection attempt on the same thread, after an earlier one set process security.
RECONNECT = ['CoInitializeEx returned S_FALSE',
             'CoInitializeSecurity returned RPC_E_TOO_LATE',
             'Connected to ROOT\\CIMV2 WMI namespace']
QUERY_FAILED = 'Query for operating system name failed. Error code = 0x'

PRELUDE = 'import Quillet\n'
