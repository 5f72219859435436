"""Runs the built QuilletCapture and the module on the stand-in, each in its own process.

Runs unchanged on Python 2.7 and 3: bytes in and out of processes, text decoded as UTF-8.
"""
import io
import os
import shutil
import subprocess
import sys
import tempfile
import threading

from source_tree import SAMPLE_MOF, SOURCE_DIR

HERE = os.path.dirname(os.path.abspath(__file__))
CAPTURE_EXE = os.path.join(os.environ.get('QUILLET_BUILD_DIR', os.path.join(SOURCE_DIR, 'build')),
                           'bin', 'QuilletCapture')
NO_LEAKS = 'leaks: com=0 bstr=0 safearray=0'

# The adapters of the sample repository, as WMI names them and as a WQL literal wants them.
SAMPLE_ADAPTERS = (u'PCI\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\4&1c3f0a2b&0&00E0_0',
                   u'PCI\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\4&1c3f0a2b&0&00E1_1')


def wql_escaped(name):
    return name.replace(u'\\', u'\\\\').replace(u'"', u'\\"')


class Workdir(object):
    """A temporary folder, removed on exit."""

    def __enter__(self):
        self.path = tempfile.mkdtemp(prefix='quillet-capture-')
        return self

    def __exit__(self, *exc):
        shutil.rmtree(self.path, ignore_errors=True)

    def file(self, name, content=None):
        path = os.path.join(self.path, name)
        if content is not None:
            with open(path, 'wb') as f:
                f.write(content.encode('utf-8') if not isinstance(content, bytes) else content)
        return path


class Run(object):
    def __init__(self, returncode, stdout, stderr, log):
        self.returncode, self.stdout, self.stderr, self.log = returncode, stdout, stderr, log

    @property
    def text(self):
        return self.stdout.decode('utf-8')


def _environment(workdir, repository, faults):
    env = dict(os.environ)
    for name in ('WMISIM_REPOSITORY', 'WMISIM_FAULTS', 'WMISIM_LOG'):
        env.pop(name, None)
    if repository:
        env['WMISIM_REPOSITORY'] = repository
    if faults:
        env['WMISIM_FAULTS'] = faults
    log = os.path.join(workdir, 'calls-%d.log' % len(os.listdir(workdir)))
    env['WMISIM_LOG'] = log
    return env, log


def _run(command, workdir, repository, faults, cwd=None, timeout=None, preexec_fn=None):
    env, log = _environment(workdir, repository, faults)
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env, cwd=cwd,
                               preexec_fn=preexec_fn)
    # Python 2.7's communicate() has no timeout: a process that hangs is killed instead.
    killer = threading.Timer(timeout, process.kill) if timeout else None
    if killer:
        killer.start()
    try:
        out, err = process.communicate()
    finally:
        if killer:
            killer.cancel()
    lines = []
    if os.path.exists(log):
        with io.open(log, encoding='utf-8', errors='replace') as f:
            lines = f.read().splitlines()
    return Run(process.returncode, out, err.decode('utf-8', 'replace'), lines)


def capture(workdir, args=(), repository=None, faults=None, cwd=None, timeout=None, preexec_fn=None):
    """Runs QuilletCapture with the arguments against the repository (a path)."""
    return _run([CAPTURE_EXE] + list(args), workdir, repository, faults, cwd, timeout, preexec_fn)


def capture_many(workdir, arg_lists, repository):
    """Runs one QuilletCapture per argument list, all at once; returns their exit codes."""
    env, _ = _environment(workdir, repository, None)
    del env['WMISIM_LOG']
    with open(os.devnull, 'wb') as null:
        processes = [subprocess.Popen([CAPTURE_EXE] + list(args), stdout=null, stderr=null, env=env)
                     for args in arg_lists]
        return [process.wait() for process in processes]


def replay(workdir, repository, names):
    """Calls every method of the module against the repository; `names` are the instance names
    (as WMI has them) the record methods are asked for. Returns the Run; its stderr ends with
    the line "RESULTS <repr>"."""
    names_path = os.path.join(workdir, 'names.txt')
    with io.open(names_path, 'w', encoding='utf-8') as f:
        f.write(u'\n'.join(wql_escaped(name) for name in names))
    child = os.path.join(HERE, 'replay_child.py')
    return _run([sys.executable, child, names_path], workdir, repository, None)


def results_of(run):
    for line in reversed(run.stderr.splitlines()):
        if line.startswith('RESULTS '):
            return line[len('RESULTS '):]
    return None


def without_capture_time(text):
    """The capture with its time line dropped: the one line two captures of the same data differ in."""
    return u'\n'.join(line for line in text.split(u'\n') if not line.startswith(u'// Captured at: '))
