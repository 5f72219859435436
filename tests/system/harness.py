"""The system tests' scenario processes: the child scripts of this folder, which import
outcome.py from it, run on a copy of the sample repository."""
import os

import scenario
from mof_fixtures import wql_escaped
from source_tree import SAMPLE_ADAPTERS, sample_mof

HERE = os.path.dirname(os.path.abspath(__file__))
# Callers escape the name for WQL themselves: the module passes it on unchanged.
ADAPTER_0_WQL = wql_escaped(SAMPLE_ADAPTERS[0])


def run_child(name, args=(), mof=None, **kwargs):
    """Runs the child script `name` of this folder with `args` (texts) on the sample repository,
    or on `mof`; further arguments as scenario.run."""
    with open(os.path.join(HERE, name), 'rb') as f:
        code = f.read()
    return scenario.run(code, mof=sample_mof() if mof is None else mof, args=args, path=[HERE],
                        **kwargs)


def outcome_of(result):
    """The OUTCOME dict a child wrote last on stderr, or None when it never got there."""
    return result.reported('OUTCOME ')
