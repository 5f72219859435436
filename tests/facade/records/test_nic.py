"""GetMSiSCSI_NICConfig: the five-key dictionary and the trace of one call."""
import unittest

from recordcase import CLASSES, INSTANCE, NAME, RecordTestCase, byte_array_lines, call
from traces import CONNECT

METHOD = 'GetMSiSCSI_NICConfig'

DESTRUCTOR = ['~MSiSCSI_NICConfig', '~WMIObject - releasing']
ZEROS = {'LinkSpeed': 0, 'MaxLinkSpeed': 0, 'LinkState': 0, 'MaxFrameSize': 0,
         'MacAddress': (0, 0, 0, 0, 0, 0)}


def instance(body):
    return CLASSES + u'instance of MSiSCSI_NICConfig { InstanceName = "A"; %s };' % body


class AdapterTest(RecordTestCase):
    def test_realistic_adapter_gives_the_dictionary_and_the_whole_trace(self):
        result = call(METHOD)
        self.assertClean(result)
        self.assertExactly({'LinkSpeed': -1, 'MaxLinkSpeed': 1000, 'LinkState': 1,
                            'MaxFrameSize': 9000, 'MacAddress': (0, 17, 34, 51, 68, 255)},
                           result.value)
        self.assertTrace([
            'MSiSCSI_NICConfig',
            'hbaInstName = ' + NAME,
        ] + CONNECT + [
            ' InstanceName : ' + INSTANCE,
            'MSiSCSI_NICConfig PyGetObject()',
        ] + byte_array_lines() + [
            'MaxFrameSize = 9000 type = 3',
            'LinkState = 1 type = 3',
            'MaxLinkSpeed = 1000 type = 3',
            'LinkSpeed = 4294967295 type = 3',
            'MSiSCSI_NICConfig PyGetObject() OK',
        ] + DESTRUCTOR, result.trace)

    def test_result_and_mac_tuple_are_owned_once(self):
        self.assertOwnedOnce(METHOD, 'MacAddress')

    def test_unmatched_name_gives_zeros_framed_by_the_conversion_lines(self):
        result = call(METHOD, name=u'no such adapter')
        self.assertClean(result)
        self.assertExactly(ZEROS, result.value)
        self.assertTrace([
            'MSiSCSI_NICConfig',
            'hbaInstName = no such adapter',
        ] + CONNECT + [
            'MSiSCSI_NICConfig PyGetObject()',
            'MSiSCSI_NICConfig PyGetObject() OK',
            '~MSiSCSI_NICConfig',
            '~WMIObject',
        ], result.trace)


class MacAddressTest(RecordTestCase):
    def test_bytes_not_delivered_stay_zero(self):
        short = call(METHOD, name=u'A', mof=instance('MacAddress = { 255, 254 };'))
        self.assertClean(short)
        self.assertEqual((255, 254, 0, 0, 0, 0), short.value['MacAddress'])
        null = call(METHOD, name=u'A', mof=instance('MacAddress = NULL; LinkSpeed = 10;'))
        self.assertClean(null)
        self.assertExactly(dict(ZEROS, LinkSpeed=10), null.value)
        missing = call(METHOD, name=u'A', mof=instance('MacAddress = { 1, 2, 3, 4, 5, 6 };'),
                       faults='Get:MacAddress=WBEM_E_NOT_FOUND')
        self.assertClean(missing)
        self.assertEqual((0,) * 6, missing.value['MacAddress'])
        # A failed read writes none of the byte-array lines.
        self.assertNotIn(' V_ISARRAY = 2000', missing.trace)

    def test_long_array_is_cut_to_six_bytes(self):
        result = call(METHOD, name=u'A', mof=instance('MacAddress = { 1, 2, 3, 4, 5, 6, 7, 8 };'))
        self.assertClean(result)
        self.assertEqual((1, 2, 3, 4, 5, 6), result.value['MacAddress'])


if __name__ == '__main__':
    unittest.main()
