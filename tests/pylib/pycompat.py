"""The few names that differ between Python 2 and 3, for tests that run on both."""
import sys

PY3 = sys.version_info[0] >= 3

if PY3:
    text_type = str
    string_types = (str,)
    # What the module returns for values Python 2 gives as long (unsigned 32-bit addresses).
    long_type = int
else:
    text_type = unicode  # noqa: F821 (Python 2 only)
    string_types = (basestring,)  # noqa: F821
    long_type = long  # noqa: F821


def to_text(value, encoding='utf-8'):
    """Command-line arguments and pipe data as text on both versions."""
    return value.decode(encoding) if isinstance(value, bytes) else value
