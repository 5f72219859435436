"""Runs GetMSiSCSI_InitiatorSessionInfo in its own process and splits what it printed."""
import ast

import scenario

RESULT = u'RESULT '

CALL = u'''
import Quillet
facade = Quillet.WMIFacade()
try:
    result = facade.GetMSiSCSI_InitiatorSessionInfo(%s)
except Exception as error:
    result = 'raised %%s: %%s' %% (type(error).__name__, error)
print('RESULT', repr(result))
del facade
'''


class Call(object):
    def __init__(self, outcome):
        self.outcome = outcome
        lines = outcome.lines
        marker = [i for i, line in enumerate(lines) if line.startswith(RESULT)]
        if len(marker) != 1:
            raise AssertionError('no result line:\n%s\n%s' % (outcome.stdout, outcome.stderr))
        self.result = ast.literal_eval(lines[marker[0]][len(RESULT):])
        self.traces = lines[:marker[0]]      # everything the call wrote
        self.after = lines[marker[0] + 1:]   # the object's destruction

    @property
    def leaks(self):
        return self.outcome.leaks


def call(mof, argument=u"u'ROOT\\\\ISCSIPRT\\\\0000_0'", faults=None):
    return Call(scenario.run(CALL % argument, mof=mof, faults=faults))
