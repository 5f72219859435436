"""The result shapes the module promises, checked from the outside, and one guarded call.

Imported by the scenario processes of the system tests; a call's outcome is a small dict
that survives repr/eval across the process boundary.
"""
import sys

from pycompat import PY3, long_type, string_types, text_type

INT32 = (-2 ** 31, 2 ** 31 - 1)

HBA_TEXT = ('AsicVersion', 'DriverName', 'FirmwareVersion', 'InstanceName', 'OptionRomVersion',
            'SerialNumber', 'VendorID', 'VendorModel', 'VendorVersion')
HBA_FLAGS = ('Active', 'BiDiScsiCommands', 'CacheValid', 'IntegratedTCPIP', 'MultifunctionDevice',
             'RequiresBinaryIpAddresses')
HBA_INTS = ('FunctionalitySupported', 'MaxCDBLength', 'NumberOfPorts', 'Status')
HBA_BYTES = ('VersionMax', 'VersionMin')
TCPIP_FLAGS = ('Active', 'EnableDHCP', 'UseDHCPForDNS', 'UseLinkLocalAddress')
TCPIP_ADDRESSES = ('AlternateDNSServer', 'DefaultGateway', 'IpAddress', 'PreferredDNSServer',
                   'SubnetMask')
NIC_INTS = ('LinkSpeed', 'LinkState', 'MaxFrameSize', 'MaxLinkSpeed')

# Text buffers hold 255 characters and identifiers 23: anything longer was read past the end.
TEXT_LIMIT = 255
IDENTIFIER_LIMIT = 23

# What a caller may see raised for bad arguments or exhausted memory; anything else is a fault.
ALLOWED_ERRORS = ('TypeError', 'ValueError', 'OverflowError', 'MemoryError')


class ShapeError(Exception):
    pass


def _expect(condition, what):
    if not condition:
        raise ShapeError(what)


def _int(value, low, high, what):
    _expect(type(value) is int and low <= value <= high, '%s: %r' % (what, value))


def _text(value, limit, what):
    _expect(type(value) is text_type and len(value) <= limit and u'\0' not in value,
            '%s: %r' % (what, value[:40] if isinstance(value, string_types) else value))


def _byte_tuple(value, length, what):
    _expect(type(value) is tuple and len(value) == length, '%s: %r' % (what, value))
    for item in value:
        _int(item, 0, 255, what)


def _keys(value, keys, what):
    _expect(type(value) is dict, '%s is %s' % (what, type(value).__name__))
    _expect(sorted(value) == sorted(keys), '%s keys %r' % (what, sorted(value)))


def check_hba(value):
    _keys(value, HBA_TEXT + HBA_FLAGS + HBA_INTS + HBA_BYTES + ('GenerationalGuid', 'UniqueAdapterId'),
          'HBA')
    for key in HBA_TEXT:
        _text(value[key], TEXT_LIMIT, key)
    for key in HBA_FLAGS:
        _int(value[key], 0, 1, key)
    for key in HBA_INTS:
        _int(value[key], INT32[0], INT32[1], key)
    for key in HBA_BYTES:
        _int(value[key], 0, 255, key)
    _byte_tuple(value['GenerationalGuid'], 16, 'GenerationalGuid')
    _text(value['UniqueAdapterId'], IDENTIFIER_LIMIT, 'UniqueAdapterId')


def check_address(value, what):
    _keys(value, ('IpV4Address', 'Type'), what)
    ip = value['IpV4Address']
    _expect(type(ip) is long_type and 0 <= ip <= 2 ** 32 - 1, '%s.IpV4Address: %r' % (what, ip))
    _int(value['Type'], INT32[0], INT32[1], what + '.Type')


def check_tcpip(value):
    _keys(value, TCPIP_FLAGS + TCPIP_ADDRESSES + ('IPVersions',), 'TCPIP')
    for key in TCPIP_FLAGS:
        _int(value[key], 0, 1, key)
    _int(value['IPVersions'], INT32[0], INT32[1], 'IPVersions')
    for key in TCPIP_ADDRESSES:
        check_address(value[key], key)


def check_nic(value):
    _keys(value, NIC_INTS + ('MacAddress',), 'NIC')
    for key in NIC_INTS:
        _int(value[key], INT32[0], INT32[1], key)
    _byte_tuple(value['MacAddress'], 6, 'MacAddress')


def check_sessions(value):
    _expect(type(value) is list, 'sessions result is %s' % type(value).__name__)
    for adapter in value:
        _keys(adapter, ('SessionsList', 'UniqueAdapterId'), 'adapter')
        _text(adapter['UniqueAdapterId'], IDENTIFIER_LIMIT, 'UniqueAdapterId')
        _expect(type(adapter['SessionsList']) is list, 'SessionsList')
        for session in adapter['SessionsList']:
            _keys(session, ('ConnectionsList', 'TargetiSCSIName', 'UniqueSessionId'), 'session')
            _text(session['UniqueSessionId'], IDENTIFIER_LIMIT, 'UniqueSessionId')
            _text(session['TargetiSCSIName'], TEXT_LIMIT, 'TargetiSCSIName')
            _expect(type(session['ConnectionsList']) is list, 'ConnectionsList')
            for connection in session['ConnectionsList']:
                _keys(connection, ('AuthType', 'CID', 'UniqueConnectionId'), 'connection')
                _text(connection['UniqueConnectionId'], IDENTIFIER_LIMIT, 'UniqueConnectionId')
                _int(connection['AuthType'], INT32[0], INT32[1], 'AuthType')
                _int(connection['CID'], 0, 65535, 'CID')


_OWNED = (dict, list, tuple, long_type)


def _counted(value):
    # Python 3 shares its small ints: their count tells nothing about the module.
    return type(value) in _OWNED and not (PY3 and type(value) is int and -5 <= value <= 256)


def _held_once(container, what):
    """Every dict, list, tuple and long (int on Python 3) in an answer is held by its parent alone: a reference
    too many is a leak, one too few a crash waiting to happen."""
    keys = list(container) if type(container) is dict else range(len(container))
    for key in keys:
        child = container[key]
        if _counted(child):
            # The parent, `child` and getrefcount's argument.
            _expect(sys.getrefcount(child) == 3, '%s[%r] has %d references, not 1' % (
                what, key, sys.getrefcount(child) - 2))
            if type(child) is not long_type:
                _held_once(child, '%s[%r]' % (what, key))


def _record(check):
    def checked(value):
        # The empty dictionary is the documented answer of a failed engine call.
        if value != {}:
            check(value)
    return checked


def _zero(value):
    _expect(type(value) is int and value == 0, 'expected 0, got %r' % (value,))


def _period(value):
    _expect(value is None or type(value) is int, 'period %r' % (value,))
    if value is not None:
        _int(value, INT32[0], INT32[1], 'period')


def _stored(value):
    _expect(value is None or (type(value) is int and value == 1), 'set result %r' % (value,))


CHECKS = {
    'printSomething': _zero,
    'printSomethingGlobal': _zero,
    'GetMSiSCSI_HBAInformation': _record(check_hba),
    'GetMSiSCSI_TCPIPConfig': _record(check_tcpip),
    'GetMSiSCSI_NICConfig': _record(check_nic),
    'GetMSiSCSI_InitiatorSessionInfo': check_sessions,
    'GetPDORemovePeriod': _period,
    'SetPDORemovePeriod': _stored,
}

# The Python type of each method's answer when the engine reports failure.
FAILURE_RESULT = {
    'GetMSiSCSI_HBAInformation': {},
    'GetMSiSCSI_TCPIPConfig': {},
    'GetMSiSCSI_NICConfig': {},
    'GetMSiSCSI_InitiatorSessionInfo': [],
    'GetPDORemovePeriod': None,
    'SetPDORemovePeriod': None,
}


def call(function, method, args=(), kwargs=None, keep_value=False):
    """Calls function(*args, **kwargs); returns {'error': name or None, 'problem': text or None,
    'empty': whether the answer was the failure answer}, and the answer itself under 'value'
    when keep_value is set. Never raises."""
    outcome = {'error': None, 'problem': None, 'empty': False}
    try:
        value = function(*args, **(kwargs or {}))
    except Exception:
        error = sys.exc_info()[0].__name__
        outcome['error'] = error
        if error not in ALLOWED_ERRORS:
            outcome['problem'] = 'raised %s: %s' % (error, sys.exc_info()[1])
        return outcome
    try:
        CHECKS[method](value)
        if type(value) in (dict, list):
            # `value` and getrefcount's argument: the caller gets the only reference.
            _expect(sys.getrefcount(value) == 2, 'answer has %d references' % (
                sys.getrefcount(value) - 1))
            _held_once(value, 'answer')
    except ShapeError as problem:
        outcome['problem'] = str(problem)
    outcome['empty'] = method in FAILURE_RESULT and value == FAILURE_RESULT[method]
    if keep_value:
        outcome['value'] = value
    return outcome
