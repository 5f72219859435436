"""The module's benchmark: time, trace lines, write system calls and memory per call, for
session fixtures of 1 to 10,000 sessions, traces sent to /dev/null and to a pipe.

usage: python2.7 bench/bench.py [build-dir] [--quick]
  build-dir  where Quillet.so was built (default: build); --quick skips the 100,000-call
             memory growth runs.
Prints a Markdown table. Not a test: it asserts nothing.
"""
import os
import platform
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SESSION_COUNTS = (1, 10, 100, 1000, 10000)
GROWTH_CALLS = 100000
NAME = u'PCI\\\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\\\4&1c3f0a2b&0&00E0_0'  # WQL-escaped
RECORD_METHODS = (('GetMSiSCSI_HBAInformation', (NAME,)), ('GetMSiSCSI_TCPIPConfig', (NAME,)),
                  ('GetMSiSCSI_NICConfig', (NAME,)), ('GetPDORemovePeriod', ()),
                  ('SetPDORemovePeriod', (20,)))
SESSIONS = ('GetMSiSCSI_InitiatorSessionInfo', (u'',))


def module_dir(build):
    for folder, _, files in os.walk(build):
        if 'Quillet.so' in files:
            return folder
    sys.exit('no Quillet.so under %s: build first' % build)


def run_child(env, method, args, calls, mode, sink):
    command = [sys.executable, os.path.join(HERE, 'bench_child.py'), method, repr(args),
               str(calls), mode]
    if sink == 'null':
        with open(os.devnull, 'wb') as devnull:
            process = subprocess.Popen(command, env=env, stdout=devnull, stderr=subprocess.PIPE)
            _, stderr = process.communicate()
        lines = None
    else:
        process = subprocess.Popen(command, env=env, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, bufsize=0)
        lines = count_marked_lines(process.stdout)
        stderr = process.stderr.read()
        process.wait()
    if process.returncode != 0:
        sys.exit('%s %s failed: %s' % (method, mode, stderr[-2000:]))
    report = eval(stderr.strip().splitlines()[-1][len('BENCH '):])
    if lines is not None:
        report['lines'] = float(lines) / calls
    return report


def count_marked_lines(stream):
    """Lines between the BENCH-START and BENCH-END lines, read as they come (in large reads, so
    that the reader never holds the writer back)."""
    start, end = '\nBENCH-START\n', '\nBENCH-END\n'
    before = '\n'
    while True:  # the warm-up's lines, up to the start marker
        chunk = os.read(stream.fileno(), 1 << 20)
        if not chunk:
            return 0
        before = before[-len(start):] + chunk
        found = before.find(start)
        if found >= 0:
            pending = before[found + len(start):]
            break
    lines, tail = 0, '\n'  # the start marker's line end opens the counted part
    while True:
        combined = tail + pending
        found = combined.find(end)
        if found >= 0:
            return lines + combined[:found + 1].count('\n') - tail.count('\n')
        lines += pending.count('\n')
        tail = combined[-(len(end) - 1):]
        pending = os.read(stream.fileno(), 1 << 20)
        if not pending:
            return lines


def calls_for(sessions):
    return max(3, min(2000, 20000 // sessions))


def environment(build, mof):
    env = dict(os.environ)
    env['PYTHONPATH'] = module_dir(build)
    env['WMISIM_REPOSITORY'] = mof
    # python -u (PYTHONUNBUFFERED) makes C stdout unbuffered: every fragment of a trace line
    # would then be a write of its own, about four per line.
    for name in ('WMISIM_LOG', 'WMISIM_FAULTS', 'PYTHONUNBUFFERED'):
        env.pop(name, None)
    return env


def fixture(workdir, sessions):
    path = os.path.join(workdir, 'sessions-%d.mof' % sessions)
    subprocess.check_call([sys.executable, os.path.join(HERE, 'make_fixture.py'), str(sessions),
                           path])
    return path


def row(cells):
    return '| ' + ' | '.join(cells) + ' |'


def timing_row(label, per, null, pipe):
    """`per`: sessions in the fixture, None for calls that read no sessions."""
    def per_session(report):
        return '%.2f' % (report['seconds'] * 1e6 / per) if per else '-'
    return row([label, '%.1f' % (null['seconds'] * 1e6), '%.1f' % (pipe['seconds'] * 1e6),
                per_session(null), per_session(pipe),
                '%.1f' % pipe['lines'], '%.1f' % pipe['writes'],
                '%.2f' % (pipe['writes'] / pipe['lines'] if pipe['lines'] else 0),
                '%.1f' % (max(null['peak_kb'], pipe['peak_kb']) / 1024.0)])


def main():
    arguments = [a for a in sys.argv[1:] if not a.startswith('--')]
    quick = '--quick' in sys.argv
    build = os.path.abspath(arguments[0] if arguments else os.path.join(ROOT, 'build'))
    workdir = tempfile.mkdtemp(prefix='quillet-bench-')
    print('Machine: %s, %d cores, %s; Python %s' % (cpu_name(), os.sysconf('SC_NPROCESSORS_ONLN'),
                                                    platform.platform(), platform.python_version()))
    print('')
    print(row(['call', 'us/call (null)', 'us/call (pipe)', 'us/session (null)',
               'us/session (pipe)', 'trace lines/call', 'writes/call', 'writes/line',
               'peak MB']))
    print(row(['---'] * 9))
    small = environment(build, fixture(workdir, 1))
    for sessions in SESSION_COUNTS:
        env = small if sessions == 1 else environment(build, fixture(workdir, sessions))
        calls = calls_for(sessions)
        null = run_child(env, SESSIONS[0], SESSIONS[1], calls, 'time', 'null')
        pipe = run_child(env, SESSIONS[0], SESSIONS[1], calls, 'time', 'pipe')
        emit(timing_row('%s, %d sessions' % (SESSIONS[0], sessions), sessions, null, pipe))
    for method, args in RECORD_METHODS:
        null = run_child(small, method, args, 2000, 'time', 'null')
        pipe = run_child(small, method, args, 2000, 'time', 'pipe')
        emit(timing_row(method, None, null, pipe))
    if quick:
        return
    print('')
    print(row(['call (1 session fixture, traces to /dev/null)', 'RSS after 1,000 calls (KB)',
               'RSS after {:,} more (KB)'.format(GROWTH_CALLS), 'growth (KB)']))
    print(row(['---'] * 4))
    for method, args in (SESSIONS,) + RECORD_METHODS:
        report = run_child(small, method, args, GROWTH_CALLS, 'growth', 'null')
        emit(row([method, str(report['before_kb']), str(report['after_kb']),
                  str(report['after_kb'] - report['before_kb'])]))


def emit(text):
    """Prints a table row at once: a full run takes minutes."""
    print(text)
    sys.stdout.flush()


def cpu_name():
    try:
        with open('/proc/cpuinfo') as f:
            for line in f:
                if line.startswith('model name'):
                    return line.split(':', 1)[1].strip()
    except IOError:
        pass
    return platform.processor() or 'unknown CPU'


if __name__ == '__main__':
    main()
