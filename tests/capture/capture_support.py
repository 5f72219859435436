"""Runs the built QuilletCapture, and the module on what it captured, each in its own process on
the stand-in (scenario.run_program)."""
import io
import os
import shutil
import subprocess
import sys
import tempfile

import scenario
from mof_fixtures import wql_escaped
from source_tree import SOURCE_DIR

HERE = os.path.dirname(os.path.abspath(__file__))
CAPTURE_EXE = os.path.join(os.environ.get('QUILLET_BUILD_DIR', os.path.join(SOURCE_DIR, 'build')),
                           'bin', 'QuilletCapture')


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


def capture(args=(), repository=None, faults=None, **options):
    """Runs QuilletCapture with the arguments against the repository (a path); `options` as
    scenario.run_program takes them (cwd, timeout, preexec_fn)."""
    return scenario.run_program([CAPTURE_EXE] + list(args), repository=repository, faults=faults,
                                **options)


def capture_many(arg_lists, repository):
    """Runs one QuilletCapture per argument list, all at once; returns their exit codes."""
    env = scenario.stand_in_environment(repository)
    with open(os.devnull, 'wb') as null:
        processes = [subprocess.Popen([CAPTURE_EXE] + list(args), stdout=null, stderr=null, env=env)
                     for args in arg_lists]
        return [process.wait() for process in processes]


def replay(workdir, repository, names):
    """Calls every method of the module against the repository; `names` are the instance names
    (as WMI has them) the record methods are asked for. The Result reports 'RESULTS '."""
    names_path = os.path.join(workdir, 'names.txt')
    with io.open(names_path, 'w', encoding='utf-8') as f:
        f.write(u'\n'.join(wql_escaped(name) for name in names))
    child = os.path.join(HERE, 'replay_child.py')
    return scenario.run_program([sys.executable, child, names_path], repository=repository)


def without_capture_time(text):
    """The capture with its time line dropped: the one line two captures of the same data differ in."""
    return u'\n'.join(line for line in text.split(u'\n') if not line.startswith(u'// Captured at: '))
