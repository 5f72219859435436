"""GetMSiSCSI_HBAInformation: the 23-key dictionary and the trace of one call."""
import unittest

from pycompat import text_type
from recordcase import CLASSES, INSTANCE, NAME, RecordTestCase, byte_array_lines, call
from traces import COM_INITIALISED, CONNECT, CONNECT_FAILED

METHOD = 'GetMSiSCSI_HBAInformation'

ADAPTER_VALUE = {
    'Active': 1,
    'AsicVersion': u'A2',
    'BiDiScsiCommands': 0,
    'CacheValid': 1,
    'DriverName': u'ql40xx.sys',
    'FirmwareVersion': u'3.0.1.53',
    'FunctionalitySupported': -2147483648,
    'GenerationalGuid': (0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 255),
    'InstanceName': INSTANCE,
    'IntegratedTCPIP': 1,
    'MaxCDBLength': 16,
    'MultifunctionDevice': 0,
    'NumberOfPorts': 2,
    'OptionRomVersion': u'1.15',
    'RequiresBinaryIpAddresses': 0,
    'SerialNumber': u'FS20612B13174',
    'Status': -1,
    'UniqueAdapterId': u'18446744073709551615',
    'VendorID': u'Example Storage',
    'VendorModel': u'iSCSI HBA 4022',
    'VendorVersion': u'2.1',
    'VersionMax': 255,
    'VersionMin': 0,
}

UNMATCHED_VALUE = dict(
    (key, (0,) * 16 if key == 'GenerationalGuid' else
     u'' if isinstance(value, text_type) else 0)
    for key, value in ADAPTER_VALUE.items())

DESTRUCTOR = ['~MSiSCSI_HBAInformation', '~WMIObject']


def instance(body):
    return CLASSES + u'instance of MSiSCSI_HBAInformation { InstanceName = "A"; %s };' % body


class AdapterTest(RecordTestCase):
    def test_realistic_adapter_gives_every_key_and_the_whole_trace(self):
        result = call(METHOD)
        self.assertClean(result)
        self.assertExactly(ADAPTER_VALUE, result.value)
        self.assertTrace([
            'hbsInstName = ' + NAME,
        ] + CONNECT + [
            ' InstanceName : ' + INSTANCE,
            'IntegratedTCPIP = -1 type = b',
            ' tcpip = 1',
            'AsicVersion = A2 type = 8',
            'DriverName = ql40xx.sys type = 8',
            'FirmwareVersion = 3.0.1.53 type = 8',
        ] + byte_array_lines() + [
            'InstanceName = %s type = 8' % INSTANCE,
            'OptionRomVersion = 1.15 type = 8',
            'SerialNumber = FS20612B13174 type = 8',
            'UniqueAdapterId = 18446744073709551615 type = 8',
            'UINT64 ----- UniqueAdapterId = 18446744073709551615',
            'VendorID = Example Storage type = 8',
            'VendorModel = iSCSI HBA 4022 type = 8',
            'VendorVersion = 2.1 type = 8',
            'VersionMin = 0 type = 11',
            'VersionMax = 255 type = 11',
            'Status = 4294967295 type = 3',
            'RequiresBinaryIpAddresses = 0 type = b',
            'NumberOfPorts = 2 type = 3',
            'MultifunctionDevice = 0 type = b',
            'MaxCDBLength = 16 type = 3',
            'FunctionalitySupported = 2147483648 type = 3',
            'CacheValid = -1 type = b',
            'BiDiScsiCommands = 0 type = b',
            'Active = -1 type = b',
        ] + DESTRUCTOR, result.trace)

    def test_result_and_guid_are_owned_once(self):
        self.assertOwnedOnce(METHOD, 'GenerationalGuid')

    def test_unmatched_name_gives_every_key_as_zero_or_empty_text(self):
        result = call(METHOD, name=u'no such adapter')
        self.assertClean(result)
        self.assertExactly(UNMATCHED_VALUE, result.value)
        self.assertTrace([
            'hbsInstName = no such adapter',
        ] + CONNECT + [
            ' tcpip = 0',
            'UINT64 ----- UniqueAdapterId = ',
        ] + DESTRUCTOR, result.trace)

    def test_connect_failure_gives_the_empty_dictionary(self):
        result = call(METHOD, faults='ConnectServer=WBEM_E_FAILED')
        self.assertClean(result)
        self.assertEqual({}, result.value)
        self.assertTrace([
            'hbsInstName = ' + NAME,
            COM_INITIALISED,
            CONNECT_FAILED + '80041001',
        ] + DESTRUCTOR, result.trace)


class ValueTest(RecordTestCase):
    def test_null_strings_and_identifier_take_their_fallback_texts(self):
        result = call(METHOD, name=u'A', mof=instance('VendorID = NULL;'))
        self.assertClean(result)
        value = result.value
        for key in ('AsicVersion', 'DriverName', 'FirmwareVersion', 'OptionRomVersion',
                    'SerialNumber', 'VendorID', 'VendorModel', 'VendorVersion'):
            self.assertEqual(u'<null>', value[key], key)
        self.assertEqual(u'0', value['UniqueAdapterId'])
        self.assertEqual(u'A', value['InstanceName'])
        self.assertIn('UINT64 ----- UniqueAdapterId = 0', result.trace)

    def test_integers_keep_their_bits(self):
        result = call(METHOD, name=u'A', mof=instance(
            'Status = 2147483648; NumberOfPorts = 4294967295; VersionMin = 255; '
            'VersionMax = 128; IntegratedTCPIP = 1; Active = TRUE;'))
        self.assertClean(result)
        value = result.value
        self.assertEqual((-2147483648, -1), (value['Status'], value['NumberOfPorts']))
        self.assertEqual((255, 128), (value['VersionMin'], value['VersionMax']))
        # Only VARIANT_TRUE is true; a stored 1 reads as false.
        self.assertEqual((0, 1), (value['IntegratedTCPIP'], value['Active']))
        self.assertIn(' tcpip = 0', result.trace)

    def test_guid_bytes_not_delivered_stay_zero(self):
        short = call(METHOD, name=u'A', mof=instance('GenerationalGuid = { 255, 1, 128 };'))
        self.assertClean(short)
        self.assertEqual((255, 1, 128) + (0,) * 13, short.value['GenerationalGuid'])
        null = call(METHOD, name=u'A', mof=instance('GenerationalGuid = NULL;'))
        self.assertClean(null)
        self.assertEqual((0,) * 16, null.value['GenerationalGuid'])
        missing = call(METHOD, name=u'A', mof=instance('GenerationalGuid = { 1, 2 };'),
                       faults='Get:GenerationalGuid=WBEM_E_NOT_FOUND')
        self.assertClean(missing)
        self.assertEqual((0,) * 16, missing.value['GenerationalGuid'])

    def test_long_guid_is_cut_to_sixteen_bytes(self):
        result = call(METHOD, name=u'A', mof=instance(
            'GenerationalGuid = { %s };' % ', '.join(str(200 + i) for i in range(20))))
        self.assertClean(result)
        self.assertEqual(tuple(range(200, 216)), result.value['GenerationalGuid'])

    def test_non_ascii_text_survives_both_ways(self):
        vendor = u'Stor\u00e9 \u65e5\u672c \U0001f4be'
        result = call(METHOD, name=u'A', mof=instance(u'VendorID = "%s";' % vendor))
        self.assertClean(result)
        self.assertEqual(vendor, result.value['VendorID'])
        self.assertIn(u'VendorID = %s type = 8' % vendor, result.trace)


if __name__ == '__main__':
    unittest.main()
