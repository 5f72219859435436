"""Where the tests find the repository's own files, wherever the test itself lives."""
import os

SOURCE_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
SAMPLE_MOF = os.path.join(SOURCE_DIR, 'examples', 'sample_initiator.mof')


def version():
    with open(os.path.join(SOURCE_DIR, 'VERSION')) as f:
        return f.read().strip()
