"""docs/reference.md cannot drift from Quillet.pyi: for every TypedDict of the stub the reference
has a key table under a heading naming it, with the same keys in the same order and each key's
type written as in the stub, and a section for every method the stub declares."""
import io
import os
import re
import unittest

from source_tree import SOURCE_DIR
import stub_shapes

REFERENCE = os.path.join(SOURCE_DIR, 'docs', 'reference.md')
HEADING = re.compile(r'^#+ .*`(\w+)`')
ROW = re.compile(r'^\| `(\w+)` \| `([^`]+)` \|')


def key_tables(text):
    """{name in a heading's backticks: [(key, type)] of the table rows that follow it}"""
    tables, current = {}, None
    for line in text.splitlines():
        heading = HEADING.match(line)
        if heading:
            current = heading.group(1)
        row = ROW.match(line)
        if row and current:
            tables.setdefault(current, []).append([row.group(1), row.group(2)])
    return tables


class ReferenceTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.stub = stub_shapes.describe()
        with io.open(REFERENCE, encoding='utf-8') as f:
            cls.text = f.read()

    def test_every_key_table_matches_the_stub(self):
        tables = key_tables(self.text)
        for name, fields in sorted(self.stub['texts'].items()):
            self.assertEqual(fields, tables.get(name), 'table of %s in docs/reference.md' % name)

    def test_every_method_has_a_section(self):
        headings = set(match.group(1) for match in map(HEADING.match, self.text.splitlines()) if match)
        for function in self.stub['functions']:
            self.assertIn(function.split('.')[-1], headings)


if __name__ == '__main__':
    unittest.main()
