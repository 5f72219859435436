"""Runs a Python scenario against the built Quillet module in a fresh process of the interpreter
that runs the tests.

Each scenario gets its own process because the narrow stream's number base is process state,
and its own stand-in configuration: a MOF repository, faults and a call log.
"""
import collections
import os
import shutil
import subprocess
import sys
import tempfile

from pycompat import text_type

Result = collections.namedtuple('Result', 'returncode stdout stderr log')


class ScenarioResult(Result):
    @property
    def lines(self):
        """stdout as text lines (UTF-8), without line ends."""
        return self.stdout.decode('utf-8').split('\n')[:-1] if self.stdout else []

    @property
    def leaks(self):
        """The leak line that closes the call log, or None when it is missing."""
        return self.log[-1] if self.log and self.log[-1].startswith('leaks:') else None

    def calls(self, prefix):
        """Call-log lines that start with prefix."""
        return [line for line in self.log if line.startswith(prefix)]


NO_LEAKS = 'leaks: com=0 bstr=0 safearray=0'


# Every scenario prints with the print function, so that one text runs on Python 2 and 3.
FUTURE = 'from __future__ import print_function\n'


def run(code, mof=None, faults=None, env=None, args=()):
    """Runs `code` with this interpreter; returns ScenarioResult. `mof` is the repository text."""
    workdir = tempfile.mkdtemp(prefix='quillet-')
    try:
        return _run_in(workdir, code, mof, faults, env, args)
    finally:
        shutil.rmtree(workdir, ignore_errors=True)


def _run_in(workdir, code, mof, faults, env, args):
    log_path = os.path.join(workdir, 'calls.log')
    script = os.path.join(workdir, 'scenario.py')
    with open(script, 'wb') as f:
        data = code.encode('utf-8') if isinstance(code, text_type) else code
        # A script with future imports of its own (after its docstring) says what it needs.
        f.write(data if b'from __future__ import' in data else FUTURE.encode('utf-8') + data)
    environment = dict(os.environ)
    for name in ('WMISIM_REPOSITORY', 'WMISIM_FAULTS', 'WMISIM_LOG'):
        environment.pop(name, None)
    environment['WMISIM_LOG'] = log_path
    if mof is not None:
        repository = os.path.join(workdir, 'repository.mof')
        with open(repository, 'wb') as f:
            f.write(mof.encode('utf-8') if isinstance(mof, text_type) else mof)
        environment['WMISIM_REPOSITORY'] = repository
    if faults:
        environment['WMISIM_FAULTS'] = faults
    environment.update(env or {})
    process = subprocess.Popen([sys.executable, script] + list(args), env=environment,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    stdout, stderr = process.communicate()
    log = []
    if os.path.exists(log_path):
        with open(log_path, 'rb') as f:
            log = f.read().decode('utf-8').split('\n')
        if log and log[-1] == '':
            log.pop()
    return ScenarioResult(process.returncode, stdout, stderr, log)
