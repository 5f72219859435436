"""The output file: replaced in one step by a file of the capture's own, so that FILE is always
either its old content or one whole capture, whatever else runs or lies beside it, and the exit
code says what happened to this process's capture."""
import io
import os
import resource
import threading
import unittest

import capture_support as support
from source_tree import SAMPLE_MOF

COMPLETE, OUTPUT = 0, 6
OLD_CONTENT = u'// the previous capture\n'


def read(path):
    with io.open(path, encoding='utf-8', errors='replace') as f:
        return f.read()


def leftovers(work, *expected):
    """What the capture left in the folder beyond the expected names and the call logs."""
    return sorted(name for name in os.listdir(work.path)
                  if name not in expected and not name.startswith('calls-'))


class PlantedFileTest(unittest.TestCase):
    def test_nothing_beside_the_file_is_followed_overwritten_or_waited_on(self):
        with support.Workdir() as work:
            target = work.file('host.mof', OLD_CONTENT)
            victim = work.file('victim', u'keep me\n')
            fifo = work.file('fifo')
            os.mkfifo(fifo)
            for plant in (lambda path: os.symlink(victim, path), lambda path: os.link(victim, path),
                          lambda path: os.symlink(fifo, path), os.mkfifo):
                planted = target + '.partial'
                plant(planted)
                run = support.capture(['/o', target], repository=SAMPLE_MOF, timeout=20)
                self.assertEqual((COMPLETE, u''), (run.returncode, run.error_text))
                self.assertTrue(read(target).startswith(u'// Captured by QuilletCapture'))
                self.assertEqual(u'keep me\n', read(victim))
                os.remove(planted)
            self.assertEqual([], leftovers(work, 'host.mof', 'victim', 'fifo'))


class ConcurrentCaptureTest(unittest.TestCase):
    ROUNDS, WRITERS = 10, 4

    def test_the_file_is_always_old_or_one_whole_capture(self):
        with support.Workdir() as work:
            reference = support.without_capture_time(
                support.capture([], repository=SAMPLE_MOF).text)
            target = work.file('host.mof')
            seen = set()
            for _ in range(self.ROUNDS):
                with io.open(target, 'w', encoding='utf-8') as f:
                    f.write(OLD_CONTENT)
                done = threading.Event()

                def watch():
                    while not done.is_set():
                        seen.add(support.without_capture_time(read(target)))
                watcher = threading.Thread(target=watch)
                watcher.start()
                try:
                    codes = support.capture_many([['/o', target]] * self.WRITERS,
                                                 repository=SAMPLE_MOF)
                finally:
                    done.set()
                    watcher.join()
                self.assertEqual([COMPLETE] * self.WRITERS, codes)
                self.assertEqual(reference, support.without_capture_time(read(target)))
                self.assertEqual([], leftovers(work, 'host.mof'))
            self.assertEqual(set(), seen - set([OLD_CONTENT, reference]))


class LimitTest(unittest.TestCase):
    def test_a_file_size_limit_fails_the_output_and_removes_the_temporary_file(self):
        def limit():
            resource.setrlimit(resource.RLIMIT_FSIZE, (4096, 4096))
        with support.Workdir() as work:
            target = work.file('host.mof', OLD_CONTENT)
            # No call log: the limit holds for every file the process writes, the stand-in's too.
            run = support.capture(['/o', target], repository=SAMPLE_MOF, preexec_fn=limit, log=False)
            self.assertEqual(OUTPUT, run.returncode, run.error_text)
            self.assertEqual(u'QuilletCapture: cannot write %s: File too large\n' % target, run.error_text)
            self.assertEqual(OLD_CONTENT, read(target))
            self.assertEqual([], leftovers(work, 'host.mof'))

    def test_a_name_of_250_characters_is_written(self):
        with support.Workdir() as work:
            run = support.capture(['/o', 'h' * 250], repository=SAMPLE_MOF, cwd=work.path)
            self.assertEqual((COMPLETE, u''), (run.returncode, run.error_text))
            self.assertEqual(['h' * 250], leftovers(work))


if __name__ == '__main__':
    unittest.main()
