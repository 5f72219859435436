"""Runs the built setup command as a process with the stand-in setup library.

OSTRAND_EXE names the program. OSTRAND_LAUNCHER, when set, is a command put in front of it
(for example an emulator); its words are separated by spaces.
"""
import collections
import os
import shutil
import subprocess
import sys
import tempfile

Run = collections.namedtuple('Run', 'status stdout stderr log')

_STANDIN_VARIABLES = ('OSTRAND_LOG', 'OSTRAND_RESULT')


def _text(data):
    """Output and log as the str the tests compare: unchanged on Python 2; on Python 3 decoded
    the way the arguments (str) were encoded, so a byte that went out comes back the same."""
    if data is None or isinstance(data, str):
        return data
    return data.decode(sys.getfilesystemencoding(), 'surrogateescape')


def executable():
    return os.environ['OSTRAND_EXE']


def launcher():
    return os.environ.get('OSTRAND_LAUNCHER', '').split()


def run(args, result=None, exe=None, env=None, unset=(), shell_line=None):
    """Runs the program with `args`, or the POSIX shell command line `shell_line` (in which
    "$OSTRAND" is the program); returns Run. Its status is the exit status, or the negated
    signal number for a crash; its log is the library's log as str, or None when the library
    was never called. `env` adds variables, `unset` removes them. Behind a launcher,
    stdout's Windows line ends are read as "\\n"."""
    workdir = tempfile.mkdtemp(prefix='ostrand-')
    try:
        log_path = os.path.join(workdir, 'calls.log')
        environment = dict(os.environ)
        for name in _STANDIN_VARIABLES + tuple(unset):
            environment.pop(name, None)
        environment['OSTRAND_LOG'] = log_path
        if result is not None:
            environment['OSTRAND_RESULT'] = str(result)
        environment.update(env or {})
        command = launcher() + [exe or executable()]
        if shell_line is None:
            command += list(args)
        else:
            environment['OSTRAND'] = command[-1]
            command = ['/bin/sh', '-c', shell_line]
        with open(os.devnull, 'rb') as devnull:
            process = subprocess.Popen(command, env=environment, stdin=devnull,
                                       stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            stdout, stderr = process.communicate()
        log = None
        if os.path.exists(log_path):
            with open(log_path, 'rb') as f:
                log = f.read()
        stdout, stderr, log = _text(stdout), _text(stderr), _text(log)
        if launcher():
            stdout = stdout.replace('\r\n', '\n')
        return Run(process.returncode, stdout, stderr, log)
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
