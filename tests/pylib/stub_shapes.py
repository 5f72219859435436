"""The shapes the stub Quillet.pyi declares, read from the stub itself, and a check of a value
against them.

describe() parses the stub with `ast` into plain data: its type aliases, its TypedDicts (key ->
annotation) and the return annotation of each function and method. An annotation is a name
("int", "str", a TypedDict or alias name, "None") or a list [generic, argument...], where a
Literal's arguments are the values themselves. Python 2.7 cannot parse the stub, so there it
asks Debian's python3 to run this file, which prints the description as JSON.

Runs unchanged on Python 2.7 and 3.
"""
import json
import os
import subprocess
import sys

from pycompat import PY3, text_type
from scenario import tool_environment
from source_tree import SOURCE_DIR

STUB = os.path.join(SOURCE_DIR, 'Quillet.pyi')
DEBIAN_PYTHON3 = '/usr/bin/python3'
INTEGER_TYPES = (int,) if PY3 else (int, long)  # noqa: F821 (Python 2 only)


def _annotation(node):
    import ast
    if isinstance(node, ast.Name):
        return node.id
    if isinstance(node, ast.Attribute):
        return node.attr
    if isinstance(node, ast.Constant):
        return 'None' if node.value is None else node.value
    if isinstance(node, ast.Subscript):
        base = _annotation(node.value)
        arguments = node.slice.elts if isinstance(node.slice, ast.Tuple) else [node.slice]
        return [base] + [_annotation(argument) for argument in arguments]
    raise ValueError('unsupported annotation: %s' % ast.dump(node))


def _parse(path):
    import ast
    with open(path) as f:
        tree = ast.parse(f.read(), path)
    description = {'aliases': {}, 'typeddicts': {}, 'functions': {}, 'texts': {}}

    def function(node, prefix):
        name = prefix + node.name
        description['functions'][name] = _annotation(node.returns)

    for node in tree.body:
        if isinstance(node, ast.Assign) and len(node.targets) == 1:
            description['aliases'][node.targets[0].id] = _annotation(node.value)
        elif isinstance(node, ast.FunctionDef):
            function(node, '')
        elif isinstance(node, ast.ClassDef):
            if any(_annotation(base) == 'TypedDict' for base in node.bases):
                fields = [(item.target.id, _annotation(item.annotation), ast.unparse(item.annotation))
                          for item in node.body if isinstance(item, ast.AnnAssign)]
                description['typeddicts'][node.name] = [[key, annotation] for key, annotation, _ in fields]
                description['texts'][node.name] = [[key, text] for key, _, text in fields]
            else:
                for item in node.body:
                    if isinstance(item, ast.FunctionDef) and not item.name.startswith('__'):
                        function(item, node.name + '.')
    return description


def describe(path=STUB):
    """The stub's description; on Python 2 through Debian's python3."""
    if PY3:
        return _parse(path)
    output = subprocess.check_output([DEBIAN_PYTHON3, os.path.abspath(__file__), path],
                                     env=tool_environment())
    return _native(json.loads(output.decode('utf-8')))


def _native(value):
    """JSON's unicode texts as Python 2's str, the type of the module's dictionary keys."""
    if isinstance(value, dict):
        return dict((str(key), _native(item)) for key, item in value.items())
    if isinstance(value, list):
        return [_native(item) for item in value]
    if isinstance(value, text_type):
        return str(value)
    return value


def problems(value, annotation, description, where='result'):
    """What in value does not conform to the annotation, as a list of texts (empty: conforms)."""
    if isinstance(annotation, list):
        generic, arguments = annotation[0], annotation[1:]
        return _GENERICS[generic](value, arguments, description, where)
    if annotation in description['aliases']:
        return problems(value, description['aliases'][annotation], description, where)
    if annotation in description['typeddicts']:
        return _typeddict_problems(value, description['typeddicts'][annotation], description, where)
    fits = {'int': lambda v: isinstance(v, INTEGER_TYPES) and not isinstance(v, bool),
            'str': lambda v: isinstance(v, text_type),
            'None': lambda v: v is None,
            'NoReturn': lambda v: False}[annotation]
    return [] if fits(value) else ['%s: %r is not %s' % (where, value, annotation)]


def _typeddict_problems(value, fields, description, where):
    if not isinstance(value, dict):
        return ['%s: %r is not a dict' % (where, value)]
    declared = [key for key, _ in fields]
    if sorted(value) != sorted(declared):
        return ['%s: keys %r, declared %r' % (where, sorted(value), sorted(declared))]
    found = []
    for key, annotation in fields:
        found += problems(value[key], annotation, description, '%s[%r]' % (where, key))
    return found


def _union(value, arguments, description, where):
    if any(not problems(value, argument, description, where) for argument in arguments):
        return []
    return ['%s: %r matches none of %r' % (where, value, arguments)]


def _sequence(kind):
    def check(value, arguments, description, where):
        if not isinstance(value, kind):
            return ['%s: %r is not a %s' % (where, value, kind.__name__)]
        if kind is tuple and len(value) != len(arguments):
            return ['%s: %d items, declared %d' % (where, len(value), len(arguments))]
        found = []
        for index, item in enumerate(value):
            annotation = arguments[index] if kind is tuple else arguments[0]
            found += problems(item, annotation, description, '%s[%d]' % (where, index))
        return found
    return check


def _dict(value, arguments, description, where):
    if not isinstance(value, dict):
        return ['%s: %r is not a dict' % (where, value)]
    found = []
    for key, item in value.items():
        found += problems(key, arguments[0], description, where + ' key')
        found += problems(item, arguments[1], description, '%s[%r]' % (where, key))
    return found


def _literal(value, arguments, description, where):
    if isinstance(value, bool) or value not in arguments:
        return ['%s: %r is not one of %r' % (where, value, arguments)]
    return []


_GENERICS = {
    'Union': _union,
    'Optional': lambda value, arguments, description, where: _union(
        value, arguments + ['None'], description, where),
    'List': _sequence(list),
    'Tuple': _sequence(tuple),
    'Dict': _dict,
    'Literal': _literal,
}


if __name__ == '__main__':
    sys.stdout.write(json.dumps(_parse(sys.argv[1])))
