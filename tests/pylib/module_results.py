"""The module's results for a repository, from a child process of the running interpreter
(each run its own process: the stand-in reads its configuration once)."""
import io
import os
import subprocess
import sys
import tempfile
import shutil

from mof_fixtures import wql_escaped
from scenario import stand_in_environment

HERE = os.path.dirname(os.path.abspath(__file__))


def module_results(repository, names, faults=None, period=None):
    """[(method, WQL-escaped name or None, result)] of every method, in the child's order."""
    workdir = tempfile.mkdtemp(prefix='quillet-results-')
    try:
        names_path = os.path.join(workdir, 'names.txt')
        with io.open(names_path, 'w', encoding='utf-8') as f:
            f.write(u'\n'.join(wql_escaped(name) for name in names))
        command = [sys.executable, os.path.join(HERE, 'results_child.py'), names_path]
        if period is not None:
            command.append(str(period))
        process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   env=stand_in_environment(repository, faults))
        _, err = process.communicate()
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    err = err.decode('utf-8', 'replace')
    for line in reversed(err.splitlines()):
        if line.startswith('RESULTS '):
            return eval(line[len('RESULTS '):])
    raise AssertionError('the module failed (%d): %s' % (process.returncode, err[-2000:]))
