"""The one way the Python tests start a process against the stand-in: Python code run by the
interpreter that runs the tests (run), or any program (run_program), and one method call of the
module with its trace split out (call).

Each scenario gets its own process because the narrow stream's number base is process state,
and its own stand-in configuration: a MOF repository, faults and a call log, in a temporary
folder removed afterwards. Output comes back as bytes; Result decodes it on request.
"""
import ast
import collections
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import unittest
from multiprocessing.dummy import Pool

from pycompat import text_type

NO_LEAKS = 'leaks: com=0 bstr=0 safearray=0'

# Every scenario prints with the print function, so that one text runs on Python 2 and 3.
FUTURE = 'from __future__ import print_function\n'

# The machine's two cores are shared; more processes at once only queue.
PARALLEL = 2

# A scenario inherits none of the stand-in's settings.
_CLEARED = ('WMISIM_REPOSITORY', 'WMISIM_FAULTS', 'WMISIM_LOG')


class Result(collections.namedtuple('Result', 'returncode stdout stderr log')):
    """A finished process: its exit status, stdout and stderr (bytes) and the call log's lines."""

    @property
    def text(self):
        """stdout as text (UTF-8)."""
        return self.stdout.decode('utf-8')

    @property
    def error_text(self):
        """stderr as text; bytes that are no UTF-8 become replacement characters."""
        return self.stderr.decode('utf-8', 'replace')

    @property
    def lines(self):
        """stdout as text lines, without line ends."""
        return self.text.split('\n')[:-1] if self.stdout else []

    @property
    def leaks(self):
        """The leak line that closes the call log, or None when it is missing."""
        return self.log[-1] if self.log and self.log[-1].startswith('leaks:') else None

    def calls(self, prefix):
        """Call-log lines that start with prefix."""
        return [line for line in self.log if line.startswith(prefix)]

    def reported(self, marker):
        """The value a child wrote last on stderr as `marker` + repr(value), or None when it
        never got there."""
        for line in reversed(self.error_text.splitlines()):
            if line.startswith(marker):
                return eval(line[len(marker):])
        return None


def tool_environment():
    """The environment for a helper program that is not under test (Debian's python3 running
    jsonschema or parsing the stubs): without the sanitizer runtime the sanitizer run preloads,
    whose leak check would judge that program instead of ours."""
    environment = dict(os.environ)
    for name in ('LD_PRELOAD', 'ASAN_OPTIONS', 'LSAN_OPTIONS', 'UBSAN_OPTIONS'):
        environment.pop(name, None)
    return environment


def run(code, mof=None, faults=None, env=None, args=(), path=(), **options):
    """Runs the Python text `code` with this interpreter; returns Result. `mof` is the
    repository text, `path` folders the scenario imports from besides tests/pylib, `args` its
    command-line arguments; `options` as run_program."""
    workdir = tempfile.mkdtemp(prefix='quillet-')
    try:
        script = os.path.join(workdir, 'scenario.py')
        data = code.encode('utf-8') if isinstance(code, text_type) else code
        with open(script, 'wb') as f:
            # A script with future imports of its own (after its docstring) says what it needs.
            f.write(data if b'from __future__ import' in data else FUTURE.encode('utf-8') + data)
        environment = dict(env or {})
        if path:
            environment['PYTHONPATH'] = os.pathsep.join(
                [environment.get('PYTHONPATH', os.environ.get('PYTHONPATH', ''))] + list(path))
        return _spawn([sys.executable, script] + list(args), workdir, mof, faults, environment,
                      **options)
    finally:
        shutil.rmtree(workdir, ignore_errors=True)


def run_program(command, mof=None, faults=None, env=None, **options):
    """Runs `command` (a list) against the stand-in; returns Result. The repository is the text
    `mof` or the file `repository`; `env` adds variables. Without `log` the stand-in keeps no
    call log (Result.log is empty). `slow_reader` reads stdout in small sips after a pause, so
    that a chatty process blocks in its writes. A process still running after `timeout` seconds
    is killed; `preexec_fn` runs in the child before the program starts."""
    workdir = tempfile.mkdtemp(prefix='quillet-')
    try:
        return _spawn(command, workdir, mof, faults, env, **options)
    finally:
        shutil.rmtree(workdir, ignore_errors=True)


def stand_in_environment(repository=None, faults=None, log=None):
    """The environment for a process on the stand-in: this one's, with only these settings."""
    environment = dict(os.environ)
    for name in _CLEARED:
        environment.pop(name, None)
    for name, value in (('WMISIM_REPOSITORY', repository), ('WMISIM_FAULTS', faults),
                        ('WMISIM_LOG', log)):
        if value:
            environment[name] = value
    return environment


def _spawn(command, workdir, mof, faults, env, repository=None, cwd=None, log=True,
           slow_reader=False, timeout=None, preexec_fn=None):
    log_path = os.path.join(workdir, 'calls.log')
    if mof is not None:
        repository = os.path.join(workdir, 'repository.mof')
        with open(repository, 'wb') as f:
            f.write(mof.encode('utf-8') if isinstance(mof, text_type) else mof)
    environment = stand_in_environment(repository, faults, log_path if log else None)
    environment.update(env or {})
    process = subprocess.Popen(command, env=environment, cwd=cwd, preexec_fn=preexec_fn,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    # Python 2.7's communicate() has no timeout: a process that hangs is killed instead.
    killer = threading.Timer(timeout, process.kill) if timeout else None
    if killer:
        killer.start()
    try:
        if slow_reader:
            stdout, stderr = _read_slowly(process)
        else:
            stdout, stderr = process.communicate()
    finally:
        if killer:
            killer.cancel()
    lines = []
    if log and os.path.exists(log_path):
        with open(log_path, 'rb') as f:
            lines = f.read().decode('utf-8', 'replace').split('\n')
        if lines and lines[-1] == '':
            lines.pop()
    return Result(process.returncode, stdout, stderr, lines)


def _read_slowly(process):
    # The pipe fills up and the child's writes block until the next sip.
    time.sleep(0.3)
    chunks = []
    while True:
        chunk = os.read(process.stdout.fileno(), 4096)
        if not chunk:
            break
        chunks.append(chunk)
        time.sleep(0.001)
    stderr = process.stderr.read()
    process.stdout.close()
    process.stderr.close()
    process.wait()
    return b''.join(chunks), stderr


def parallel(function, items):
    """map over items, PARALLEL at a time (for functions that mostly wait for a process)."""
    pool = Pool(PARALLEL)
    try:
        return pool.map(function, items)
    finally:
        pool.close()
        pool.join()


_CALL = u'''
import sys
import Quillet
facade = Quillet.WMIFacade()
sys.stdout.write('<<<\\n')
try:
    result = facade.%(method)s(%(argument)s)
except Exception as error:
    sys.stdout.write('!!! %%s: %%s\\n' %% (type(error).__name__, error))
else:
    sys.stdout.write('>>> %%r\\n' %% (result,))
%(after)s
del facade
'''


class MethodCall(object):
    """One method call on a fresh object in its own process: `trace` holds the lines the call
    wrote (not the object's creation), `value` what it returned (None when it raised), `error`
    "<exception name>: <message>" or None, `after` the lines written after the call (the code
    run after it, the object's destruction), `run` the Result."""

    def __init__(self, run):
        self.run = run
        lines = run.lines
        if '<<<' not in lines:
            raise AssertionError('the call never started:\n%r\n%r' % (run.stdout, run.stderr))
        start = lines.index('<<<')
        end = next((i for i in range(start, len(lines)) if lines[i][:4] in ('>>> ', '!!! ')), None)
        if end is None:
            raise AssertionError('the call never ended:\n%r\n%r' % (run.stdout, run.stderr))
        self.trace = lines[start + 1:end]
        self.after = lines[end + 1:]
        self.value = ast.literal_eval(lines[end][4:]) if lines[end].startswith('>>> ') else None
        self.error = lines[end][4:] if lines[end].startswith('!!! ') else None

    @property
    def returncode(self):
        return self.run.returncode

    @property
    def stderr(self):
        return self.run.stderr

    @property
    def leaks(self):
        return self.run.leaks


def call(method, argument, mof, faults=None, after=''):
    """Calls facade.<method>(<argument>) once; `argument` is Python source text, `after` code
    run once the call returned (its result is `result`)."""
    code = _CALL % {'method': method, 'argument': argument, 'after': after}
    return MethodCall(run(code, mof=mof, faults=faults))


class ScenarioTestCase(unittest.TestCase):
    maxDiff = None

    def assertClean(self, result):
        """The process (a Result or a MethodCall) exited with 0 and released everything."""
        self.assertEqual(0, result.returncode, result.stderr)
        self.assertEqual(NO_LEAKS, result.leaks)

    def run_clean(self, code, **kwargs):
        """run(code, ...), checked with assertClean."""
        result = run(code, **kwargs)
        self.assertClean(result)
        return result
