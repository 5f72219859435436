"""Shared by the system tests: the realistic fixture, scenario processes that can import the
helpers of this folder, and a small pool that runs them two at a time."""
import os
from multiprocessing.dummy import Pool

import scenario
from pycompat import to_text

from source_tree import SAMPLE_MOF

HERE = os.path.dirname(os.path.abspath(__file__))
ADAPTER_0 = u'PCI\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\4&1c3f0a2b&0&00E0_0'
# Callers escape the name for WQL themselves: the module passes it on unchanged.
ADAPTER_0_WQL = ADAPTER_0.replace(u'\\', u'\\\\')

# The machine's two cores are shared; more processes at once only queue.
PARALLEL = 2


def sample_mof():
    with open(SAMPLE_MOF, 'rb') as f:
        return f.read().decode('utf-8')


def script(name):
    with open(os.path.join(HERE, name), 'rb') as f:
        return f.read()


def run(code, **kwargs):
    """scenario.run with this folder importable by the scenario."""
    env = dict(kwargs.pop('env', None) or {})
    env['PYTHONPATH'] = os.environ.get('PYTHONPATH', '') + os.pathsep + HERE
    return scenario.run(code, env=env, **kwargs)


def outcome_of(result):
    """The OUTCOME dict a child wrote last on stderr, or None when it never got there."""
    for line in reversed(to_text(result.stderr).splitlines()):
        if line.startswith('OUTCOME '):
            return eval(line[len('OUTCOME '):])
    return None


def parallel(function, items):
    pool = Pool(PARALLEL)
    try:
        return pool.map(function, items)
    finally:
        pool.close()
        pool.join()
