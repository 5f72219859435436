"""What the child processes that run threads share (the scenario tests' and the benchmark's):
phase markers on stdout, numbered threads run to the end, and a thread that counts while the
main thread calls."""
import sys
import threading
import time


def marker(text):
    """A line of its own, "PHASE <text>", flushed so that it stands in order among the module's
    lines."""
    sys.stdout.write('PHASE %s\n' % text)
    sys.stdout.flush()


def run_threads(worker, count):
    """worker(0) to worker(count - 1), each on a thread of its own, all started before any is
    joined."""
    threads = [threading.Thread(target=worker, args=(n,)) for n in range(count)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()


class Counter(object):
    """A Python thread that counts as fast as the interpreter lets it: the counts made during a
    call tell how much of the interpreter lock the call left to other threads."""

    def __init__(self):
        self.count = 0
        self._running = True
        self._thread = threading.Thread(target=self._count)
        self._thread.start()

    def _count(self):
        while self._running:
            self.count += 1

    def during(self, action):
        """(the seconds action took, the counts made meanwhile)."""
        before, started = self.count, time.time()
        action()
        return time.time() - started, self.count - before

    def stop(self):
        self._running = False
        self._thread.join()
