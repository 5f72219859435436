"""Where the tests find the repository's own files, wherever the test itself lives."""
import os

SOURCE_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
SAMPLE_MOF = os.path.join(SOURCE_DIR, 'examples', 'sample_initiator.mof')
# The adapters of the sample repository, as WMI names them.
SAMPLE_ADAPTERS = (u'PCI\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\4&1c3f0a2b&0&00E0_0',
                   u'PCI\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\4&1c3f0a2b&0&00E1_1')


def version():
    with open(os.path.join(SOURCE_DIR, 'VERSION')) as f:
        return f.read().strip()


def sample_mof():
    """The sample repository's text, for a scenario that gets a copy of its own (the stand-in
    writes stored values back to its repository file)."""
    with open(SAMPLE_MOF, 'rb') as f:
        return f.read().decode('utf-8')
