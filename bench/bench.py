"""The module's benchmark: each call's time against the floor of its own writes, instructions
per call, the interpreter lock left to other threads, torn lines from threads, memory.

usage: python2.7 bench/bench.py [build-dir] [--baseline=<build-dir>] [--quick]
  build-dir   where Quillet.so was built (default: build)
  --baseline  a build of the code before a change: instructions per call side by side
  --quick     skips the 100,000-call memory growth runs
Prints Markdown tables. Not a test: it asserts nothing.

The floor of a call is its exact trace lines (captured from one call) replayed by a tiny C
program, one write(2) per line, to the same sink; "x floor" is the call's time over that.
"""
import collections
import os
import platform
import re
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
# Instruction counts: calls measured (the difference of two runs cancels start-up).
COUNTED_CALLS = {'GetMSiSCSI_InitiatorSessionInfo': 20}
TORN = (4, 2, 1000)  # threads, objects, calls per thread
ROUNDS = 3  # timing runs of each call and of its floor; the least counts


def module_dir(build):
    # Quillet.so for 2.7, Quillet.cpython-3XX-<platform>.so for 3.x.
    for folder, _, files in os.walk(build):
        if any(name.startswith('Quillet.') and name.endswith('.so') for name in files):
            return folder
    sys.exit('no Quillet module under %s: build first' % build)


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
    start, end = b'\nBENCH-START\n', b'\nBENCH-END\n'
    before = b'\n'
    while True:  # the warm-up's lines, up to the start marker
        chunk = os.read(stream.fileno(), 1 << 20)
        if not chunk:
            return 0
        before = before[-len(start):] + chunk
        found = before.find(start)
        if found >= 0:
            pending = before[found + len(start):]
            break
    lines, tail = 0, b'\n'  # the start marker's line end opens the counted part
    while True:
        combined = tail + pending
        found = combined.find(end)
        if found >= 0:
            return lines + combined[:found + 1].count(b'\n') - tail.count(b'\n')
        lines += pending.count(b'\n')
        tail = combined[-(len(end) - 1):]
        pending = os.read(stream.fileno(), 1 << 20)
        if not pending:
            return lines


def calls_for(sessions):
    return max(3, min(2000, 20000 // sessions))


def environment(module_folder, mof):
    env = dict(os.environ)
    # The children share their thread helpers with the scenario tests.
    env['PYTHONPATH'] = os.pathsep.join((module_folder, os.path.join(ROOT, 'tests', 'pylib')))
    env['WMISIM_REPOSITORY'] = mof
    # python -u (PYTHONUNBUFFERED) makes C stdout unbuffered: the script's own marker lines
    # would then be written in pieces.
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


def build_replay(workdir):
    program = os.path.join(workdir, 'replay')
    subprocess.check_call(['cc', '-O2', '-o', program, os.path.join(HERE, 'replay.c')])
    return program


def capture_lines(env, method, args, workdir):
    """A file holding the exact trace lines of one call (after a warm-up call)."""
    command = [sys.executable, os.path.join(HERE, 'bench_child.py'), method, repr(args), '1',
               'capture']
    output = subprocess.Popen(command, env=env, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE).communicate()[0]
    start, end = b'\nBENCH-START\n', b'\nBENCH-END\n'
    lines = output[output.index(start) + len(start):output.index(end) + 1]
    path = os.path.join(workdir, 'lines-%s-%d' % (method, len(lines)))
    with open(path, 'wb') as f:
        f.write(lines)
    return path, lines.count(b'\n')


def replay(program, lines_file, rounds, sink):
    """Seconds per round of the floor program, to /dev/null or to a pipe drained as it fills."""
    command = [program, lines_file, str(rounds)]
    if sink == 'null':
        with open(os.devnull, 'wb') as devnull:
            process = subprocess.Popen(command, stdout=devnull, stderr=subprocess.PIPE)
            stderr = process.communicate()[1]
    else:
        process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   bufsize=0)
        count_marked_lines(process.stdout)
        stderr = process.stderr.read()
        process.wait()
    return float(stderr.decode('ascii').split()[-1])


def floor_row(label, env, method, args, calls, program, workdir):
    """Each time is the least of ROUNDS runs, the call's and its floor's taken in turn: on a
    shared machine the least is the run that other processes disturbed least."""
    lines_file, lines = capture_lines(env, method, args, workdir)
    best = {}
    for _ in range(ROUNDS):
        for sink in ('null', 'pipe'):
            report = run_child(env, method, args, calls, 'time', sink)
            measured = {('call', sink): report['seconds'],
                        ('floor', sink): replay(program, lines_file, calls, sink)}
            for key, seconds in measured.items():
                best[key] = min(best.get(key, seconds), seconds)
            best[('report', sink)] = report
    null, pipe = best[('report', 'null')], best[('report', 'pipe')]
    us = lambda seconds: '%.1f' % (seconds * 1e6)
    ratio = lambda sink: '%.2f' % (best[('call', sink)] / best[('floor', sink)])
    return row([label, us(best[('call', 'null')]), us(best[('floor', 'null')]), ratio('null'),
                us(best[('call', 'pipe')]), us(best[('floor', 'pipe')]), ratio('pipe'),
                '{:,}'.format(lines),
                '%.2f' % (pipe['writes'] / pipe['lines'] if pipe['lines'] else 0),
                '%.1f' % (max(null['peak_kb'], pipe['peak_kb']) / 1024.0)])


def instructions(env, method, args, calls):
    """Instructions executed by `calls` calls (after a warm-up call) and the process around
    them, under callgrind."""
    out = tempfile.NamedTemporaryFile(prefix='callgrind-', delete=False)
    out.close()
    command = ['valgrind', '--tool=callgrind', '--callgrind-out-file=' + out.name,
               sys.executable, os.path.join(HERE, 'bench_child.py'), method, repr(args),
               str(calls), 'count']
    with open(os.devnull, 'wb') as devnull:
        stderr = subprocess.Popen(command, env=env, stdout=devnull,
                                  stderr=subprocess.PIPE).communicate()[1].decode('ascii', 'replace')
    os.remove(out.name)
    found = re.search(r'Collected : (\d+)', stderr)
    if not found:
        sys.exit('callgrind failed: ' + stderr[-2000:])
    return int(found.group(1))


def instructions_per_call(env, method, args):
    calls = COUNTED_CALLS.get(method, 200)
    return float(instructions(env, method, args, 2 * calls) - instructions(env, method, args, calls)) / calls


def lock_share(env, method, args, faults=None):
    command = [sys.executable, os.path.join(HERE, 'lock_child.py'), method, repr(args)]
    if faults:
        command.append(faults)
    with open(os.devnull, 'wb') as devnull:
        process = subprocess.Popen(command, env=env, stdout=devnull, stderr=subprocess.PIPE)
        stderr = process.communicate()[1].decode('utf-8', 'replace')
    if process.returncode != 0:
        sys.exit('lock_child failed: ' + stderr[-2000:])
    return eval(stderr.strip().splitlines()[-1][len('BENCH '):])


def torn_lines(env, threads, objects, calls):
    """(lines written by the threads, lines among them that are no line of a reference call)."""
    command = [sys.executable, os.path.join(HERE, 'torn_child.py'), NAME.encode('utf-8')
               if sys.version_info[0] < 3 else NAME, str(threads), str(objects), str(calls)]
    output = subprocess.Popen(command, env=env, stdout=subprocess.PIPE).communicate()[0]
    phases = collections.OrderedDict()
    lines = []
    pointer = re.compile(r'^ V_BYREF = 0x[0-9a-f]+$')
    for line in output.decode('utf-8', 'replace').split('\n')[:-1]:
        if line.startswith('PHASE '):
            lines = phases.setdefault(line[len('PHASE '):], [])
        else:
            lines.append(pointer.sub(' V_BYREF = <pointer>', line))
    known = set(line for name, lines in phases.items() if name.startswith('reference ')
                for line in lines)
    written = phases.get('threads', [])
    return len(written), sum(1 for line in written if line not in known)


def have(program):
    return any(os.access(os.path.join(folder, program), os.X_OK)
               for folder in os.environ.get('PATH', '').split(os.pathsep))


def main():
    arguments = [a for a in sys.argv[1:] if not a.startswith('--')]
    options = dict(a[2:].partition('=')[::2] for a in sys.argv[1:] if a.startswith('--'))
    quick = 'quick' in options
    build = os.path.abspath(arguments[0] if arguments else os.path.join(ROOT, 'build'))
    baseline = os.path.abspath(options['baseline']) if options.get('baseline') else None
    workdir = tempfile.mkdtemp(prefix='quillet-bench-')
    program = build_replay(workdir)
    module = module_dir(build)
    print('Machine: %s, %d cores, %s; Python %s' % (cpu_name(), os.sysconf('SC_NPROCESSORS_ONLN'),
                                                    platform.platform(), platform.python_version()))
    print('')
    print(row(['call', 'us/call (null)', 'floor (null)', 'x floor (null)', 'us/call (pipe)',
               'floor (pipe)', 'x floor (pipe)', 'trace lines/call', 'writes/line', 'peak MB']))
    print(row(['---'] * 10))
    fixtures = dict((sessions, fixture(workdir, sessions)) for sessions in SESSION_COUNTS)
    small = environment(module, fixtures[1])
    for sessions in SESSION_COUNTS:
        env = environment(module, fixtures[sessions])
        emit(floor_row('%s, {:,} sessions'.format(sessions) % SESSIONS[0], env, SESSIONS[0],
                       SESSIONS[1], calls_for(sessions), program, workdir))
    for method, args in RECORD_METHODS:
        emit(floor_row(method, small, method, args, 2000, program, workdir))

    if have('valgrind'):
        print('')
        print(row(['instructions per call (callgrind)', 'before', 'after', 'after / before']))
        print(row(['---'] * 4))
        ten = fixtures[10]
        for method, args in ((SESSIONS[0] + ', 10 sessions', SESSIONS[1]),) + RECORD_METHODS:
            name = method.split(',')[0]
            fixture_file = ten if name == SESSIONS[0] else fixtures[1]
            after = instructions_per_call(environment(module, fixture_file), name, args)
            before = (instructions_per_call(environment(module_dir(baseline), fixture_file), name,
                                            args) if baseline else None)
            emit(row([method, '{:,.0f}'.format(before) if before else '-', '{:,.0f}'.format(after),
                      '%.2f' % (after / before) if before else '-']))

    print('')
    print(row(['interpreter lock: a counting thread while another calls', 'call (s)',
               'counts/s alone', 'counts/s during the call', 'share']))
    print(row(['---'] * 5))
    for sessions, faults in ((10000, None), (100, 'Delay:Get=1')):
        report = lock_share(environment(module, fixtures[sessions]), SESSIONS[0], SESSIONS[1],
                            faults)
        label = '%s, {:,} sessions'.format(sessions) % SESSIONS[0] + (
            ', WMISIM_FAULTS=' + faults if faults else '')
        emit(row([label, '%.2f' % report['seconds'], '{:,.0f}'.format(report['solo']),
                  '{:,.0f}'.format(report['loaded']),
                  '%.1f%%' % (100.0 * report['loaded'] / report['solo'])]))

    print('')
    print(row(['torn lines: threads x objects x calls (HBA and TCP/IP)', 'lines',
               'not whole (before)', 'not whole (after)']))
    print(row(['---'] * 4))
    before = (torn_lines(environment(module_dir(baseline), fixtures[1]), *TORN)[1]
              if baseline else '-')
    written, torn = torn_lines(small, *TORN)
    emit(row(['%d x %d x {:,}'.format(TORN[2]) % TORN[:2], '{:,}'.format(written), str(before),
              str(torn)]))

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
