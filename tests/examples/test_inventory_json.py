"""inventory.py --json: the document is valid against docs/inventory.schema.json (checked by
Debian's python3 with jsonschema), holds no trace, and carries the module's own results, on the
sample repository, on a capture of it and with each section failing in turn."""
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest

from module_results import module_results
from mof_fixtures import wql_escaped
from scenario import stand_in_environment, tool_environment
from source_tree import SAMPLE_MOF, SOURCE_DIR, version

SCRIPT = os.path.join(SOURCE_DIR, 'examples', 'inventory.py')
SCHEMA = os.path.join(SOURCE_DIR, 'docs', 'inventory.schema.json')
DEBIAN_PYTHON3 = '/usr/bin/python3'
CAPTURE_EXE = os.path.join(os.environ.get('QUILLET_BUILD_DIR', 'build'), 'bin', 'QuilletCapture')
ADAPTERS = (u'PCI\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\4&1c3f0a2b&0&00E0_0',
            u'PCI\\VEN_1F3A&DEV_0C21&SUBSYS_00021F3A&REV_02\\4&1c3f0a2b&0&00E1_1')
NO_LEAKS = 'leaks: com=0 bstr=0 safearray=0'
VALIDATE = '''
import json, sys, jsonschema
schema = json.load(open(sys.argv[1]))
validator = jsonschema.validators.validator_for(schema)
validator.check_schema(schema)
errors = [error.message for path in sys.argv[2:] for error in validator(schema).iter_errors(json.load(open(path)))]
print("\\n".join(errors))
sys.exit(1 if errors else 0)
'''


def module_form(document_section, key):
    """A JSON value back in the module's form: hex text to byte tuples, dotted text to numbers."""
    value = document_section[key]
    if key in ('GenerationalGuid', 'MacAddress'):
        return tuple(int(value[index:index + 2], 16) for index in range(0, len(value), 2))
    if key == 'IpV4Address':
        octets = [int(octet) for octet in value.split('.')]
        return (octets[0] << 24) | (octets[1] << 16) | (octets[2] << 8) | octets[3]
    if isinstance(value, dict):
        return dict((inner, module_form(value, inner)) for inner in value)
    return value


class InventoryJsonTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix='quillet-json-')
        self.documents = []

    def tearDown(self):
        shutil.rmtree(self.workdir, ignore_errors=True)

    def inventory(self, repository, names, faults=None, output=None):
        """Runs inventory.py --json; returns the document (schema-checked later) and stdout."""
        log = os.path.join(self.workdir, 'calls-%d.log' % len(self.documents))
        target = [] if output is None else [output]
        process = subprocess.Popen([sys.executable, SCRIPT] + list(names) + ['--json'] + target,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   env=stand_in_environment(repository, faults, log))
        out, err = process.communicate()
        self.assertEqual(0, process.returncode, err)
        with open(log) as f:
            self.assertEqual(NO_LEAKS, f.read().splitlines()[-1])
        text = out if output is None else open(output, 'rb').read()
        path = os.path.join(self.workdir, 'document-%d.json' % len(self.documents))
        with open(path, 'wb') as f:
            f.write(text)
        self.documents.append(path)
        return json.loads(text.decode('ascii')), out

    def assertValid(self):
        process = subprocess.Popen([DEBIAN_PYTHON3, '-c', VALIDATE, SCHEMA] + self.documents,
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                   env=tool_environment())
        output = process.communicate()[0].decode('utf-8', 'replace')
        self.assertEqual(0, process.returncode, output)

    def assertCarriesModuleResults(self, document, repository, faults=None):
        results = module_results(repository, [entry['instance_name'] for entry in document['adapters']],
                                 faults)
        by_call = dict(((method, name), result) for method, name, result in results)
        sections = {'hba': 'GetMSiSCSI_HBAInformation', 'tcpip': 'GetMSiSCSI_TCPIPConfig',
                    'nic': 'GetMSiSCSI_NICConfig'}
        for entry in document['adapters']:
            escaped = wql_escaped(entry['instance_name'])
            for section, method in sections.items():
                if entry[section]['available']:
                    self.assertEqual(by_call[(method, escaped)], module_form(entry[section], 'value'))
                elif entry[section]['reason'] == 'empty_dict':
                    self.assertEqual({}, by_call[(method, escaped)])
        sessions = by_call[('GetMSiSCSI_InitiatorSessionInfo', u'')]
        self.assertEqual(sessions, document['sessions'].get('value', []))
        period = by_call[('GetPDORemovePeriod', None)]
        self.assertEqual(period, document['mpio_timers'].get('value', {}).get('PDORemovePeriod'))

    def test_sample_repository(self):
        document, _ = self.inventory(SAMPLE_MOF, ADAPTERS + (u'PCI\\NO_SUCH_ADAPTER',))
        self.assertEqual((1, version(), socket.gethostname()),
                         (document['schema_version'], document['module_version'], document['host']))
        first = document['adapters'][0]
        self.assertEqual(u'0090fa3c518e', first['nic']['value']['MacAddress'])
        self.assertEqual(u'10.20.11.21', first['tcpip']['value']['IpAddress']['IpV4Address'])
        self.assertEqual({'available': False, 'reason': 'no_instance'}, document['adapters'][2]['hba'])
        self.assertEqual(4, sum(len(session['ConnectionsList']) for adapter in document['sessions']['value']
                                for session in adapter['SessionsList']))
        self.assertCarriesModuleResults(document, SAMPLE_MOF)
        self.assertValid()

    def test_capture_and_file_output(self):
        capture = os.path.join(self.workdir, 'host.mof')
        subprocess.check_call([CAPTURE_EXE, '/o', capture], env=stand_in_environment(SAMPLE_MOF))
        output = os.path.join(self.workdir, 'host.json')
        document, stdout = self.inventory(capture, ADAPTERS, output=output)
        self.assertIn(b' InstanceName : ', stdout)  # with a file, the traces stay on stdout
        self.assertTrue(all(entry[section]['available'] for entry in document['adapters']
                            for section in ('hba', 'tcpip', 'nic')))
        self.assertCarriesModuleResults(document, capture)
        self.assertValid()

    def test_each_section_unavailable_in_turn(self):
        cases = [('ExecQuery:MSiSCSI_HBAInformation=WBEM_E_FAILED', ('hba',), 'empty_dict'),
                 ('ExecQuery:MSiSCSI_TCPIPConfig=WBEM_E_FAILED', ('tcpip',), 'empty_dict'),
                 ('ExecQuery:MSiSCSI_NICConfig=WBEM_E_FAILED', ('nic',), 'empty_dict'),
                 ('ExecQuery:MSiSCSI_InitiatorSessionInfo=WBEM_E_FAILED', ('sessions',), 'empty_list'),
                 ('ExecQuery:MPIO_TIMERS_COUNTERS=WBEM_E_FAILED', ('mpio_timers',), 'none'),
                 ('ConnectServer=WBEM_E_FAILED', ('hba', 'tcpip', 'nic', 'sessions', 'mpio_timers'), None)]
        for faults, failing, reason in cases:
            document, _ = self.inventory(SAMPLE_MOF, ADAPTERS[:1], faults)
            sections = dict(document['adapters'][0], sessions=document['sessions'],
                            mpio_timers=document['mpio_timers'])
            for name in ('hba', 'tcpip', 'nic', 'sessions', 'mpio_timers'):
                self.assertEqual(name not in failing, sections[name]['available'], (faults, name))
                if reason and name in failing:
                    self.assertEqual(reason, sections[name]['reason'])
            self.assertCarriesModuleResults(document, SAMPLE_MOF, faults)
        self.assertValid()

    def test_schema_refuses_what_it_must(self):
        # The validation is real: a lost key and a byte array left as numbers are refused.
        document, _ = self.inventory(SAMPLE_MOF, ADAPTERS[:1])
        del document['adapters'][0]['hba']['value']['SerialNumber']
        document['adapters'][0]['nic']['value']['MacAddress'] = [0, 144, 250, 60, 81, 143]
        with open(self.documents[0], 'w') as f:
            json.dump(document, f)
        process = subprocess.Popen([DEBIAN_PYTHON3, '-c', VALIDATE, SCHEMA, self.documents[0]],
                                   stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                   env=tool_environment())
        output = process.communicate()[0].decode('utf-8')
        self.assertEqual(1, process.returncode, output)
        self.assertIn("'SerialNumber' is a required property", output)
        self.assertIn('is not of type', output)


if __name__ == '__main__':
    unittest.main()
