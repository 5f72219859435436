"""Writes a MOF repository for the benchmark: the sample adapter's HBA, TCP/IP and NIC records
and MPIO timers, and `sessions` initiator sessions with 1 to 4 connections each (2.5 on
average), spread over one adapter per thousand sessions.

usage: make_fixture.py <sessions> <output.mof>
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLE = os.path.join(HERE, '..', 'examples', 'sample_initiator.mof')


def sample_without_sessions():
    """The sample's classes and records, minus its own session instances."""
    with open(SAMPLE, 'rb') as f:
        text = f.read()
    kept = []
    skipping = False
    depth = 0
    for line in text.split('\n'):
        if line.startswith('instance of MSiSCSI_InitiatorSessionInfo'):
            skipping, depth = True, 0
        if skipping:
            depth += line.count('{') - line.count('}')
            if depth == 0 and line.rstrip().endswith('};'):
                skipping = False
            continue
        kept.append(line)
    return '\n'.join(kept)


def connection(number):
    return ('instance of ISCSI_ConnectionStaticInfo { UniqueConnectionId = %d; CID = %d; '
            'AuthType = %d; }' % (0xFFFF000000000000 + number, number % 65536, number % 2))


def session(number, first_connection):
    connections = ', '.join(connection(first_connection + k) for k in range(number % 4 + 1))
    return ('instance of ISCSI_SessionStaticInfo { UniqueSessionId = %d; '
            'TargetiSCSIName = "iqn.2026-12.com.example:storage.target%05d"; '
            'ConnectionsList = { %s }; }' % (0xFFFF100000000000 + number, number, connections))


def fixture(sessions):
    out = [sample_without_sessions()]
    adapters = max(1, sessions // 1000)
    connection_number = 0
    for adapter in range(adapters):
        numbers = range(adapter, sessions, adapters)
        items = []
        for number in numbers:
            items.append(session(number, connection_number))
            connection_number += number % 4 + 1
        out.append('instance of MSiSCSI_InitiatorSessionInfo {\n'
                   '    InstanceName = "ROOT\\\\ISCSIPRT\\\\%04d_0";\n'
                   '    UniqueAdapterId = %d;\n'
                   '    SessionsList = {\n        %s\n    };\n};\n'
                   % (adapter, 0xFFFF200000000000 + adapter, ',\n        '.join(items)))
    return '\n'.join(out)


if __name__ == '__main__':
    with open(sys.argv[2], 'wb') as f:
        f.write(fixture(int(sys.argv[1])))
