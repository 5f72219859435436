"""MOF repositories of the MPIO timer class shared by the engine and module scenarios."""

TIMERS_CLASS = 'class MPIO_TIMERS_COUNTERS { string InstanceName; uint32 PDORemovePeriod; };\n'

PRELUDE = 'import Quillet\n'


def timers(*periods):
    """A repository with one MPIO_TIMERS_COUNTERS instance per period (None: a NULL period)."""
    text = TIMERS_CLASS
    for index, period in enumerate(periods):
        value = 'NULL' if period is None else str(period)
        text += ('instance of MPIO_TIMERS_COUNTERS { InstanceName = "MPIO\\\\Timers_%d"; '
                 'PDORemovePeriod = %s; };\n' % (index, value))
    return text


def instance(index):
    """The trace line of the index-th instance of timers()."""
    return ' InstanceName : MPIO\\Timers_%d' % index
