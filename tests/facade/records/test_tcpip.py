"""GetMSiSCSI_TCPIPConfig: the configuration dictionary with its five address dictionaries, and
the trace of one call."""
import unittest

from pycompat import long_type
from recordcase import CLASSES, INSTANCE, NAME, RecordTestCase, call
from traces import COM_INITIALISED, CONNECT, CONNECT_FAILED

METHOD = 'GetMSiSCSI_TCPIPConfig'

ADAPTER_VALUE = {
    'Active': 1,
    'EnableDHCP': 0,
    'IPVersions': 1,
    'UseDHCPForDNS': 1,
    'UseLinkLocalAddress': 0,
    'IpAddress': {'IpV4Address': long_type(3232238100), 'Type': 1},
    'SubnetMask': {'IpV4Address': long_type(4294967295), 'Type': 1},
    'DefaultGateway': {'IpV4Address': long_type(3232238081), 'Type': -1},
    'PreferredDNSServer': {'IpV4Address': long_type(3232238082), 'Type': 1},
    'AlternateDNSServer': {'IpV4Address': long_type(0), 'Type': 1},
}

ZERO_ADDRESS = {'IpV4Address': long_type(0), 'Type': 0}
ADDRESSES = ('IpAddress', 'SubnetMask', 'DefaultGateway', 'PreferredDNSServer',
             'AlternateDNSServer')
UNMATCHED_VALUE = dict([(key, 0) for key in ('Active', 'EnableDHCP', 'IPVersions',
                                             'UseDHCPForDNS', 'UseLinkLocalAddress')] +
                       [(key, ZERO_ADDRESS) for key in ADDRESSES])


def get_object(outcome):
    """GetObject's lines for an embedded object ('object') or a NULL property ('null')."""
    type_code, verdict = {'object': ('d', ['*** GetObject is non-NULL', '*** GetObject ok']),
                          'null': ('1', ['*** GetObject VT_NULL'])}[outcome]
    return (['--- GetObject -----------------------------',
             ' _type = ' + type_code, ' type = ' + type_code, ' V_ISARRAY = 0',
             ' V_ISBYREF = 0'] + verdict +
            ['--- GetObject COMPLETED ret = -----------------------------1'])


def convert_address(address, kind):
    return (['ISCSI_IP_Address PyGetObject()',
             'IpV4Address = %d type = 3' % address, 'Type = %d type = 3' % kind,
             'ISCSI_IP_Address PyGetObject() OK'])


class AdapterTest(RecordTestCase):
    def test_realistic_adapter_gives_nested_dictionaries_and_the_whole_trace(self):
        result = call(METHOD)
        self.assertClean(result)
        self.assertExactly(ADAPTER_VALUE, result.value)
        self.assertTrace([
            'MSiSCSI_TCPIPConfig',
            'hbaInstName = ' + NAME,
        ] + CONNECT + [
            ' InstanceName : ' + INSTANCE,
        ] + (['ISCSI_IP_Address'] + get_object('object')) * 5
          + convert_address(4294967295, 1)   # SubnetMask
          + convert_address(3232238081, 4294967295)   # DefaultGateway
          + convert_address(3232238082, 1)   # PreferredDNSServer
          + convert_address(0, 1)   # AlternateDNSServer
          + convert_address(3232238100, 1)   # IpAddress
          + [
            'UseLinkLocalAddress = 0 type = b',
            'UseDHCPForDNS = -1 type = b',
            'IPVersions = 1 type = 3',
            'EnableDHCP = 0 type = b',
            'Active = -1 type = b',
        ] + ['~ISCSI_IP_Address', '~WMIObject - releasing'] * 5 + [
            '~MSiSCSI_TCPIPConfig',
            '~WMIObject - releasing',
        ], result.trace)

    def test_address_dictionaries_are_owned_only_by_the_configuration(self):
        counts = ', '.join('sys.getrefcount(result[%r])' % key for key in ADDRESSES)
        result = call(METHOD, after='print(sys.getrefcount(result), %s)\n'
                                    'print(sys.getrefcount(result["IpAddress"]["IpV4Address"]))'
                                    % counts)
        self.assertClean(result)
        self.assertEqual(['2 2 2 2 2 2', '2'], result.after[:2])

    def test_unmatched_name_gives_zero_flags_and_zero_addresses(self):
        result = call(METHOD, name=u'no such adapter')
        self.assertClean(result)
        self.assertExactly(UNMATCHED_VALUE, result.value)
        empty = ['ISCSI_IP_Address', '--- GetObject -----------------------------',
                 '*** No m_pclsObject!',
                 '--- GetObject COMPLETED ret = -----------------------------0']
        self.assertTrace([
            'MSiSCSI_TCPIPConfig',
            'hbaInstName = no such adapter',
        ] + CONNECT + empty * 5 + [
            'ISCSI_IP_Address PyGetObject()', 'ISCSI_IP_Address PyGetObject() OK'] * 5 +
            ['~ISCSI_IP_Address', '~WMIObject'] * 5 + ['~MSiSCSI_TCPIPConfig', '~WMIObject'],
            result.trace)

    def test_connect_failure_gives_the_empty_dictionary(self):
        result = call(METHOD, faults='ConnectServer=WBEM_E_FAILED')
        self.assertClean(result)
        self.assertEqual({}, result.value)
        self.assertTrace([
            'MSiSCSI_TCPIPConfig',
            'hbaInstName = ' + NAME,
            COM_INITIALISED,
            CONNECT_FAILED + '80041001',
            '~MSiSCSI_TCPIPConfig',
            '~WMIObject',
        ], result.trace)


class AddressTest(RecordTestCase):
    def test_null_and_missing_addresses_give_zeros(self):
        mof = CLASSES + u'''instance of MSiSCSI_TCPIPConfig {
            InstanceName = "A";
            IpAddress = instance of ISCSI_IP_Address { Type = 4294967295; IpV4Address = 4294967295; };
            SubnetMask = NULL;
            DefaultGateway = instance of ISCSI_IP_Address { Type = 1; };
        };'''
        result = call(METHOD, name=u'A', mof=mof,
                      faults='Get:PreferredDNSServer=WBEM_E_NOT_FOUND')
        self.assertClean(result)
        value = result.value
        self.assertExactly({'IpV4Address': long_type(4294967295), 'Type': -1}, value['IpAddress'])
        for key in ('SubnetMask', 'PreferredDNSServer', 'AlternateDNSServer'):
            self.assertExactly(ZERO_ADDRESS, value[key])
        # A NULL IpV4Address inside an object reads as 0; a long all the same.
        self.assertExactly({'IpV4Address': long_type(0), 'Type': 1}, value['DefaultGateway'])
        # Destruction runs SubnetMask, DefaultGateway, AlternateDNSServer, PreferredDNSServer,
        # IpAddress: only the records that received an object release one.
        destruction = result.trace[-12:-2]
        self.assertEqual(['~WMIObject', '~WMIObject - releasing',
                                             '~WMIObject', '~WMIObject',
                                             '~WMIObject - releasing'], destruction[1::2])


if __name__ == '__main__':
    unittest.main()
