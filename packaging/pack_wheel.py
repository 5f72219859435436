"""Makes a wheel of a module built outside setup.py (the cross-built Windows .pyd, the 2.7
Linux module), with the wheel package's own `wheel pack`.

    python3 packaging/pack_wheel.py <module file> <tag> <sdist> <dest dir>

The wheel's METADATA is the sdist's PKG-INFO, so that every artifact of a release describes
the same package; Quillet.pyi goes beside the module when the tree has it, and again as the
stub-only package Quillet-stubs, where mypy looks for an installed module's types.
"""
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
STUBS = os.path.join(HERE, '..', 'Quillet.pyi')


def sdist_metadata(sdist):
    """The PKG-INFO text of the sdist, and the name and version it declares."""
    with tarfile.open(sdist) as archive:
        member = next(m for m in archive.getmembers() if m.name.count('/') == 1
                      and m.name.endswith('/PKG-INFO'))
        text = archive.extractfile(member).read().decode('utf-8')
    headers = dict(line.split(': ', 1) for line in text.split('\n\n', 1)[0].splitlines()
                   if ': ' in line and not line.startswith(' '))
    return text, headers['Name'], headers['Version']


def wheel_file(tag):
    return ('Wheel-Version: 1.0\n'
            'Generator: packaging/pack_wheel.py (wheel pack)\n'
            'Root-Is-Purelib: false\n'
            'Tag: %s\n' % tag)


def pack(module, tag, sdist, dest, stubs=STUBS):
    metadata, name, version = sdist_metadata(sdist)
    tree = tempfile.mkdtemp(prefix='wheel-')
    try:
        shutil.copy(module, tree)
        if os.path.exists(stubs):
            shutil.copy(stubs, tree)
            os.mkdir(os.path.join(tree, 'Quillet-stubs'))
            shutil.copy(stubs, os.path.join(tree, 'Quillet-stubs', '__init__.pyi'))
        dist_info = os.path.join(tree, '%s-%s.dist-info' % (name, version))
        os.mkdir(dist_info)
        with open(os.path.join(dist_info, 'METADATA'), 'w', encoding='utf-8') as f:
            f.write(metadata)
        with open(os.path.join(dist_info, 'WHEEL'), 'w', encoding='utf-8') as f:
            f.write(wheel_file(tag))
        if not os.path.isdir(dest):
            os.makedirs(dest)
        subprocess.check_call([sys.executable, '-m', 'wheel', 'pack', '-d', dest, tree])
    finally:
        shutil.rmtree(tree)


if __name__ == '__main__':
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    pack(*sys.argv[1:])
