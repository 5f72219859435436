"""The inventory of an initiator host as one JSON document (described by
docs/inventory.schema.json), for programs that collect many hosts.

Values keep the module's keys (the WMI property names) and lose nothing in any language: the
64-bit identifiers stay decimal text, byte arrays become hex text, IPv4 addresses dotted text.
A section the module could not read says so, with the failure result that told.
"""
import json
import socket

SCHEMA_VERSION = 1

# What the module answers when a read failed (no connection, a failed query), by result type.
FAILURE_REASONS = {dict: 'empty_dict', list: 'empty_list', type(None): 'none'}


def hex_text(octets):
    return u''.join(u'%02x' % octet for octet in octets)


def dotted_quad(value):
    return u'.'.join(u'%d' % ((value >> shift) & 0xFF) for shift in (24, 16, 8, 0))


def available(value):
    return {'available': True, 'value': value}


def unavailable(reason):
    return {'available': False, 'reason': reason}


def section(result, convert):
    """The section for one method's result: its converted value, or why it is missing."""
    if result is None or (isinstance(result, (dict, list)) and not result):
        return unavailable(FAILURE_REASONS[type(result)])
    return available(convert(result))


def hba_value(info):
    return dict(info, GenerationalGuid=hex_text(info['GenerationalGuid']))


def address_value(address):
    return {'Type': address['Type'], 'IpV4Address': dotted_quad(address['IpV4Address'])}


def tcpip_value(config):
    return dict((key, address_value(value) if isinstance(value, dict) else value)
                for key, value in config.items())


def nic_value(config):
    return dict(config, MacAddress=hex_text(config['MacAddress']))


def adapter(facade, name, wql_literal_text):
    """One adapter named on the command line: its HBA, TCP/IP and NIC sections."""
    escaped = wql_literal_text(name)
    info = facade.GetMSiSCSI_HBAInformation(escaped)
    if info and not info['InstanceName']:
        # The query ran and found no adapter of that name: the TCP/IP and NIC reads would answer
        # all-zero settings, which must not pass for data.
        missing = unavailable('no_instance')
        return {'instance_name': name, 'hba': missing, 'tcpip': missing, 'nic': missing}
    return {'instance_name': name,
            'hba': section(info, hba_value),
            'tcpip': section(facade.GetMSiSCSI_TCPIPConfig(escaped), tcpip_value),
            'nic': section(facade.GetMSiSCSI_NICConfig(escaped), nic_value)}


def inventory(quillet, names, wql_literal_text):
    facade = quillet.WMIFacade()
    return {
        'schema_version': SCHEMA_VERSION,
        'module_version': quillet.__version__,
        'host': socket.gethostname(),
        'adapters': [adapter(facade, name, wql_literal_text) for name in names],
        # Sessions as the module groups them: by adapter (UniqueAdapterId, as in 'hba').
        'sessions': section(facade.GetMSiSCSI_InitiatorSessionInfo(u''), list),
        'mpio_timers': section(facade.GetPDORemovePeriod(), lambda value: {'PDORemovePeriod': value}),
    }


def write(document, stream):
    """The document as UTF-8 (in fact ASCII: other characters are escaped) with a final newline."""
    text = json.dumps(document, indent=2, sort_keys=True, separators=(',', ': '))
    stream.write((text + u'\n').encode('utf-8'))
    stream.flush()
