"""trace_lines_probe.exe under Wine: trace lines reach a pipe as UTF-8 and a console (Wine's,
on a pseudo-terminal) as the characters themselves, and no wide line is lost after a
character the "C" locale cannot convert.

Environment: TRACE_PROBE (the .exe), WINE_LAUNCHER (the command words that run it)."""
from __future__ import print_function

import errno
import os
import pty
import re
import subprocess
import unittest

COMMAND = os.environ['WINE_LAUNCHER'].split() + [os.environ['TRACE_PROBE']]
SKIPPED = b'SKIPPED: Wine cannot start'
FIRST = u'caf\u00e9 \u4e2d \U0001F600'
LATER = [u'Name = x type = 8', u'hbaInstName = ROOT\\\u00c9', u'1a', u'26', u'last wide line']


def read_all(fd):
    chunks = []
    while True:
        try:
            chunk = os.read(fd, 65536)
        except OSError as error:  # the terminal's other side closed
            if error.errno == errno.EIO:
                break
            raise
        if not chunk:
            break
        chunks.append(chunk)
    return b''.join(chunks)


class TraceUnderWine(unittest.TestCase):
    def skip_if_no_wine(self, output):
        if output.startswith(SKIPPED):
            self.skipTest(output.decode('utf-8', 'replace'))

    def test_pipe_gets_utf8_with_windows_line_ends(self):
        process = subprocess.Popen(COMMAND, stdout=subprocess.PIPE)
        output = process.communicate()[0]
        self.skip_if_no_wine(output)
        self.assertEqual(0, process.returncode)
        expected = u''.join(line + u'\r\n' for line in [FIRST] + LATER)
        self.assertEqual(expected, output.decode('utf-8'))

    def test_console_shows_the_characters_and_keeps_every_line(self):
        master, slave = pty.openpty()
        process = subprocess.Popen(COMMAND, stdout=slave)
        os.close(slave)
        output = read_all(master)
        os.close(master)
        process.wait()
        self.skip_if_no_wine(output)
        self.assertEqual(0, process.returncode)
        # Wine's console hides and shows the cursor around each write; the terminal turns the
        # console's line ends into \r\r\n.
        text = re.sub(u'\x1b\\[\\?25[lh]', u'', output.decode('utf-8')).replace(u'\r', u'')
        lines = text.split(u'\n')
        # Wine's console shows a character beyond the 16-bit range as two replacement marks
        # (one per surrogate); what the console got is the text, not bytes in its code page.
        self.assertEqual(FIRST.replace(u'\U0001F600', u'\ufffd\ufffd'), lines[0])
        self.assertEqual(LATER + [u''], lines[1:])


if __name__ == '__main__':
    unittest.main()
